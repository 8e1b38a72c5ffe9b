#include "app/shell/playback.h"

#include <gtest/gtest.h>

#include "app/shell/frame_selection.h"
#include "framework/platform/platform.h"
#include "tests/app/shell/made_documents.h"

namespace {

JKeyRecord Key(std::uint16_t key, std::uint16_t modifiers = 0) {
    JKeyRecord record;
    record.key = key;
    record.modifiers = modifiers;
    return record;
}

class PlaybackTest : public testing::Test {
protected:
    void Open(const std::vector<std::uint32_t>& delays) {
        playback_.reset();
        document_ = MakePlainAnimation(delays);
        playback_ = std::make_unique<Playback>(*document_, [this](std::int32_t index) {
            SelectFrame(*document_, index, FrameSource::Other, {});
        });
        SelectFrame(*document_, 0, FrameSource::Other, {});
    }
    void TearDown() override {
        playback_.reset();
        JTimersClear();
    }

    // Lets the clock run to the pending step and takes it.
    void RunStep() {
        const std::int32_t wait = JTimeToNextTimer();
        ASSERT_GE(wait, 0) << "no step is pending";
        JSleep(std::uint32_t(wait));
        ASSERT_TRUE(JRunDueTimer());
    }
    void Press(std::uint16_t key) { EXPECT_TRUE(PlaybackKey(*playback_, Key(key))); }
    int Mode() const { return playback_->mode; }
    std::int32_t Shown() const { return document_->currentFrame; }

