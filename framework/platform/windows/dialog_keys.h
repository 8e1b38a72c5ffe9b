// Dialog-style keyboard handling for windows with kWsDialog: Tab and
// Shift+Tab move the focus between child windows with kWsTabStop, Return
// presses the default button, Escape cancels. Controls take part by answering
// GetDialogCode with the bits below.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/platform/windows/messages.h"

constexpr std::uint32_t kDlgWantsTab = 0x01;  // Tab goes to the control
constexpr std::uint32_t kDlgWantsArrows = 0x02;
constexpr std::uint32_t kDlgWantsReturn = 0x04;  // a multi-line edit field
constexpr std::uint32_t kDlgWantsChars = 0x08;
constexpr std::uint32_t kDlgWantsAll = 0x10;       // every key, Escape included
constexpr std::uint32_t kDlgDefaultButton = 0x20;  // the button that Return presses
constexpr std::uint32_t kDlgButton = 0x40;         // a push button: Return presses it when focused
constexpr std::uint32_t kDlgSelectsAllOnTab = 0x80;  // text: Tab into it sends SelectAll
// A label whose title marks a mnemonic: Alt with its letter focuses the next
// tab stop after it.
constexpr std::uint32_t kDlgMnemonicLabel = 0x100;

// Handles `message` when it is a dialog key for a window inside `dialog`:
// Tab moves the focus (and a text control it lands on selects all its text); Return sends Command
// to the dialog with the id of the focused button, else of the default button, else kIdOk; Escape
// sends Command kIdCancel. The source is the button that was pressed, if any. True when the message
// was used up; otherwise translate and dispatch it.
bool JIsDialogMessage(JWnd dialog, const JMessage& message);

// The next (or previous) tab stop after `from` among the dialog's
// descendants, wrapping around; none when there is no tab stop.
JWnd JNextTabStop(JWnd dialog, JWnd from, bool backwards);
// The child that answers kDlgDefaultButton, or none.
JWnd JDefaultButton(JWnd dialog);

// A label's text with its mnemonic marked by "&" ("File&name:"); "&&" stands
// for one ampersand.
struct JMnemonicText {
    std::string shown;    // without the marks
    int underlined = -1;  // the byte of `shown` to underline, -1 for none
};
JMnemonicText JParseMnemonic(std::string_view text);
// The mnemonic's letter in lower case, 0 when the text has none.
char JMnemonicKey(std::string_view text);
