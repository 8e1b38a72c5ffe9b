// Progress of long operations. The delayed progress (reading, compressing)
// keeps quiet for short operations and shows its window only after two to
// three seconds; the paced progress (editing) shows its window at once and
// stretches the operation to at least a second. Both hold the busy cursor.
//
// What is shown goes through a ProgressDisplay, so the same engine serves the
// windowed program and the console; the clock can be replaced by tests.
#pragma once

#include <cstdint>

// A shown progress window, as the display knows it.
using ProgressWindow = void*;

struct ProgressDisplay {
    // Shows a window with the text over a bar of range 0 to total; `enclosing`
    // is the window of the record below, if it shows one (the new window then
    // goes 30 to the right of and 30 below it).
    ProgressWindow (*open)(const char* text, std::uint32_t total, ProgressWindow enclosing);
    void (*setText)(ProgressWindow window, const char* text);
    void (*setBar)(ProgressWindow window, std::uint32_t done);
    void (*repaint)(ProgressWindow window);  // handles the window's own paint requests
    void (*close)(ProgressWindow window);
    void (*setBusyCursor)(bool busy);  // true: save the cursor and show the busy one
};

struct ProgressClock {
    std::uint32_t (*now)();  // milliseconds
    void (*sleep)(std::uint32_t milliseconds);
};

// When the delayed progress shows itself, in milliseconds from its start.
struct ProgressTiming {
    std::uint32_t quietMs;       // nothing is shown before this
    std::uint32_t alwaysShowMs;  // shown from this on even when nearly done
    std::uint32_t repaintMs;     // between two redraws of the bar
    std::uint32_t endPauseMs;    // the full bar stays this long at the end
};

// Null puts back the display that shows nothing, the system clock or the
// progress window's timing.
void SetProgressDisplay(const ProgressDisplay* display);
void SetProgressClock(const ProgressClock* clock);
void SetProgressTiming(const ProgressTiming* timing);

void BeginProgress(const char* text, std::uint32_t total);
void SetProgressText(const char* text);
void StepProgress(std::uint32_t steps);
void EndProgress();

void BeginPacedProgress(const char* text, std::uint32_t total);
void StepPacedProgress(std::uint32_t steps);
void EndPacedProgress();

void BeginBusyCursor();
void EndBusyCursor();

// Steps done by the innermost delayed progress (for tests and displays).
std::uint32_t ProgressStepsDone();
