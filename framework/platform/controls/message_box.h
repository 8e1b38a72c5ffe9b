// The platform message box: a modal window with an icon, a text and one or
// two buttons, run in its own message loop until it is answered. Return
// presses the focused button (at first the default one); Escape answers
// Cancel, No, or OK for a one-button box; so does closing it.
#pragma once

#include <cstdint>

#include "framework/platform/controls/modal_loop.h"
#include "framework/platform/windows/messages.h"

enum class JMessageIcon : std::uint8_t { None, Stop, Caution, Information, Question };
enum class JMessageButtons : std::uint8_t { Ok, OkCancel, YesNo };

// Answers besides kIdOk and kIdCancel (messages.h).
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

struct JMessageBoxSpec {
    const char* title = "";
    const char* text = "";  // line feeds break lines; long lines wrap at spaces
    JMessageIcon icon = JMessageIcon::None;
    JMessageButtons buttons = JMessageButtons::Ok;
    int defaultButton = 0;  // 0 the first button, 1 the second
};

// Shows the box centred in the frame, blocks the other windows and returns
// the answer: kIdOk, kIdCancel, kIdYes or kIdNo. A Quit message met while
// waiting is posted again and answers as Escape does.
int JMessageBox(const JMessageBoxSpec& spec);

// The message box being shown, or none.
JWnd JCurrentMessageBox();
