// Helpers shared by the editing tests: a progress clock that never waits
// (the paced progress would stretch every edit to a second) and shows what
// the paced progress window said, the refreshes the edits ask for, and
// documents of frames with given delays.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "app/codec/document.h"
#include "app/edit/edit_refresh.h"
#include "app/optimiser/progress.h"

namespace edit_test {

inline std::uint32_t gNow = 0;
inline std::uint32_t gSlept = 0;
inline std::uint32_t ClockNow() {
    return gNow;
}
inline void ClockSleep(std::uint32_t milliseconds) {
    gNow += milliseconds;
    gSlept += milliseconds;
}
inline constexpr ProgressClock kClock{ClockNow, ClockSleep};

// What the progress windows showed: each window's text and its bar at the
// end.
struct ShownProgress {
    std::string text;
    std::uint32_t total;
    std::uint32_t bar;
};
inline std::vector<ShownProgress> gProgress;

inline ProgressWindow OpenWindow(const char* text, std::uint32_t total, ProgressWindow) {
    gProgress.push_back({text, total, 0});
    return reinterpret_cast<ProgressWindow>(gProgress.size());
}
inline void SetText(ProgressWindow, const char*) {}
inline void SetBar(ProgressWindow window, std::uint32_t done) {
    gProgress[reinterpret_cast<std::size_t>(window) - 1].bar = done;
}
inline void WindowOnly(ProgressWindow) {}
inline void Cursor(bool) {}
inline constexpr ProgressDisplay kDisplay{OpenWindow, SetText,    SetBar,
                                          WindowOnly, WindowOnly, Cursor};

inline std::vector<ShownValue> gRefreshed;
inline void Refresh(GifDocument&, ShownValue value) {
    gRefreshed.push_back(value);
}

inline bool Refreshed(ShownValue value) {
    return std::find(gRefreshed.begin(), gRefreshed.end(), value) != gRefreshed.end();
}

// Installs the clock, the progress display and the refresher for one test.
class EditTest : public testing::Test {
protected:
    void SetUp() override {
        gNow = 1000;
        gSlept = 0;
        gProgress.clear();
        gRefreshed.clear();
        SetProgressClock(&kClock);
        SetProgressDisplay(&kDisplay);
        SetShownValueRefresh(Refresh);
    }
    void TearDown() override {
        SetProgressClock(nullptr);
        SetProgressDisplay(nullptr);
        SetShownValueRefresh(nullptr);
    }
};

// A document of frames without images, with these delays.
inline std::unique_ptr<GifDocument> DocumentWithDelays(
    std::initializer_list<std::uint32_t> delays) {
    std::unique_ptr<GifDocument> document = NewGifDocument();
    for (std::uint32_t delay : delays) {
        auto frame = std::make_unique<GifFrame>();
        frame->delay = delay;
        document->totalDuration += delay;
        document->frames.push_back(std::move(frame));
    }
    document->frameCount = std::int32_t(document->frames.size());
    return document;
}

inline std::vector<std::uint32_t> Delays(const GifDocument& document) {
    std::vector<std::uint32_t> delays;
    for (const auto& frame : document.frames) {
        delays.push_back(frame->delay);
    }
    return delays;
}

}  // namespace edit_test
