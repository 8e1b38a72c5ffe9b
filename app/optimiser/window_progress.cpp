#include "app/optimiser/window_progress.h"

#include "app/optimiser/progress.h"
#include "framework/ui/progress_windows.h"

namespace {

ProgressWindow Open(const char* text, std::uint32_t total, ProgressWindow enclosing) {
    return JProgressWindowOpen(text, total, static_cast<JWindow*>(enclosing));
}

void SetText(ProgressWindow window, const char* text) {
    JProgressWindowSetText(static_cast<JWindow*>(window), text);
}

void SetBar(ProgressWindow window, std::uint32_t done) {
    JProgressWindowSetDone(static_cast<JWindow*>(window), done);
}

void Repaint(ProgressWindow window) {
    JProgressWindowRepaint(static_cast<JWindow*>(window));
}

void Close(ProgressWindow window) {
    JProgressWindowClose(static_cast<JWindow*>(window));
}

constexpr ProgressDisplay kWindows{Open, SetText, SetBar, Repaint, Close, JShowBusyCursor};

std::uint32_t Now() {
    return JTickCount();
}

// The end pause and the paced waits keep the windows painted.
void Sleep(std::uint32_t milliseconds) {
    JProgressWindowRepaint(nullptr);
    JSleep(milliseconds);
}

constexpr ProgressClock kPlatformClock{Now, Sleep};

}  // namespace

void UseWindowProgress() {
    SetProgressDisplay(&kWindows);
    SetProgressClock(&kPlatformClock);
    SetProgressTiming(nullptr);
}
