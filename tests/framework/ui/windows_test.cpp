#include <map>

#include "tests/framework/ui/ui_fixture.h"

namespace {

std::map<int, int>& Calls() {
    static std::map<int, int> calls;
    return calls;
}

template <int Slot>
bool Count(JWindow*, const JHandlerEvent&) {
    ++Calls()[Slot];
    return true;
}

bool Refuse(JWindow*, const JHandlerEvent&) {
    ++Calls()[kSlotCloseRequest];
    return false;
}

class Windows : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        Calls().clear();
    }
};

TEST_F(Windows, ShowTwiceHideOnceStaysVisible) {
    JWindow* window = JWindowNew(nullptr, "Counted", 0);
    JWindowShow(window);
    JWindowShow(window);
    JWindowHide(window);
    EXPECT_TRUE(JIsWindowVisible(window->platform));
    JWindowHide(window);
    EXPECT_FALSE(JIsWindowVisible(window->platform));
}

TEST_F(Windows, NewWindowTakesHalfTheFrameAtItsOrigin) {
    JWindow* window = JWindowNew(nullptr, "Placed", 0);
    const JRect client = JFrameClientRect();
    EXPECT_EQ(window->width, client.Width() / 2);
    EXPECT_EQ(window->height, client.Height() / 2);
    EXPECT_EQ(window->left - window->borderLeft, 0);
    EXPECT_EQ(window->top - window->borderTop, 0);
}

TEST_F(Windows, RefusedCloseLeavesTheWindowAndSkipsSlot8) {
    JWindow* window = OpenWindow(20, 20, 200, 120);
    JWindowSetHandler(window, kSlotCloseRequest, Refuse);
    JWindowSetHandler(window, kSlotBeforeDestroy, Count<kSlotBeforeDestroy>);
    EXPECT_FALSE(JWindowClose(window));
    EXPECT_EQ(Calls()[kSlotCloseRequest], 1);
    EXPECT_EQ(Calls()[kSlotBeforeDestroy], 0);
    EXPECT_FALSE(window->Destroyed());
}

TEST_F(Windows, AllowedCloseCallsSlot8AndDestroys) {
    JWindow* window = OpenWindow(20, 20, 200, 120);
    JWindowSetHandler(window, kSlotCloseRequest, Count<kSlotCloseRequest>);
    JWindowSetHandler(window, kSlotBeforeDestroy, Count<kSlotBeforeDestroy>);
    EXPECT_TRUE(JWindowClose(window));
    EXPECT_EQ(Calls()[kSlotBeforeDestroy], 1);
    EXPECT_TRUE(window->Destroyed());
    EXPECT_EQ(JWindowCount(), 0);
}

TEST_F(Windows, ResizeIsClampedToTheMinimumAndMaximum) {
    JWindow* window = OpenWindow(20, 20, 200, 120);
    JWindowResize(window, 5, 5);
    EXPECT_EQ(window->width, 40);
    EXPECT_EQ(window->height, 40);
    JWindowSetMaximumSize(window, 300, 200);
    JWindowResize(window, 1000, 1000);
    EXPECT_EQ(window->width, 300);
    EXPECT_EQ(window->height, 200);
}

TEST_F(Windows, MouseAndKeysReachTheirSlots) {
    JWindow* window = OpenWindow(20, 20, 200, 120);
    JWindowSetHandler(window, kSlotMouseDown, Count<kSlotMouseDown>);
    JWindowSetHandler(window, kSlotMouseUp, Count<kSlotMouseUp>);
    JWindowSetHandler(window, kSlotKeyDown, Count<kSlotKeyDown>);
    Click(window, 50, 50);
    EXPECT_EQ(Calls()[kSlotMouseDown], 1);
    EXPECT_EQ(Calls()[kSlotMouseUp], 1);
    JHeadlessPressKey('A');
    Settle();
    EXPECT_EQ(Calls()[kSlotKeyDown], 1);
}

JKeyRecord TheKey;
int KeyStep = -1;
int StepCount = 0;
bool RememberKey(JWindow*, const JHandlerEvent& event) {
    TheKey = event.key;
    KeyStep = StepCount;
    return true;
}

TEST_F(Windows, KeyPressReachesItsHandlerWithinOneStep) {
    JWindow* window = OpenWindow(20, 20, 200, 120);
    JWindowSetHandler(window, kSlotKeyDown, RememberKey);
    Settle();
    JHeadlessPressKey(kKeyReturn);
    // The key-down message is the first input the next step takes.
    StepCount = 0;
    JEventStep(nullptr, false);
    StepCount = 1;
    EXPECT_EQ(KeyStep, 0);
    EXPECT_EQ(TheKey.key, kKeyReturn);
    EXPECT_EQ(TheKey.character, '\r');
}

// --- a window destroying itself from each of its slots ---

JWindow* Victim = nullptr;
bool DestroyVictim(JWindow* window, const JHandlerEvent&) {
    EXPECT_EQ(window, Victim);
    JWindowDestroy(window);
    // The record is still readable after its destruction.
    EXPECT_TRUE(window->Destroyed());
    ++Calls()[-1];
    return false;
}

class SelfDestroyingWindow : public FrameworkTest, public testing::WithParamInterface<int> {};

