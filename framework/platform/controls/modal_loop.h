// The message loop of a modal dialog window (message boxes, file dialogs):
// it takes the messages of every window, so that the others still paint,
// while the modal window blocks their input, and gives dialog keys to the
// dialog first.
#pragma once

#include <cstdint>

#include "framework/platform/windows/messages.h"
#include "framework/platform/windows/window.h"

// Called whenever a modal loop finds no message, before it sleeps a little:
// the event loop's timers run from here, and tests answer dialogs.
using JModalIdleHook = void (*)(JWnd modal);
void JSetModalIdleHook(JModalIdleHook hook);

// A hidden modal dialog window whose client area is `width` by `height`,
// centred across the frame's client area and a third of the way down, in
// the face colour; its class is registered with `proc` the first time.
// `extraStyle` is added to the modal dialog style. None when it cannot be made.
JWnd JCreateModalDialog(const char* className, JWindowProc proc, const char* title,
                        std::uint32_t extraStyle, int width, int height);

// Runs messages until *answer is no longer 0 or the dialog goes away. A Quit
// message is posted again and ends the loop with `quitAnswer`. Returns the
// answer (`quitAnswer` when the dialog went away unanswered).
int JRunModalLoop(JWnd dialog, const int* answer, int quitAnswer);
