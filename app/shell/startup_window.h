// What the windowed program shows as it starts: the corner badge, the
// display-depth warning and the start-up window (also shown by About), whose
// title has a banner sweeping through its letters.
#pragma once

#include <ctime>

// Shows the start-up window; at program start (`startupMode`), dismissing it
// asks for a file to open.
void ShowStartupWindow(bool startupMode);
// Closes it if it is open. `byOpenEvent`: a file named on the command line
// is opening, so no file is asked for.
void CloseStartupWindow(bool byOpenEvent);
bool StartupWindowIsOpen();

// The small notice in the frame's bottom-right corner for 2.5 seconds.
void ShowCornerBadge();
bool IsCornerBadgeWindow(const struct JWindow* window);

// Warns when the display shows 256 colours or fewer; true when the start-up
// window may open (the display is deeper).
bool DisplayDepthAllowsStartupWindow();

// The clock the sweep is chosen by (tests fix it); null for the real one.
void SetStartupClock(std::tm (*clock)());

// Runs after the start-up window closes in start-up mode (the Open... command).
void SetStartupDismissedAction(void (*action)());