TEST_P(SelfDestroyingWindow, DestroysItselfSafelyFromTheSlot) {
    Calls().clear();
    const int slot = GetParam();
    JWindow* other = nullptr;
    if (slot == kSlotActivated) {
        Victim = JWindowNew(nullptr, "Victim", 0);
        JWindowSetHandler(Victim, slot, DestroyVictim);
        JWindowMoveTo(Victim, 30, 30);
        JWindowShow(Victim);
        Settle();
    } else {
        Victim = OpenWindow(30, 30, 200, 120);
        JWindowSetHandler(Victim, slot, DestroyVictim);
    }
    switch (slot) {
        case kSlotDraw:
            JInvalidateRect(Victim->platform, nullptr);
            Settle();
            break;
        case kSlotMouseDown:
        case kSlotMouseUp:
            Click(Victim, 40, 40);
            break;
        case kSlotMouseMoved: {
            const JPoint point = At(Victim, 50, 50);
            JHeadlessMovePointer(point.x, point.y);
            Settle();
            break;
        }
        case kSlotKeyDown:
        case kSlotKeyUp:
            JHeadlessPressKey('Q');
            Settle();
            break;
        case kSlotCloseRequest:
        case kSlotBeforeDestroy:
            JWindowClose(Victim);
            Settle();
            break;
        case kSlotResized:
            JWindowResize(Victim, 300, 200);
            Settle();
            break;
        case kSlotMoved:
            JWindowMoveTo(Victim, 60, 70);
            Settle();
            break;
        case kSlotDeactivated:
            other = OpenWindow(300, 300, 100, 100);
            break;
        case kSlotMouseEntered:
        case kSlotMouseLeft: {
            const JPoint inside = At(Victim, 50, 50);
            JHeadlessMovePointer(inside.x, inside.y);
            JHeadlessWait(150);
            JHeadlessMovePointer(700, 550);
            for (int i = 0; i < 20; ++i) {
                JEventStep(nullptr, true);
            }
            Settle();
            break;
        }
        default:
            break;
    }
    EXPECT_EQ(Calls()[-1], 1) << "slot " << slot;
    // Freed with the step that destroyed it; only the other window is left.
    EXPECT_EQ(JWindowCount(), other != nullptr ? 1 : 0);
    // Whatever is left runs on without the window.
    JHeadlessClick(100, 100);
    JHeadlessPressKey('Z');
    Settle();
}

INSTANTIATE_TEST_SUITE_P(EverySlotThatCanDestroy, SelfDestroyingWindow,
                         testing::Values(kSlotDraw, kSlotMouseDown, kSlotMouseUp, kSlotMouseMoved,
                                         kSlotKeyDown, kSlotKeyUp, kSlotCloseRequest,
                                         kSlotBeforeDestroy, kSlotResized, kSlotMoved,
                                         kSlotActivated, kSlotDeactivated, kSlotMouseEntered,
                                         kSlotMouseLeft));

// --- modal loops ---

JWindow* Modal = nullptr;
bool CloseModal(JWindow* window, const JHandlerEvent&) {
    JWindowDestroy(window);
    return true;
}

void TimerRan(void* flag) {
    *static_cast<bool*>(flag) = true;
}

TEST_F(Windows, RestrictedModalLoopRefusesOtherWindowsAndRunsNoTimers) {
    JWindow* behind = OpenWindow(20, 20, 200, 150);
    JWindowSetHandler(behind, kSlotMouseDown, Count<kSlotMouseDown>);
    JWindowSetHandler(behind, kSlotKeyDown, Count<kSlotKeyDown>);
    Modal = JWindowNew(nullptr, "Modal", kWindowModal);
    JWindowMoveTo(Modal, 400, 300);
    JWindowResize(Modal, 150, 100);
    JWindowSetHandler(Modal, kSlotMouseDown, CloseModal);
    JWindowShow(Modal);
    bool timerRan = false;
    JTimerNew(TimerRan, &timerRan, 0);
    const JPoint behindPoint = At(behind, 50, 50);
    const JPoint modalPoint = At(Modal, 50, 50);
    JHeadlessClick(behindPoint.x, behindPoint.y);
    JHeadlessPressKey('K');
    JHeadlessWait(200);
    JHeadlessClick(modalPoint.x, modalPoint.y);
    JRunModal(Modal, true);
    EXPECT_EQ(JWindowCount(), 1);
    EXPECT_EQ(Calls()[kSlotMouseDown], 0);
    EXPECT_EQ(Calls()[kSlotKeyDown], 0);
    EXPECT_FALSE(timerRan);
    Settle();
    JEventStep(nullptr, false);
    EXPECT_TRUE(timerRan);
}

TEST_F(Windows, UnrestrictedModalLoopRunsTimers) {
    Modal = JWindowNew(nullptr, "Modal", kWindowModal);
    JWindowMoveTo(Modal, 400, 300);
    JWindowResize(Modal, 150, 100);
    JWindowSetHandler(Modal, kSlotMouseDown, CloseModal);
    JWindowShow(Modal);
    bool timerRan = false;
    JTimerNew(TimerRan, &timerRan, 0);
    const JPoint modalPoint = At(Modal, 50, 50);
    JHeadlessWait(200);
    JHeadlessClick(modalPoint.x, modalPoint.y);
    JRunModal(Modal, false);
    EXPECT_TRUE(timerRan);
}

}  // namespace
