// Alert windows: a small modal window with the kind's picture, the message
// and one or two buttons, sized to the message. The first button is the
// default: Return presses it; Escape presses the second when there is one;
// a button's first letter (with or without Alt) presses that button. A
// press closes the window and hands the answer to the callback.
#pragma once

#include "framework/ui/alerts.h"
#include "framework/ui/windows.h"

// Built hidden; parent null means the frame, title null an empty title.
// The window lives until a button is pressed.
JWindow* JAlertBuild(JWindow* parent, const char* title, AlertKind kind, const char* message,
                     const char* first, const char* second, AlertCallback callback, void* data);
// Shows it and waits, still running the other windows' paints and the
// timers; true for the first button.
bool JAlertAsk(JWindow* parent, AlertKind kind, const char* message, const char* first,
               const char* second);
// Three buttons: the first is the default, Escape and the close box press
// the third. Returns the button pressed: 0, 1 or 2.
int JAlertChoose(JWindow* parent, AlertKind kind, const char* message, const char* first,
                 const char* second, const char* third);
// For an alert built in advance (the out-of-memory alerts): while it waits
// only the alert takes events and no timer runs.
bool JAlertAskPrebuilt(JWindow* alert);
// Shows it, paints it at once and returns; the callback gets the answer.
void JAlertTell(JWindow* parent, AlertKind kind, const char* message, const char* first,
                const char* second, AlertCallback callback, void* data);
void JAlertTellSimply(const char* message, const char* button);

// The alert's buttons and picture, for tests and the gallery.
JControl* JAlertButton(JWindow* alert, int index);  // 0, 1 or 2; null when none
JControl* JAlertPicture(JWindow* alert);
JControl* JAlertMessage(JWindow* alert);

// JAsk, JTell and JBeep show alert windows and beep through the platform.
void JUseWindowAlerts();
