#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/optimiser/progress.h"

namespace {

// A clock that only moves when told to (or when the engine sleeps).
std::uint32_t gNow = 0;
std::uint32_t FakeNow() {
    return gNow;
}
void FakeSleep(std::uint32_t milliseconds) {
    gNow += milliseconds;
}
constexpr ProgressClock kFakeClock{FakeNow, FakeSleep};

struct FakeWindow {
    std::string text;
    std::uint32_t total;
    std::uint32_t bar;
    FakeWindow* enclosing;
    bool open;
};
std::vector<FakeWindow*> gWindows;
std::vector<bool> gCursor;

ProgressWindow Open(const char* text, std::uint32_t total, ProgressWindow enclosing) {
    gWindows.push_back(new FakeWindow{text, total, 0, static_cast<FakeWindow*>(enclosing), true});
    return gWindows.back();
}
void SetText(ProgressWindow window, const char* text) {
    static_cast<FakeWindow*>(window)->text = text;
}
void SetBar(ProgressWindow window, std::uint32_t done) {
    static_cast<FakeWindow*>(window)->bar = done;
}
void Repaint(ProgressWindow) {}
void Close(ProgressWindow window) {
    static_cast<FakeWindow*>(window)->open = false;
}
void Cursor(bool busy) {
    gCursor.push_back(busy);
}
constexpr ProgressDisplay kFakeDisplay{Open, SetText, SetBar, Repaint, Close, Cursor};

class ProgressTest : public testing::Test {
protected:
    void SetUp() override {
        gNow = 100000;
        gCursor.clear();
        SetProgressClock(&kFakeClock);
        SetProgressDisplay(&kFakeDisplay);
    }
    void TearDown() override {
        for (FakeWindow* window : gWindows) {
            delete window;
        }
        gWindows.clear();
        SetProgressClock(nullptr);
        SetProgressDisplay(nullptr);
        SetProgressTiming(nullptr);
    }
};

TEST_F(ProgressTest, ShortOperationShowsNothing) {
    BeginProgress("Compressing", 10);
    for (int i = 0; i < 10; ++i) {
        gNow += 150;
        StepProgress(1);
    }
    EndProgress();
    EXPECT_TRUE(gWindows.empty());
    EXPECT_EQ(gCursor, (std::vector<bool>{true, false}));
}

TEST_F(ProgressTest, WindowOpensAtTwoSecondsWhenLittleIsDone) {
    BeginProgress("Reading", 100);
    gNow += 1999;
    StepProgress(10);
    EXPECT_TRUE(gWindows.empty());
    gNow += 1;
    StepProgress(10);
    ASSERT_EQ(gWindows.size(), 1u);
    EXPECT_EQ(gWindows[0]->text, "Reading");
    EXPECT_EQ(gWindows[0]->total, 100u);
    EXPECT_EQ(gWindows[0]->bar, 20u);
    std::uint32_t before = gNow;
    EndProgress();
    EXPECT_EQ(gWindows[0]->bar, 100u);  // the end fills the bar
    EXPECT_FALSE(gWindows[0]->open);
    EXPECT_EQ(gNow - before, 150u);
}

TEST_F(ProgressTest, TerminalTimingShowsTheBarAfterHalfASecond) {
    const ProgressTiming terminal{500, 500, 200, 0};
    SetProgressTiming(&terminal);
    BeginProgress("Compressing", 10);
    StepProgress(9);  // nearly done does not matter here
    gNow += 499;
    StepProgress(0);
    EXPECT_TRUE(gWindows.empty());
    gNow += 1;
    StepProgress(0);
    ASSERT_EQ(gWindows.size(), 1u);
    const std::uint32_t before = gNow;
    EndProgress();
    EXPECT_EQ(gNow, before);  // no pause at the end
}

TEST_F(ProgressTest, NearlyDoneOperationWaitsUntilThreeSeconds) {
    BeginProgress("Compressing", 30);
    StepProgress(21);  // past two thirds
    gNow += 2500;
    StepProgress(1);
    EXPECT_TRUE(gWindows.empty());
    gNow += 500;
    StepProgress(1);
    EXPECT_EQ(gWindows.size(), 1u);
    EndProgress();
}

TEST_F(ProgressTest, SteppingPastTheTotalStopsAtTheTotal) {
    BeginProgress("Reading", 5);
    StepProgress(3);
    StepProgress(10);
    EXPECT_EQ(ProgressStepsDone(), 5u);
    StepProgress(0xFFFFFFFFu);
    EXPECT_EQ(ProgressStepsDone(), 5u);
    EndProgress();
}

TEST_F(ProgressTest, NestedWindowIsPlacedFromTheEnclosingOne) {
    BeginProgress("Outer", 10);
    gNow += 3000;
    StepProgress(1);
    SetProgressText("Outer, second stage");
    BeginProgress("Inner", 10);
    gNow += 3000;
    StepProgress(1);
    ASSERT_EQ(gWindows.size(), 2u);
    EXPECT_EQ(gWindows[0]->text, "Outer, second stage");
    EXPECT_EQ(gWindows[1]->enclosing, gWindows[0]);
    EndProgress();
    EndProgress();
    EXPECT_EQ(gCursor, (std::vector<bool>{true, false}));  // nested busy cursor
}

TEST_F(ProgressTest, PacedOperationLastsAboutASecond) {
    std::uint32_t start = gNow;
    BeginPacedProgress("Scaling", 10);
    ASSERT_EQ(gWindows.size(), 1u);  // shown at once
    for (int i = 1; i <= 10; ++i) {
        StepPacedProgress(1);
        EXPECT_EQ(gNow - start, static_cast<std::uint32_t>(i * 100));
    }
    EndPacedProgress();
    EXPECT_EQ(gNow - start, 1150u);
    EXPECT_FALSE(gWindows[0]->open);
}

}  // namespace
