#include <vector>

#include "tests/framework/ui/ui_fixture.h"

namespace {

std::vector<int>& Ran() {
    static std::vector<int> ran;
    return ran;
}

void Record(void* argument) {
    Ran().push_back(static_cast<int>(reinterpret_cast<std::intptr_t>(argument)));
}

void* Tag(int tag) {
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(tag));
}

// Moves the headless clock forward (its sleep only advances it) so that the
// tick count reads `target`.
void SetClock(std::uint32_t target) {
    JSleep(target - JTickCount());
}

class Timers : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        Ran().clear();
    }
};

TEST_F(Timers, DelayZeroRunsInTheNextIdleStepNotAtOnce) {
    JTimerNew(Record, Tag(1), 0);
    EXPECT_TRUE(Ran().empty());
    JEventStep(nullptr, false);
    EXPECT_EQ(Ran(), std::vector<int>{1});
}

TEST_F(Timers, EqualDueTimesRunLatestScheduledFirst) {
    // Both must be made within one tick for their due times to be equal.
    JTimer* first = nullptr;
    JTimer* second = nullptr;
    do {
        JTimerCancel(first);
        JTimerCancel(second);
        const std::uint32_t tick = JTickCount();
        first = JTimerNew(Record, Tag(1), 20);
        second = JTimerNew(Record, Tag(2), 20);
        if (JTickCount() == tick) {
            break;
        }
    } while (true);
    JSleep(30);
    JEventStep(nullptr, false);
    JEventStep(nullptr, false);
    EXPECT_EQ(Ran(), (std::vector<int>{2, 1}));
}

TEST_F(Timers, EarlierDueRunsFirstWhateverTheOrderOfScheduling) {
    JTimerNew(Record, Tag(3), 300);
    JTimerNew(Record, Tag(1), 100);
    JTimerNew(Record, Tag(2), 200);
    SetClock(JTickCount() + 400);
    for (int i = 0; i < 3; ++i) {
        JEventStep(nullptr, false);
    }
    EXPECT_EQ(Ran(), (std::vector<int>{1, 2, 3}));
}

TEST_F(Timers, AtMostOneTimerRunsPerStep) {
    for (int tag = 1; tag <= 3; ++tag) {
        JTimerNew(Record, Tag(tag), 0);
    }
    JSleep(1);
    JEventStep(nullptr, false);
    EXPECT_EQ(Ran().size(), 1u);
    JEventStep(nullptr, false);
    EXPECT_EQ(Ran().size(), 2u);
}

TEST_F(Timers, CancelledTimerNeverRuns) {
    JTimer* timer = JTimerNew(Record, Tag(1), 0);
    JTimerCancel(timer);
    JSleep(10);
    JEventStep(nullptr, false);
    EXPECT_TRUE(Ran().empty());
    EXPECT_EQ(JTimerCount(), 0);
}

TEST_F(Timers, TimerSetJustBeforeTheCounterWrapsWaitsForItsDelay) {
    SetClock(0xFFFFFFF0u);
    JTimerNew(Record, Tag(1), 100);  // due at 0x54, past the wrap
    JEventStep(nullptr, false);
    EXPECT_TRUE(Ran().empty());
    SetClock(0x60);
    JEventStep(nullptr, false);
    EXPECT_EQ(Ran(), std::vector<int>{1});
}

TEST_F(Timers, TimerSetJustBeforeTheSignedBoundaryWaitsForItsDelay) {
    SetClock(0x7FFFFFF0u);
    JTimerNew(Record, Tag(1), 100);
    JEventStep(nullptr, false);
    EXPECT_TRUE(Ran().empty());
    SetClock(0x80000060u);
    JEventStep(nullptr, false);
    EXPECT_EQ(Ran(), std::vector<int>{1});
}

TEST_F(Timers, TimersFromBeforeTheWrapRunBeforeThoseAfterIt) {
    SetClock(0xFFFFFFE0u);
    JTimerNew(Record, Tag(2), 60);  // due after the wrap
    JTimerNew(Record, Tag(1), 10);  // due before it
    SetClock(0x100);
    JEventStep(nullptr, false);
    JEventStep(nullptr, false);
    EXPECT_EQ(Ran(), (std::vector<int>{1, 2}));
}

TEST_F(Timers, FloodOfMessagesHoldsTimersBackForAtMost64Messages) {
    JWindow* window = OpenWindow(10, 10, 200, 100);
    JTimerNew(Record, Tag(1), 0);
    JSleep(1);
    // A step that finds the queue empty runs the due timer; start with a
    // full budget and a queue that stays full.
    for (int i = 0; i < 200; ++i) {
        JPostMessage(JMakeMessage(window->platform, JMsg::User));
    }
    int steps = 0;
    while (Ran().empty() && steps < 200) {
        JEventStep(nullptr, false);
        ++steps;
    }
    EXPECT_LE(steps, 64);
    EXPECT_EQ(Ran(), std::vector<int>{1});
}

}  // namespace
