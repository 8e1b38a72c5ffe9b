#include "app/optimiser/window_progress.h"

#include "app/optimiser/progress.h"
#include "framework/ui/progress_bars.h"
#include "framework/ui/progress_windows.h"
#include "framework/ui/static_texts.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

int gKeys = 0;

bool CountKey(JWindow*, const JHandlerEvent&) {
    ++gKeys;
    return true;
}

class WindowProgress : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        UseWindowProgress();
    }
    void TearDown() override {
        SetProgressDisplay(nullptr);
        SetProgressClock(nullptr);
        FrameworkTest::TearDown();
    }
    // Work of `steps` steps, each taking `stepMs` on the headless clock.
    static void Work(std::uint32_t steps, std::uint32_t stepMs) {
        for (std::uint32_t i = 0; i < steps; ++i) {
            JSleep(stepMs);
            StepProgress(1);
        }
    }
    static JWindow* Newest() { return JWindowAt(JWindowCount() - 1); }
};

TEST_F(WindowProgress, ShortWorkShowsNoWindowButTheBusyCursor) {
    const int windows = JWindowCount();
    BeginProgress("Compressing", 10);
    EXPECT_EQ(JHeadlessCursor(), JCursorShape::Wait);
    Work(10, 150);  // a second and a half
    EXPECT_EQ(JWindowCount(), windows);
    EndProgress();
    Settle();
    EXPECT_EQ(JWindowCount(), windows);
    EXPECT_NE(JHeadlessCursor(), JCursorShape::Wait);
}

TEST_F(WindowProgress, LongWorkShowsTheWindowAfterItsDelay) {
    const int windows = JWindowCount();
    BeginProgress("Compressing", 20);
    Work(4, 400);  // 1.6 s: still quiet
    EXPECT_EQ(JWindowCount(), windows);
    Work(2, 400);  // past two seconds and not two thirds done
    ASSERT_EQ(JWindowCount(), windows + 1);
    JWindow* window = Newest();
    EXPECT_TRUE(JWindowIsVisible(window));
    EXPECT_STREQ(JStaticTextGet(JProgressWindowText(window)), "Compressing");
    EXPECT_EQ(JProgressValue(JProgressWindowBar(window)), 6);
    // Its content follows the main window's proportions.
    EXPECT_GE(window->width, kFrameWidth / 10 * 4 + 10);
    EXPECT_GE(window->height, kFrameHeight / 5 + 10);
    SetProgressText("Writing");
    EXPECT_STREQ(JStaticTextGet(JProgressWindowText(window)), "Writing");
    EndProgress();
    Settle();
    EXPECT_EQ(JWindowCount(), windows);
}

TEST_F(WindowProgress, InputWaitsUntilTheWorkIsOver) {
    JWindow* document = OpenWindow(20, 20, 200, 100);
    JWindowSetHandler(document, kSlotKeyDown, CountKey);
    gKeys = 0;
    BeginProgress("Compressing", 20);
    JHeadlessPressKey(kKeyReturn);
    Work(10, 400);  // the window shows and repaints meanwhile
    EXPECT_EQ(gKeys, 0);
    EndProgress();
    Settle();
    EXPECT_EQ(gKeys, 1);
}

TEST_F(WindowProgress, NearlyDoneWorkWaitsForThreeSeconds) {
    const int windows = JWindowCount();
    BeginProgress("Reading", 10);
    Work(9, 250);  // 2.25 s, nine tenths done
    EXPECT_EQ(JWindowCount(), windows);
    JSleep(1000);
    StepProgress(1);
    EXPECT_EQ(JWindowCount(), windows + 1);
    EndProgress();
}

TEST_F(WindowProgress, ANestedWindowSitsBelowAndRightOfTheEnclosingOne) {
    BeginProgress("Reading", 10);
    Work(1, 3000);
    JWindow* outer = Newest();
    BeginProgress("Merging colours", 10);
    Work(1, 3000);
    JWindow* inner = Newest();
    ASSERT_NE(inner, outer);
    EXPECT_EQ(inner->left, outer->left + 30);
    EXPECT_EQ(inner->top, outer->top + 30);
    EndProgress();
    EndProgress();
}

TEST_F(WindowProgress, PacedWorkShowsAtOnceAndLastsASecond) {
    const int windows = JWindowCount();
    const std::uint32_t start = JTickCount();
    BeginPacedProgress("Changing durations", 10);
    EXPECT_EQ(JWindowCount(), windows + 1);
    for (int i = 0; i < 10; ++i) {
        StepPacedProgress(1);
    }
    EndPacedProgress();
    EXPECT_GE(JTickCount() - start, 1000u);
    Settle();
    EXPECT_EQ(JWindowCount(), windows);
}

}  // namespace
