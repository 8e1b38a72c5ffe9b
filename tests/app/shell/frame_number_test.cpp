// Typed frame numbers: what is refused, what goes to the last frame, and the
// messages that say why.
#include "app/shell/frame_number.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/core_startup.h"
#include "framework/ui/alerts.h"

namespace {

std::vector<std::string>& Told() {
    static std::vector<std::string> told;
    return told;
}

bool Ask(AlertKind, const char*, const char*, const char*) {
    return true;
}

void Tell(AlertKind, const char* message, const char*, const char*, AlertCallback, void*) {
    Told().push_back(message);
}

void Beep() {
    Told().push_back("beep");
}

constexpr AlertDriver kRecorder{Ask, Tell, Beep};

class FrameNumbers : public testing::Test {
protected:
    void SetUp() override {
        JCoreStartup();
        Told().clear();
        JSetAlertDriver(&kRecorder);
    }
    void TearDown() override { JSetAlertDriver(nullptr); }
};

TEST_F(FrameNumbers, NumbersWithinTheAnimationAreTakenQuietly) {
    EXPECT_EQ(EnterFrameNumber("3", 0, 5).index, 2);
    EXPECT_EQ(EnterFrameNumber(" 5  ", 0, 5).index, 4);
    EXPECT_TRUE(Told().empty());
}

TEST_F(FrameNumbers, ZeroAndNegativeNumbersAreRefused) {
    for (const char* typed : {"0", "-3"}) {
        const FrameNumberEntry entry = EnterFrameNumber(typed, 1, 5);
        EXPECT_FALSE(entry.accepted) << typed;
        EXPECT_EQ(entry.index, 1);
    }
    ASSERT_EQ(Told().size(), 4u);
    EXPECT_EQ(Told()[1], "Sorry, but the frame # must be positive.");
}

TEST_F(FrameNumbers, TextThatIsNoWholeNumberIsRefused) {
    for (const char* typed : {"two", "2.5", "", "3x"}) {
        EXPECT_FALSE(EnterFrameNumber(typed, 0, 5).accepted) << typed;
    }
    EXPECT_EQ(Told()[1], "Sorry, but 'two' is not an integer. The frame # must be an integer.");
}

TEST_F(FrameNumbers, ANumberPastTheLastFrameGoesToTheLastFrameAndSaysSo) {
    const FrameNumberEntry entry = EnterFrameNumber("9", 0, 5);
    EXPECT_TRUE(entry.accepted);
    EXPECT_EQ(entry.index, 4);
    ASSERT_EQ(Told().size(), 2u);
    EXPECT_EQ(Told()[1], "Sorry, but since there is only 5 frames, you cannot go to frame #9.");
    EnterFrameNumber("2", 0, 1);
    EXPECT_EQ(Told()[3], "Sorry, but since there is only 1 frame, you cannot go to frame #2.");
}

}  // namespace
