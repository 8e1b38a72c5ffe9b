// The framework's event loop. Each step takes at most one platform message
// and dispatches it; when none waits it polls the pointer and sleeps (at
// most 50 ms, less when a timer is due sooner); when the queue was empty,
// or after every 64 messages, it runs at most one due timer. Temporary
// strings made during a step are released at its end, and windows and
// controls destroyed during it when the outermost step ends.
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/files.h"
#include "framework/ui/windows.h"

// `modal`: take only that window's messages and run no timers.
void JEventStep(JWindow* modal, bool maySleep);
// Opens the files named on the command line, then steps until JQuit.
void JRunMainLoop();
// Steps until the window is destroyed. Restricted: only its messages and no
// timers; otherwise as the main loop.
void JRunModal(JWindow* window, bool restricted);
void JQuit();
bool JMainLoopRunning();

// Waits for input for at most that long; the idle part of a step.
void JIdleWait(std::uint32_t milliseconds);

// Application events.
enum JApplicationEvent : int {
    kEventOpenApplication = 0,
    kEventOpenDocument = 1,
    kEventPrintDocument = 2,
    kEventQuitApplication = 3,
};
using JApplicationHandler = void (*)(const FileSpec* file, std::intptr_t context);
void JSetApplicationHandler(int event, JApplicationHandler handler, std::intptr_t context);
bool JHasApplicationHandler(int event);
void JCallApplicationHandler(int event, const FileSpec* file);
// The command-line events (the main loop's first run calls it): each file argument (absolute, or
// relative to the current directory) is opened; "/p FILE" asks to print FILE and then to quit.
// Arguments beginning with "--" are the program's options.
void JHandleCommandLine();
// One file named as the command line names it: absolute or relative to the
// current directory, opened through the open-document event.
void JHandleFileArgument(const std::string& path);

// The menu bar is redrawn once at the start of the next step.
void JMarkMenuBarForRedraw();

// The step counters, for tests: messages left before timers get a turn.
int JEventBudget();
