// Test and scripting hooks of the headless backend: a virtual screen, input
// fed from code or from a script, and the frame's pixels as they were last
// presented. Only tests and tools use these; the program does not.
#pragma once

#include <cstdint>

#include "framework/platform/draw/backend.h"

struct JHeadlessScreen {
    int width = 1024;
    int height = 768;
    int depth = 32;              // 8 shows a palette-era display to the start-up depth check
    int widthMillimetres = 271;  // 96 pixels an inch
    int heightMillimetres = 203;
    int bottomPanel = 0;  // rows at the bottom kept free as a task bar would
};

// Takes effect at the next start of the headless backend.
void JHeadlessConfigure(const JHeadlessScreen& screen);

// The frame's content as last presented.
const JSurface& JHeadlessFramePixels();
bool JHeadlessWriteFramePng(const char* path);
bool JHeadlessFrameVisible();
const char* JHeadlessFrameTitle();
JCursorShape JHeadlessCursor();
int JHeadlessBeepCount();

// Input, delivered by poll in the order given.
void JHeadlessMovePointer(int x, int y);
void JHeadlessClick(int x, int y, std::uint8_t button = kButtonLeft, std::uint16_t modifiers = 0);
void JHeadlessDrag(int fromX, int fromY, int toX, int toY, std::uint16_t modifiers = 0);
// A button held down, and let go: for what happens while it is held.
void JHeadlessPress(int x, int y, std::uint8_t button = kButtonLeft);
void JHeadlessRelease(int x, int y, std::uint8_t button = kButtonLeft);
void JHeadlessTypeText(const char* text);
// The press, the character it types as text (see the script's "key"), the
// release.
void JHeadlessPressKey(std::uint16_t key, std::uint16_t modifiers = 0);
void JHeadlessWheel(int x, int y, int notches);
void JHeadlessResizeFrame(int width, int height);
void JHeadlessRequestClose();
// A file dropped on the frame from a file manager.
void JHeadlessDropFile(const char* path);
// Events queued after this wait until the clock has run `milliseconds` more.
void JHeadlessWait(std::uint32_t milliseconds);
int JHeadlessPendingEvents();

// Runs a script of input lines: "move X Y", "click X Y [right]",
// "drag X0 Y0 X1 Y1", "type TEXT", "key [Ctrl+][Shift+][Alt+]NAME" (a letter,
// digit, punctuation character of the main block, F1-F12, Num0-Num9 or
// Return, Tab, Escape, Backspace, Delete, Insert, Space, Left, Right, Up,
// Down, Home, End, PageUp, PageDown, Clear, Alt, Minus, Equals, Comma,
// Period, Slash, Semicolon, Quote, Grave, LeftBracket, RightBracket,
// Backslash, Multiply, Add, Subtract, Decimal, Divide), "wheel X Y N",
// "resize W H", "wait MS", "close"; "#" starts a comment. A key that types
// a character (on a US keyboard, without Ctrl or Alt) sends the press, then
// the character as text, then the release. False at the first bad line,
// whose number goes to *badLine.
bool JHeadlessRunScript(const char* script, int* badLine);
