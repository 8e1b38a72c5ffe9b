// Static text: the window's title drawn in the control font, one line per
// line feed, aligned to the left (the default), centre or right. It takes
// no input; JSetWindowTitle changes the text and redraws it.
#pragma once

#include "framework/platform/controls/control_window.h"

constexpr const char* kStaticTextClass = "static";
constexpr std::uint32_t kSsCentre = kWsControlBit0;
constexpr std::uint32_t kSsRight = kWsControlBit1;
// The text marks a mnemonic with "&" (drawn underlined): in a dialog-style
// window, Alt with that letter moves the focus to the next tab stop after
// the label.
constexpr std::uint32_t kSsMnemonic = kWsControlBit2;

JWnd JCreateStaticText(const JControlSpec& spec);
void JStaticTextSetText(JWnd control, const char* text);
