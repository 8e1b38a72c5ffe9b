#include "app/edit/durations.h"

#include <gtest/gtest.h>

#include "tests/app/corpus/corpus_support.h"
#include "tests/app/edit/edit_test_support.h"

namespace {

using corpus::AlertRecorder;
using edit_test::Delays;
using edit_test::DocumentWithDelays;
using edit_test::Refreshed;

constexpr char kNotADuration[] =
    "Sorry, but '%s' is not recognizable as a length of time. A duration must be specified as "
    "'hours:minutes:seconds.hundredths', or an abbreviation thereof.";
constexpr char kTooLong[] = "Sorry, but the maximum frame duration is 10:55.35.";

std::string NotADuration(const std::string& text) {
    std::string message = kNotADuration;
    return message.replace(message.find("%s"), 2, text);
}

// The value of a text, or -1 when it is no duration.
long long Parsed(const char* text) {
    std::uint32_t value = 0;
    return ParseDuration(text, &value) ? static_cast<long long>(value) : -1;
}

TEST(DurationText, ShowsMinutesBelowAnHourAndHoursFromThen) {
    EXPECT_EQ(FormatDuration(0), "0:00.00");
    EXPECT_EQ(FormatDuration(100), "0:01.00");
    EXPECT_EQ(FormatDuration(6000), "1:00.00");
    EXPECT_EQ(FormatDuration(65535), "10:55.35");
    EXPECT_EQ(FormatDuration(359999), "59:59.99");
    EXPECT_EQ(FormatDuration(360000), "1:00:00.00");
    EXPECT_EQ(FormatDuration(4294967295u), "11930:27:52.95");
}

TEST(DurationText, ReadsEveryAbbreviationOfHoursMinutesSecondsHundredths) {
    EXPECT_EQ(Parsed("2"), 200);
    EXPECT_EQ(Parsed("1:30"), 9000);
    EXPECT_EQ(Parsed("0.5"), 50);
    EXPECT_EQ(Parsed("1:2:3.04"), 372304);
    EXPECT_EQ(Parsed("90:00"), 540000);
    EXPECT_EQ(Parsed("0:90"), 9000);  // seconds are not limited to 59
    EXPECT_EQ(Parsed("0"), 0);
    EXPECT_EQ(Parsed("  .29  "), 29);  // 0.29 is just below 29 hundredths as a double
    EXPECT_EQ(Parsed("1.156"), 116);   // rounded to the nearest hundredth
    EXPECT_EQ(Parsed("10:55.35"), 65535);
    // Every shown text reads back as the value it shows.
    for (std::uint32_t value : {0u, 1u, 99u, 6001u, 65535u, 359999u, 360000u, 372304u}) {
        EXPECT_EQ(Parsed(FormatDuration(value).c_str()), value);
    }
}

TEST(DurationText, RefusesNegativesTrailingTextAndNumbersWithoutDigits) {
    for (const char* text : {"", "abc", "-3", "1:-30", "-1:30", "1:2:-3", "-", ".", " ",
                             "1:", "1:30abc", "1.5:30", "1:30:", "0x10", "4294967296:00"}) {
        EXPECT_EQ(Parsed(text), -1) << "'" << text << "'";
    }
    // Too long for 32 bits: held at the limit, not wrapped round.
    EXPECT_EQ(Parsed("999999999:00:00"), 4294967295ll);
    EXPECT_EQ(Parsed("99999999999999999999"), 4294967295ll);
}

TEST(DurationEntry, TooLongReportsTheLimitAndTakesIt) {
    AlertRecorder alerts;
    EXPECT_EQ(EnterDuration("11:00", 100), kMaxFrameDuration);
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_EQ(alerts.alerts()[0].message, kTooLong);
    EXPECT_EQ(alerts.alerts()[0].kind, AlertKind::Stop);
}

TEST(DurationEntry, TextWithoutDigitsKeepsThePreviousValue) {
    AlertRecorder alerts;
    EXPECT_EQ(EnterDuration("soon", 250), 250u);
    EXPECT_EQ(EnterDuration("-3", 250), 250u);
    ASSERT_EQ(alerts.alerts().size(), 2u);
    EXPECT_EQ(alerts.alerts()[0].message, NotADuration("soon"));
    EXPECT_EQ(alerts.alerts()[1].message, NotADuration("-3"));
    alerts.Clear();
    EXPECT_EQ(EnterDuration("0", 250), 0u);  // no time at all is a duration
    EXPECT_EQ(EnterDuration("10:55.35", 250), 65535u);
    EXPECT_TRUE(alerts.alerts().empty()) << alerts.All();
}

class FrameDurationEntry : public edit_test::EditTest {};

TEST_F(FrameDurationEntry, OneAndAHalfMinutesAddsToTheTotalOnceOnly) {
    auto document = DocumentWithDelays({100, 100, 100});
    document->currentFrame = 1;
    EXPECT_TRUE(EnterFrameDuration(*document, 1, "1:30"));
    EXPECT_EQ(document->frames[1]->delay, 9000u);
    EXPECT_EQ(document->totalDuration, 9200u);
    EXPECT_TRUE(Refreshed(ShownValue::FrameDuration));
    EXPECT_TRUE(Refreshed(ShownValue::TotalDuration));

    edit_test::gRefreshed.clear();
    EXPECT_FALSE(EnterFrameDuration(*document, 1, "1:30"));
    EXPECT_EQ(document->totalDuration, 9200u);
    EXPECT_FALSE(Refreshed(ShownValue::TotalDuration));
}

TEST_F(FrameDurationEntry, RefusedTextChangesNothingAndTooLongStoresTheLimit) {
    AlertRecorder alerts;
    auto document = DocumentWithDelays({100, 100});
    document->currentFrame = 0;
    EXPECT_FALSE(EnterFrameDuration(*document, 0, "-3"));
    EXPECT_EQ(Delays(*document), (std::vector<std::uint32_t>{100, 100}));
    // The field is told to show the kept value again.
    EXPECT_TRUE(Refreshed(ShownValue::FrameDuration));
    EXPECT_TRUE(EnterFrameDuration(*document, 0, "11:00"));
    EXPECT_EQ(document->frames[0]->delay, 65535u);
    EXPECT_EQ(document->totalDuration, 65635u);
    ASSERT_EQ(alerts.alerts().size(), 2u);
    EXPECT_EQ(alerts.alerts()[1].message, kTooLong);
}

TEST(ScalingFactor, TakesZeroAndPositiveNumbersOnly) {
    double factor = -1;
    EXPECT_EQ(ReadScalingFactor("2", &factor), FactorProblem::None);
    EXPECT_EQ(factor, 2.0);
    EXPECT_EQ(ReadScalingFactor(" 0.5 ", &factor), FactorProblem::None);
    EXPECT_EQ(factor, 0.5);
    EXPECT_EQ(ReadScalingFactor("0", &factor), FactorProblem::None);
    EXPECT_EQ(factor, 0.0);
    const std::string tooManyDigits = "1" + std::string(400, '0');
    for (const std::string& text :
         std::vector<std::string>{"fast", "", ".", "-", "2x", tooManyDigits}) {
        EXPECT_EQ(ReadScalingFactor(text.c_str(), &factor), FactorProblem::NotANumber) << text;
    }
    EXPECT_EQ(ReadScalingFactor("-3", &factor), FactorProblem::Negative);
    EXPECT_EQ(factor, 0.0);
    EXPECT_STREQ(FactorProblemMessage(FactorProblem::NotANumber, "fast"),
                 "Sorry, but 'fast' is not a recognizable number. The scaling factor must be a "
                 "number.");
    EXPECT_STREQ(FactorProblemMessage(FactorProblem::Negative, "-3"),
                 "Sorry, but the scaling factor must be a positive number. Negative frame "
                 "durations are not possible.");
}

TEST(ScalingLimits, EnteringOneLimitBeyondTheOtherSwapsThem) {
    DurationLimits limits;
    EnterMinimumDuration(limits, 10);
    EXPECT_EQ(limits.minimum, 10u);
    EXPECT_EQ(limits.maximum, 65535u);
    EnterMaximumDuration(limits, 5);
    EXPECT_EQ(limits.minimum, 5u);
    EXPECT_EQ(limits.maximum, 10u);
    EnterMinimumDuration(limits, 500);
    EXPECT_EQ(limits.minimum, 10u);
    EXPECT_EQ(limits.maximum, 500u);
}

class Scaling : public edit_test::EditTest {};

TEST_F(Scaling, RoundsToTheNearestHundredthWithinTheLimits) {
    auto document = DocumentWithDelays({10, 15, 4, 0});
    ScaleDurations(*document, 0, 0, 2, 1, 65535);
    ScaleDurations(*document, 1, 1, 0.5, 1, 65535);
    ScaleDurations(*document, 2, 2, 0.1, 0, 65535);
    ScaleDurations(*document, 3, 3, 1, 1, 65535);  // the default minimum lifts 0
    EXPECT_EQ(Delays(*document), (std::vector<std::uint32_t>{20, 8, 0, 1}));
    EXPECT_EQ(document->totalDuration, 29u);
}

TEST_F(Scaling, MinimumAboveMaximumWins) {
    auto document = DocumentWithDelays({1, 7, 100, 60000});
    ScaleDurations(*document, 0, 3, 1, 10, 5);
    EXPECT_EQ(Delays(*document), (std::vector<std::uint32_t>{10, 10, 10, 10}));
    EXPECT_EQ(document->totalDuration, 40u);
}

TEST_F(Scaling, HugeFactorsStopAtTheMaximumAndTheRangeIsClamped) {
    auto document = DocumentWithDelays({100, 4000000000u, 100});
    document->currentFrame = 2;
    ScaleDurations(*document, 1, 99, 1e300, 1, 65535);
    EXPECT_EQ(Delays(*document), (std::vector<std::uint32_t>{100, 65535, 65535}));
    EXPECT_EQ(document->totalDuration, 131170u);
    EXPECT_TRUE(Refreshed(ShownValue::FrameDuration));
    EXPECT_TRUE(Refreshed(ShownValue::FrameStartTime));
    EXPECT_TRUE(Refreshed(ShownValue::TotalDuration));
}

TEST_F(Scaling, ShowsItsProgressForAboutASecond) {
    auto document = DocumentWithDelays({10, 10, 10, 10, 10, 10, 10, 10, 10, 10});
    ScaleDurations(*document, 0, 9, 2, 1, 65535);
    ASSERT_EQ(edit_test::gProgress.size(), 1u);
    EXPECT_EQ(edit_test::gProgress[0].text, "Scaling Frame Durations");
    EXPECT_EQ(edit_test::gProgress[0].total, 10u);
    EXPECT_EQ(edit_test::gProgress[0].bar, 10u);
    EXPECT_GE(edit_test::gSlept, 1000u);
}

}  // namespace
