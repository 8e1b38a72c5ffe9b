#include "app/optimiser/progress.h"

#include <chrono>
#include <thread>
#include <vector>

#include "framework/core/strings.h"

namespace {

// Nothing is shown before quietMs, and the window then shows unless two
// thirds are done; the full bar stays a moment at the end.
constexpr ProgressTiming kWindowTiming{2000, 3000, 1000, 150};
constexpr std::uint32_t kPacedLengthMs = 1000;

ProgressWindow OpenNothing(const char*, std::uint32_t, ProgressWindow) {
    return nullptr;
}
void SetTextNowhere(ProgressWindow, const char*) {}
void SetBarNowhere(ProgressWindow, std::uint32_t) {}
void WindowNowhere(ProgressWindow) {}
void NoCursor(bool) {}
constexpr ProgressDisplay kNoDisplay{OpenNothing,   SetTextNowhere, SetBarNowhere,
                                     WindowNowhere, WindowNowhere,  NoCursor};

std::uint32_t SystemNow() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
void SystemSleep(std::uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
constexpr ProgressClock kSystemClock{SystemNow, SystemSleep};

struct ProgressRecord {
    char* text;
    std::uint32_t total;
    std::uint32_t done;
    std::uint32_t start;
    std::uint32_t lastRepaint;
    bool shown;
    ProgressWindow window;
};

const ProgressDisplay* gDisplay = &kNoDisplay;
const ProgressClock* gClock = &kSystemClock;
const ProgressTiming* gTiming = &kWindowTiming;
std::vector<ProgressRecord> gRecords;  // innermost last
ProgressRecord gPaced{};
std::uint16_t gBusyDepth = 0;

std::uint32_t Clamp(std::uint32_t done, std::uint32_t steps, std::uint32_t total) {
    return steps >= total - done ? total : done + steps;
}

// The window of the nearest enclosing record that shows one.
ProgressWindow EnclosingWindow() {
    for (std::size_t i = gRecords.size() - 1; i-- > 0;) {
        if (gRecords[i].shown) {
            return gRecords[i].window;
        }
    }
    return nullptr;
}

// Short operations show nothing; one past two thirds at two seconds waits
// until three seconds before it shows a window.
bool TimeToShow(const ProgressRecord& record, std::uint32_t elapsed) {
    if (elapsed >= gTiming->alwaysShowMs) {
        return true;
    }
    return elapsed >= gTiming->quietMs &&
           std::uint64_t{record.done} * 3 <= std::uint64_t{record.total} * 2;
}

void Open(ProgressRecord& record, ProgressWindow enclosing, std::uint32_t now) {
    record.window = gDisplay->open(record.text, record.total, enclosing);
    record.shown = true;
    record.lastRepaint = now;
}

void Close(ProgressRecord& record) {
    if (record.shown) {
        gDisplay->setBar(record.window, record.total);
        gDisplay->repaint(record.window);
        gClock->sleep(gTiming->endPauseMs);
        gDisplay->close(record.window);
    }
    JStrFree(record.text);
    record = ProgressRecord{};
}

}  // namespace

void SetProgressDisplay(const ProgressDisplay* display) {
    gDisplay = display ? display : &kNoDisplay;
}

void SetProgressTiming(const ProgressTiming* timing) {
    gTiming = timing ? timing : &kWindowTiming;
}

void SetProgressClock(const ProgressClock* clock) {
    gClock = clock ? clock : &kSystemClock;
}

void BeginProgress(const char* text, std::uint32_t total) {
    std::uint32_t now = gClock->now();
    gRecords.push_back(ProgressRecord{JStrDup(text), total, 0, now, now, false, nullptr});
    BeginBusyCursor();
}

void SetProgressText(const char* text) {
    if (gRecords.empty()) {
        return;
    }
    ProgressRecord& record = gRecords.back();
    JStrFree(record.text);
    record.text = JStrDup(text);
    if (record.shown) {
        gDisplay->setText(record.window, record.text);
    }
}

void StepProgress(std::uint32_t steps) {
    if (gRecords.empty()) {
        return;
    }
    ProgressRecord& record = gRecords.back();
    std::uint32_t now = gClock->now();
    if (!record.shown && TimeToShow(record, now - record.start)) {
        Open(record, EnclosingWindow(), now);
    }
    record.done = Clamp(record.done, steps, record.total);
    if (record.shown) {
        gDisplay->setBar(record.window, record.done);
        if (now - record.lastRepaint >= gTiming->repaintMs) {
            record.lastRepaint = now;
            gDisplay->repaint(record.window);
        }
    }
}

void EndProgress() {
    if (gRecords.empty()) {
        return;
    }
    Close(gRecords.back());
    gRecords.pop_back();
    EndBusyCursor();
}

void BeginPacedProgress(const char* text, std::uint32_t total) {
    std::uint32_t now = gClock->now();
    gPaced = ProgressRecord{JStrDup(text), total, 0, now, now, false, nullptr};
    Open(gPaced, gRecords.empty() ? nullptr : gRecords.back().window, now);
    gDisplay->repaint(gPaced.window);
    BeginBusyCursor();
}

void StepPacedProgress(std::uint32_t steps) {
    if (!gPaced.text) {
        return;
    }
    gPaced.done = Clamp(gPaced.done, steps, gPaced.total);
    gDisplay->setBar(gPaced.window, gPaced.done);
    gDisplay->repaint(gPaced.window);
    if (gPaced.total == 0) {
        return;
    }
    // Each step waits until its share of the second has passed.
    std::uint64_t due = std::uint64_t{gPaced.done} * kPacedLengthMs / gPaced.total;
    std::uint32_t elapsed = gClock->now() - gPaced.start;
    if (due > elapsed) {
        gClock->sleep(static_cast<std::uint32_t>(due - elapsed));
    }
}

void EndPacedProgress() {
    if (!gPaced.text) {
        return;
    }
    StepPacedProgress(gPaced.total);
    Close(gPaced);
    EndBusyCursor();
}

void BeginBusyCursor() {
    if (gBusyDepth++ == 0) {
        gDisplay->setBusyCursor(true);
    }
}

void EndBusyCursor() {
    if (gBusyDepth > 0 && --gBusyDepth == 0) {
        gDisplay->setBusyCursor(false);
    }
}

std::uint32_t ProgressStepsDone() {
    return gRecords.empty() ? 0 : gRecords.back().done;
}
