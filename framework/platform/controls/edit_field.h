// The edit field: a sunken white box of editable text, one line or many
// (kEsMultiLine, lines joined by line feeds). It takes the focus when
// clicked and then shows a caret. Typed characters replace the selection;
// Backspace, Delete, Home, End and the arrows edit and move as usual, Shift
// with a move extends the selection, and dragging the mouse selects. Ctrl+A
// selects all; Ctrl+X, Ctrl+C and Ctrl+V cut, copy and paste through the
// clipboard. The text scrolls to keep the caret in view. Every change by the
// user sends Command (the field's id, kNotifyChange) to the parent.
#pragma once

#include <string>

#include "framework/platform/controls/control_window.h"

constexpr const char* kEditFieldClass = "edit";
constexpr std::uint32_t kEsMultiLine = kWsControlBit0;

// The spec's text is the initial text; kWsTabStop is added.
JWnd JCreateEditField(const JControlSpec& spec);

// Setting the text puts the caret at its end and sends no notification.
void JEditSetText(JWnd edit, const char* text);
std::string JEditText(JWnd edit);
// The selection runs from the anchor to the caret (byte offsets, either
// order); equal values give a caret and no selection.
void JEditSetSelection(JWnd edit, int anchor, int caret);
void JEditSelection(JWnd edit, int* start, int* end);  // start <= end
int JEditCaret(JWnd edit);
// The caret's blink: hidden for its off half. Moving the caret or typing
// shows it again at once.
void JEditSetCaretShown(JWnd edit, bool shown);
bool JEditCaretShown(JWnd edit);
void JEditSelectAll(JWnd edit);
// The text longer than this is refused as it is typed or pasted; 0: no limit.
void JEditSetLimit(JWnd edit, int maxLength);
// The edit commands, as the Edit menu asks for them; each notifies a change.
void JEditCut(JWnd edit);
void JEditCopy(JWnd edit);
void JEditPaste(JWnd edit);
void JEditReplaceSelection(JWnd edit, const char* text);
// The first pixel column and line shown (for tests and the framework's scroll).
int JEditScrollX(JWnd edit);
int JEditTopLine(JWnd edit);
