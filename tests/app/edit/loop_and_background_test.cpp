// The loop settings and the background colour: what the fields accept, what
// they refuse with which message, and what the document keeps.
#include <gtest/gtest.h>

#include "app/edit/background_colour.h"
#include "app/edit/loop_count.h"
#include "tests/app/corpus/corpus_support.h"
#include "tests/app/edit/edit_test_support.h"

namespace {

using corpus::AlertRecorder;
using edit_test::Refreshed;

constexpr char kNotPositive[] = "Sorry, but the animation must loop a positive number of times.";
constexpr char kTooMany[] = "Sorry, the animation can loop at most 65535 times.";

class LoopSettings : public edit_test::EditTest {
protected:
    std::unique_ptr<GifDocument> document_ = NewGifDocument();
};

TEST_F(LoopSettings, LoopAfterLoopForeverLoopsOnce) {
    SetLoopMode(*document_, LoopChoice::LoopForever);
    EXPECT_TRUE(document_->loops);
    EXPECT_EQ(document_->loopCount, 0u);
    EXPECT_EQ(ShownLoopChoice(*document_), LoopChoice::LoopForever);
    EXPECT_FALSE(ShowsLoopCount(*document_));
    SetLoopMode(*document_, LoopChoice::Loop);
    EXPECT_EQ(document_->loopCount, 1u);
    EXPECT_EQ(ShownLoopChoice(*document_), LoopChoice::Loop);
    EXPECT_TRUE(ShowsLoopCount(*document_));
    EXPECT_STREQ(LoopCountLabel(document_->loopCount), "time");
    EXPECT_STREQ(LoopCountLabel(2), "times");
    EXPECT_TRUE(Refreshed(ShownValue::Loop));
}

TEST_F(LoopSettings, ZeroAndNegativeCountsAreRefusedAndTheOldCountStays) {
    AlertRecorder alerts;
    SetLoopCount(*document_, 3);
    EnterLoopCount(*document_, "0");
    EnterLoopCount(*document_, "-3");
    EnterLoopCount(*document_, "twice");
    EnterLoopCount(*document_, "2.5");
    EXPECT_TRUE(document_->loops);
    EXPECT_EQ(document_->loopCount, 3u);
    ASSERT_EQ(alerts.alerts().size(), 4u) << alerts.All();
    EXPECT_EQ(alerts.alerts()[0].message, kNotPositive);
    EXPECT_EQ(alerts.alerts()[1].message, kNotPositive);
    EXPECT_EQ(alerts.alerts()[2].message,
              "Sorry, but 'twice' is not an integer. The number of times to loop the animation "
              "must be an integer.");
    EXPECT_EQ(alerts.alerts()[3].message,
              "Sorry, but '2.5' is not an integer. The number of times to loop the animation "
              "must be an integer.");
}

TEST_F(LoopSettings, CountsAboveTheLimitAreHeldAtIt) {
    AlertRecorder alerts;
    EnterLoopCount(*document_, "65536");
    EXPECT_EQ(document_->loopCount, 65535u);
    // Ten digits would wrap round to 1 in 32 bits; more would leave digits behind.
    EnterLoopCount(*document_, "4294967297");
    EXPECT_EQ(document_->loopCount, 65535u);
    EnterLoopCount(*document_, "123456789012345678901234567890");
    EXPECT_EQ(document_->loopCount, 65535u);
    ASSERT_EQ(alerts.alerts().size(), 3u) << alerts.All();
    for (const corpus::Alert& alert : alerts.alerts()) {
        EXPECT_EQ(alert.message, kTooMany);
    }
    alerts.Clear();
    EnterLoopCount(*document_, "  +12  ");
    EXPECT_EQ(document_->loopCount, 12u);
    EXPECT_TRUE(alerts.alerts().empty()) << alerts.All();
}

class BackgroundColour : public edit_test::EditTest {
protected:
    std::unique_ptr<GifDocument> document_ = NewGifDocument();
};

TEST_F(BackgroundColour, EitherCaseGivesTheSameColourShownInUpperCase) {
    const Rgb expected{255, 0, 16};
    EnterBackgroundColour(*document_, "ff0010");
    EXPECT_EQ(document_->backgroundColour, expected);
    document_->backgroundColour = Rgb{};
    EnterBackgroundColour(*document_, "FF0010");
    EXPECT_EQ(document_->backgroundColour, expected);
    EXPECT_EQ(BackgroundColourText(document_->backgroundColour), "FF0010");
    EXPECT_TRUE(Refreshed(ShownValue::BackgroundColour));
    Rgb colour;
    ASSERT_TRUE(ReadBackgroundColour(" ff 0 10 ", &colour));  // blanks before each component
    EXPECT_EQ(colour, expected);
}

TEST_F(BackgroundColour, TextThatIsNoColourKeepsTheColour) {
    AlertRecorder alerts;
    SetBackgroundColour(*document_, Rgb{1, 2, 3});
    for (const char* text : {"red", "", "ff00", "#ff0010", "-1-1-1", "ff0010zz"}) {
        EnterBackgroundColour(*document_, text);
        EXPECT_EQ(document_->backgroundColour, (Rgb{1, 2, 3})) << text;
    }
    ASSERT_EQ(alerts.alerts().size(), 6u) << alerts.All();
    EXPECT_EQ(alerts.alerts()[0].message,
              "Sorry, 'red' is not recognizable as an HTML colour. Colours must be specified as "
              "<red><green><blue>, with each component given as a two character hexadecimal "
              "number.");
}

}  // namespace
