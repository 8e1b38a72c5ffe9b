// Progress windows: a small untitled window with a line of text over a
// progress bar, for operations that run inside a command handler. Between
// steps the windows are painted (only paint requests are served: input
// waits until the operation is over, so no second command can start). The
// busy cursor shows over every window while work runs.
#pragma once

#include <cstdint>

#include "framework/ui/windows.h"

// Shown at once: centred on the desk, or 30 right of and 30 below
// `enclosing` when that is given.
JWindow* JProgressWindowOpen(const char* text, std::uint32_t total, JWindow* enclosing);
void JProgressWindowSetText(JWindow* window, const char* text);
void JProgressWindowSetDone(JWindow* window, std::uint32_t done);
// Paints every window that waits for it and shows the result.
void JProgressWindowRepaint(JWindow* window);
void JProgressWindowClose(JWindow* window);

// The window's text and bar, for tests and the gallery.
JControl* JProgressWindowText(JWindow* window);
JControl* JProgressWindowBar(JWindow* window);

// True shows the busy cursor until the matching false.
void JShowBusyCursor(bool busy);