    std::unique_ptr<GifDocument> document_;
    std::unique_ptr<Playback> playback_;
};

TEST_F(PlaybackTest, UpAndDownMoveTheModeWithinItsLimits) {
    Open({100, 100, 100, 100});
    Press(kKeyUp);
    EXPECT_EQ(Mode(), kPlayReverse);
    Press(kKeyUp);
    EXPECT_EQ(Mode(), kPlayFastReverse);
    Press(kKeyUp);
    EXPECT_EQ(Mode(), kPlayFastReverse);
    Press(kKeyDown);
    Press(kKeyDown);
    Press(kKeyDown);
    EXPECT_EQ(Mode(), kPlayForward);
    Press(kKeyDown);
    Press(kKeyDown);
    EXPECT_EQ(Mode(), kPlayFastForward);
    EXPECT_EQ(JTimerCount(), 1) << "one pending step, whatever the presses";
    SetPlaybackMode(*playback_, 9);
    EXPECT_EQ(Mode(), kPlayFastForward);
    SetPlaybackMode(*playback_, -9);
    EXPECT_EQ(Mode(), kPlayFastReverse);
}

TEST_F(PlaybackTest, SpacePlaysForwardWhenStoppedAndStopsAnyMode) {
    Open({100, 100, 100});
    Press(kKeySpace);
    EXPECT_EQ(Mode(), kPlayForward);
    EXPECT_NEAR(JTimeToNextTimer(), 1000, 2) << "the shown frame keeps its whole duration";
    for (int mode = kPlayFastReverse; mode <= kPlayFastForward; ++mode) {
        if (mode == kPlayStopped) {
            continue;
        }
        SetPlaybackMode(*playback_, mode);
        Press(kKeySpace);
        EXPECT_EQ(Mode(), kPlayStopped) << "from mode " << mode;
        EXPECT_EQ(JTimerCount(), 0);
    }
}

TEST_F(PlaybackTest, EscapeStops) {
    Open({5, 5, 5});
    SetPlaybackMode(*playback_, kPlayFastForward);
    Press(kKeyEscape);
    EXPECT_EQ(Mode(), kPlayStopped);
    EXPECT_EQ(JTimerCount(), 0);
    EXPECT_FALSE(JRunDueTimer());
    EXPECT_EQ(Shown(), 0);
}

TEST_F(PlaybackTest, LeftAndRightStopAndStepRoundTheEnds) {
    Open({5, 5, 5});
    SetPlaybackMode(*playback_, kPlayForward);
    Press(kKeyLeft);
    EXPECT_EQ(Mode(), kPlayStopped);
    EXPECT_EQ(JTimerCount(), 0);
    EXPECT_EQ(Shown(), 2);
    Press(kKeyRight);
    EXPECT_EQ(Shown(), 0);
    Press(kKeyRight);
    EXPECT_EQ(Shown(), 1);
    Press(kKeyLeft);
    EXPECT_EQ(Shown(), 0);
}

TEST_F(PlaybackTest, ReverseFromTheFirstFrameGoesOnAtTheLast) {
    for (int mode : {kPlayReverse, kPlayFastReverse}) {
        Open({3, 4, 5, 6});
        SetPlaybackMode(*playback_, mode);
        RunStep();
        EXPECT_EQ(Shown(), 3) << "mode " << mode;
        RunStep();
        EXPECT_EQ(Shown(), 2) << "mode " << mode;
    }
}

TEST_F(PlaybackTest, ForwardFromTheLastFrameGoesOnAtTheFirst) {
    Open({3, 4, 5});
    SelectFrame(*document_, 2, FrameSource::Other, {});
    SetPlaybackMode(*playback_, kPlayForward);
    RunStep();
    EXPECT_EQ(Shown(), 0);
    EXPECT_NEAR(JTimeToNextTimer(), 30, 2) << "the new frame's own duration";
}

TEST_F(PlaybackTest, FastModesAndZeroDurationsStepOnTheNextIdleStep) {
    Open({0, 0, 1, 250});
    SetPlaybackMode(*playback_, kPlayForward);
    EXPECT_EQ(JTimeToNextTimer(), 0);
    RunStep();
    EXPECT_EQ(Shown(), 1);
    EXPECT_EQ(JTimeToNextTimer(), 0);
    RunStep();
    EXPECT_EQ(Shown(), 2);
    EXPECT_NEAR(JTimeToNextTimer(), 10, 2) << "one hundredth is 10 ms";
    SetPlaybackMode(*playback_, kPlayFastForward);
    RunStep();
    EXPECT_EQ(Shown(), 3);
    EXPECT_EQ(JTimeToNextTimer(), 0) << "fast play ignores the 2.5 s";
}

// Each step is due a frame's duration after the previous one was due, not
// after it ran: a late step shortens the wait for the next.
TEST_F(PlaybackTest, StepsAreTimedFromWhenTheyWereDue) {
    Open({10, 10, 10, 10});
    SetPlaybackMode(*playback_, kPlayForward);
    JSleep(130);  // the step due at 100 ms runs 30 ms late
    ASSERT_TRUE(JRunDueTimer());
    EXPECT_EQ(Shown(), 1);
    EXPECT_NEAR(JTimeToNextTimer(), 70, 3);
    // Held up far longer (a modal dialog): the timing starts afresh rather
    // than racing through the frames missed.
    JSleep(std::uint32_t(JTimeToNextTimer()) + 2000);
    ASSERT_TRUE(JRunDueTimer());
    EXPECT_EQ(Shown(), 2);
    EXPECT_NEAR(JTimeToNextTimer(), 100, 3);
}

TEST_F(PlaybackTest, AOneFrameAnimationDoesNotPlay) {
    Open({10});
    SetPlaybackMode(*playback_, kPlayForward);
    EXPECT_EQ(Mode(), kPlayStopped);
    for (std::uint16_t key : {kKeyRight, kKeyLeft, kKeySpace, kKeyDown}) {
        PlaybackKey(*playback_, Key(key));
    }
    EXPECT_EQ(Mode(), kPlayStopped);
    EXPECT_EQ(Shown(), 0);
    EXPECT_EQ(JTimerCount(), 0);
}

TEST_F(PlaybackTest, OtherKeysAndCommandKeysAreLeftAlone) {
    Open({10, 10});
    EXPECT_FALSE(PlaybackKey(*playback_, Key('A')));
    EXPECT_FALSE(PlaybackKey(*playback_, Key(kKeyRight, kUiCtrl)));
    EXPECT_FALSE(PlaybackKey(*playback_, Key(kKeySpace, kUiCommand)));
    EXPECT_EQ(Shown(), 0);
    EXPECT_EQ(Mode(), kPlayStopped);
}

TEST_F(PlaybackTest, DestroyingThePlaybackCancelsItsStep) {
    Open({10, 10});
    SetPlaybackMode(*playback_, kPlayForward);
    playback_.reset();
    EXPECT_EQ(JTimerCount(), 0);
}

}  // namespace
