// The range controls window driven headless as a user would: ranges typed,
// dragged and stepped with the arrow keys, factors and limits typed, panels
// chosen and buttons pressed, on a copy of the bundled sample.
#include "app/shell/range_controls_window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/codec/image_decode.h"
#include "app/edit/deinterlace.h"
#include "app/optimiser/progress.h"
#include "app/shell/frame_range_slider.h"
#include "app/shell/preferences.h"
#include "framework/core/core_startup.h"
#include "framework/ui/alert_windows.h"
#include "framework/ui/alerts.h"
#include "framework/ui/control_drawing.h"
#include "framework/ui/edit_fields.h"
#include "framework/ui/popup_choices.h"
#include "framework/ui/push_buttons.h"
#include "framework/ui/sliders.h"
#include "tests/framework/ui/ui_fixture.h"
#include "tests/test_directory.h"

namespace {

const std::string kSample = std::string(PINDLE_SOURCE_DIR) + "/samples/bouncing-ball.gif";
const std::string kOneFrame = std::string(PINDLE_CORPUS_DIR) + "/real/pil-hopper.gif";
constexpr std::int32_t kSampleFrames = 24;
const char* const kMoreChoicesKey = "Show more choices when scaling frame durations";

std::vector<std::string>& Told() {
    static std::vector<std::string> told;
    return told;
}

int& Beeps() {
    static int beeps = 0;
    return beeps;
}

bool Ask(AlertKind, const char*, const char*, const char*) {
    return false;
}

void Tell(AlertKind, const char* message, const char*, const char*, AlertCallback, void*) {
    Told().push_back(message);
}

void Beep() {
    ++Beeps();
}

constexpr AlertDriver kRecorder{Ask, Tell, Beep};

// The editing progress stretches each edit to a second; on this clock the
// second passes at once.
std::uint32_t& Now() {
    static std::uint32_t now = 0;
    return now;
}
std::uint32_t ClockNow() {
    return Now();
}
void ClockSleep(std::uint32_t milliseconds) {
    Now() += milliseconds;
}
constexpr ProgressClock kInstantClock{ClockNow, ClockSleep};

std::vector<AppDocument*>& Activated() {
    static std::vector<AppDocument*> activated;
    return activated;
}
void DocumentActivated(AppDocument* document) {
    Activated().push_back(document);
}

class RangeControlsTest : public FrameworkTest {
protected:
    void SetUp() override {
        JCoreStartup();
        FrameworkTest::SetUp();
        SetSettingsDirectory(dir_.path().c_str());
        SetFactoryDefaults();
        Told().clear();
        Beeps() = 0;
        JSetAlertDriver(&kRecorder);
        SetProgressClock(&kInstantClock);
        Activated().clear();
        DocumentEvents events;
        events.activated = DocumentActivated;
        SetDocumentEvents(events);
        const std::string copy = dir_.File("bouncing-ball.gif");
        std::filesystem::copy_file(kSample, copy);
        document_ = OpenDocument(copy.c_str());
        ASSERT_NE(document_, nullptr);
        ResetRangeControls(*document_);
        OpenRangeControls(*document_);
        Settle();
        ASSERT_NE(Window(), nullptr);
    }
    void TearDown() override {
        if (document_ != nullptr) {
            CloseRangeControls(*document_);
            document_->changed = false;
            CloseDocument(*document_);
        }
        Settle();
        SetDocumentEvents(DocumentEvents{});
        SetProgressClock(nullptr);
        JSetAlertDriver(nullptr);
        SetSettingsDirectory(nullptr);
        SetFactoryDefaults();
        FrameworkTest::TearDown();
    }

    GifDocument& Gif() const { return *document_->gif; }
    JWindow* Window() const { return RangeControlsWindow(*document_); }
    JControl* Control(RangeControl which) const { return RangeControlsControl(*document_, which); }
    RangeControlsState State() const { return RangeControlsOf(*document_); }
    std::string Text(RangeControl which) const { return JEditFieldText(Control(which)); }

    static void ClickControl(const JControl* control) {
        ASSERT_NE(control, nullptr);
        Click(control->owner, control->left + control->width / 2,
              control->top + control->height / 2);
    }

    // Clicks into the field, takes its text away and types; Tab ends the
    // entry unless `enter` is false.
    void Type(RangeControl which, const char* text, bool enter = true) {
        JControl* field = Control(which);
        ClickControl(field);
        JHeadlessPressKey(kKeyEnd);
        for (std::size_t i = std::string(JEditFieldText(field)).size(); i > 0; --i) {
            JHeadlessPressKey(kKeyBackspace);
        }
        JHeadlessTypeText(text);
        if (enter) {
            JHeadlessPressKey(kKeyTab);
        }
        Settle();
    }
    void TypeRange(int from, int to) {
        Type(RangeControl::ToField, std::to_string(kSampleFrames).c_str());
        Type(RangeControl::FromField, std::to_string(from).c_str());
        Type(RangeControl::ToField, std::to_string(to).c_str());
    }

    void ChoosePanel(RangePanel panel) {
        ClickControl(Control(RangeControl::PanelChoice));
        JWindow* list = JChoiceListWindow();
        ASSERT_NE(list, nullptr);
        int width = 0;
        int height = 0;
        JUiMeasureText("Ag", &width, &height);
        const int index = static_cast<int>(panel);
        Click(list, 10, 1 + (index - JChoiceListFirstShown()) * (height + 1) + height / 2);
    }

    static void PressKey(std::uint16_t key) {
        JHeadlessPressKey(key);
        Settle();
    }

    void ExpectRange(std::int32_t start, std::int32_t end) const {
        EXPECT_EQ(State().start, start);
        EXPECT_EQ(State().end, end);
        EXPECT_EQ(Text(RangeControl::FromField), std::to_string(start + 1));
        EXPECT_EQ(Text(RangeControl::ToField), std::to_string(end + 1));
        EXPECT_EQ(FrameRangeSliderLow(Control(RangeControl::RangeSlider)), start);
        EXPECT_EQ(FrameRangeSliderHigh(Control(RangeControl::RangeSlider)), end);
    }

    // The value of a key in the settings file as it is on disk now.
    std::string Setting(const std::string& key) const {
        const std::string text = dir_.Read("Pindle.prf");
        const std::size_t at = text.find(key + ":");
        return at == std::string::npos
                   ? "<missing>"
                   : text.substr(at + key.size() + 1, text.find("\r\n", at) - at - key.size() - 1);
    }

    void SetAllDelays(std::uint32_t delay) {
        for (std::int32_t i = 0; i < kSampleFrames; ++i) {
            SetFrameDuration(Gif(), i, delay);
        }
    }
    std::vector<std::uint32_t> Delays() const {
        std::vector<std::uint32_t> delays;
        for (const auto& frame : Gif().frames) {
            delays.push_back(frame->delay);
        }
        return delays;
    }

    TestDirectory dir_;
    AppDocument* document_ = nullptr;
};

// --- the range ---

TEST_F(RangeControlsTest, OpensOnAllFramesAndOpensOnlyOnce) {
    EXPECT_NE(Window()->title.find("Range Controls"), std::string::npos);
    ExpectRange(0, kSampleFrames - 1);
    JWindow* first = Window();
    OpenRangeControls(*document_);
    Settle();
    EXPECT_EQ(Window(), first);
}

TEST_F(RangeControlsTest, TypedEndsAreOrderedAndTheTypedFrameIsShown) {
    Type(RangeControl::ToField, "5");
    ExpectRange(0, 4);
    EXPECT_EQ(Gif().currentFrame, 4);
    // A first frame past the last one makes it the last.
    Type(RangeControl::FromField, "9");
    ExpectRange(4, 8);
    EXPECT_EQ(Gif().currentFrame, 8);
    EXPECT_TRUE(Told().empty());
}

TEST_F(RangeControlsTest, RefusedFrameNumbersKeepTheRange) {
    TypeRange(3, 6);
    Type(RangeControl::FromField, "0");
    Type(RangeControl::ToField, "six");
    ExpectRange(2, 5);
    ASSERT_EQ(Told().size(), 2u);
    EXPECT_EQ(Told()[0], "Sorry, but the frame # must be positive.");
    EXPECT_EQ(Told()[1], "Sorry, but 'six' is not an integer. The frame # must be an integer.");
    EXPECT_EQ(Beeps(), 2);
}

TEST_F(RangeControlsTest, ARangePastTheLastFrameIsToldAndClamped) {
    TypeRange(3, 6);
    Type(RangeControl::ToField, "99");
    ExpectRange(2, kSampleFrames - 1);
    Type(RangeControl::FromField, "30");
    ExpectRange(kSampleFrames - 1, kSampleFrames - 1);
    ASSERT_EQ(Told().size(), 2u);
    EXPECT_EQ(Told()[0], "Sorry, but since there is only 24 frames, you cannot go to frame #99.");
    EXPECT_EQ(Told()[1], "Sorry, but since there is only 24 frames, you cannot go to frame #30.");
}

TEST_F(RangeControlsTest, ArrowKeysStepTheEndsRoundTheAnimation) {
    TypeRange(1, 6);
    // Left at frame 0 goes round to the last frame, which becomes the end.
    PressKey(kKeyLeft);
    ExpectRange(5, kSampleFrames - 1);
    // Down at the last frame goes round to frame 0, which becomes the start.
    PressKey(kKeyDown);
    ExpectRange(0, 5);
    PressKey(kKeyRight);
    ExpectRange(1, 5);
    PressKey(kKeyUp);
    ExpectRange(1, 4);
    EXPECT_EQ(Gif().currentFrame, 4);
}

TEST_F(RangeControlsTest, DraggingAThumbSetsTheRangeAndShowsTheFrame) {
    JControl* slider = Control(RangeControl::RangeSlider);
    const FrameRangeGeometry& geometry = FrameRangeSliderGeometry(slider);
    const JRect low = FrameRangeSliderThumbRect(slider, 0);
    const int y = (low.top + low.bottom) / 2;
    const int x = (low.left + low.right) / 2;
    const int target = slider->left + FrameRangePixelOfValue(geometry, kSampleFrames - 1, 10);
    Drag(Window(), x, y, target, y);
    ExpectRange(10, kSampleFrames - 1);
    EXPECT_EQ(Gif().currentFrame, 10);
}

// --- scaling ---

TEST_F(RangeControlsTest, ScalingFifteenByAHalfGivesEightOnTheRangeOnly) {
    SetAllDelays(15);
    TypeRange(3, 5);
    Type(RangeControl::FactorField, "0.5");
    EXPECT_EQ(Text(RangeControl::FactorField), "0.500");
    ClickControl(Control(RangeControl::ActionButton));
    std::vector<std::uint32_t> expected(kSampleFrames, 15);
    expected[2] = expected[3] = expected[4] = 8;
    EXPECT_EQ(Delays(), expected);
    EXPECT_EQ(Gif().totalDuration, 21u * 15 + 3 * 8);
    EXPECT_TRUE(document_->changed);
}

TEST_F(RangeControlsTest, AFactorTypedBeforeScaleIsPressedIsUsed) {
    SetAllDelays(15);
    Type(RangeControl::FactorField, "2", false);
    ClickControl(Control(RangeControl::ActionButton));
    EXPECT_EQ(Delays(), std::vector<std::uint32_t>(kSampleFrames, 30));
}

TEST_F(RangeControlsTest, FactorTwoShowsWithThreeDecimalsAndTheSliderAt65) {
    Type(RangeControl::FactorField, "2");
    EXPECT_EQ(Text(RangeControl::FactorField), "2.000");
    EXPECT_EQ(JSliderValue(Control(RangeControl::FactorSlider)), 65);
    EXPECT_DOUBLE_EQ(State().factor, 2.0);
}

TEST_F(RangeControlsTest, TheFactorSliderRunsFromATenthToTen) {
    JControl* slider = Control(RangeControl::FactorSlider);
    const JRect thumb = JSliderThumbRect(slider);
    const int y = (thumb.top + thumb.bottom) / 2;
    Drag(Window(), (thumb.left + thumb.right) / 2, y, slider->left - 20, y);
    EXPECT_EQ(Text(RangeControl::FactorField), "0.100");
    Drag(Window(), slider->left + 2, y, slider->left + slider->width + 20, y);
    EXPECT_EQ(Text(RangeControl::FactorField), "10.000");
    EXPECT_DOUBLE_EQ(State().factor, 10.0);
}

TEST_F(RangeControlsTest, RefusedFactorsKeepTheOldOneAndScaleNothing) {
    Type(RangeControl::FactorField, "2");
    Type(RangeControl::FactorField, "fast");
    Type(RangeControl::FactorField, "-3");
    EXPECT_EQ(Text(RangeControl::FactorField), "2.000");
    ASSERT_EQ(Told().size(), 2u);
    EXPECT_EQ(
        Told()[0],
        "Sorry, but 'fast' is not a recognizable number. The scaling factor must be a number.");
    EXPECT_EQ(Told()[1],
              "Sorry, but the scaling factor must be a positive number. Negative frame durations "
              "are not possible.");
}

// The press takes the typed text from its field first; a refused text is
// told, and the old factor is not used instead.
TEST_F(RangeControlsTest, APressThatComesWithARefusedFactorScalesNothing) {
    Type(RangeControl::FactorField, "2");
    JUseWindowAlerts();
    const std::vector<std::uint32_t> before = Delays();
    Type(RangeControl::FactorField, "x", false);
    ClickControl(Control(RangeControl::ActionButton));
    EXPECT_EQ(Delays(), before);
    EXPECT_FALSE(document_->changed);
    JWindow* alert = JModalFrameworkWindow();
    ASSERT_NE(alert, nullptr);
    JWindowClose(alert);
    Settle();
    ClickControl(Control(RangeControl::ActionButton));
    EXPECT_EQ(Gif().frames[0]->delay, 2 * before[0]);
}

TEST_F(RangeControlsTest, WithFewerChoicesADelayOfZeroBecomesOne) {
    SetAllDelays(0);
    ClickControl(Control(RangeControl::ActionButton));
    EXPECT_EQ(Delays(), std::vector<std::uint32_t>(kSampleFrames, 1));
}

TEST_F(RangeControlsTest, AMinimumAboveTheMaximumSwapsTheLimits) {
    ClickControl(Control(RangeControl::ChoicesButton));
    Type(RangeControl::MaximumField, "0.05");
    Type(RangeControl::MinimumField, "0.10");
    EXPECT_EQ(State().limits.minimum, 5u);
    EXPECT_EQ(State().limits.maximum, 10u);
    EXPECT_EQ(Text(RangeControl::MinimumField), "0:00.05");
    EXPECT_EQ(Text(RangeControl::MaximumField), "0:00.10");
    SetAllDelays(15);
    SetFrameDuration(Gif(), 0, 2);
    ClickControl(Control(RangeControl::ActionButton));
    EXPECT_EQ(Gif().frames[0]->delay, 5u);
    EXPECT_EQ(Gif().frames[1]->delay, 10u);
    // And the other way round.
    Type(RangeControl::MaximumField, "0.01");
    EXPECT_EQ(State().limits.minimum, 1u);
    EXPECT_EQ(State().limits.maximum, 5u);
}

TEST_F(RangeControlsTest, GarbageInALimitFieldKeepsBothLimits) {
    ClickControl(Control(RangeControl::ChoicesButton));
    Type(RangeControl::MaximumField, "5");
    Type(RangeControl::MaximumField, "soon");
    EXPECT_EQ(State().limits.minimum, 1u);
    EXPECT_EQ(State().limits.maximum, 500u);
    EXPECT_EQ(Text(RangeControl::MaximumField), "0:05.00");
    ASSERT_EQ(Told().size(), 1u);
    EXPECT_NE(Told()[0].find("'soon' is not recognizable as a length of time"), std::string::npos);
}

TEST_F(RangeControlsTest, MoreAndFewerChoicesAreKeptInTheSettings) {
    JControl* button = Control(RangeControl::ChoicesButton);
    EXPECT_STREQ(JButtonLabel(button), "More Choices");
    EXPECT_EQ(Control(RangeControl::MinimumField), nullptr);

    ClickControl(button);
    EXPECT_STREQ(JButtonLabel(button), "Fewer Choices");
    ASSERT_NE(Control(RangeControl::MinimumField), nullptr);
    EXPECT_EQ(Setting(kMoreChoicesKey), "Yes");
    Type(RangeControl::MinimumField, "5");
    EXPECT_EQ(State().limits.minimum, 500u);

    // Another panel and back keeps the limits while more choices are shown.
    ChoosePanel(RangePanel::Deinterlace);
    ChoosePanel(RangePanel::ScaleDurations);
    EXPECT_EQ(Text(RangeControl::MinimumField), "0:05.00");

    // Fewer choices are no limits at all.
    ClickControl(Control(RangeControl::ChoicesButton));
    EXPECT_EQ(State().limits.minimum, 1u);
    EXPECT_EQ(State().limits.maximum, 65535u);
    EXPECT_EQ(Setting(kMoreChoicesKey), "No");
    ClickControl(Control(RangeControl::ChoicesButton));
    EXPECT_EQ(Text(RangeControl::MinimumField), "0:00.01");

    // The next window starts as the setting says.
    CloseRangeControls(*document_);
    OpenRangeControls(*document_);
    Settle();
    EXPECT_TRUE(State().moreChoices);
    EXPECT_STREQ(JButtonLabel(Control(RangeControl::ChoicesButton)), "Fewer Choices");
}

// --- the other panels ---

TEST_F(RangeControlsTest, RemoveCommentsEmptiesTheRangeOnly) {
    for (std::int32_t i = 0; i < kSampleFrames; ++i) {
        Gif().frames[std::size_t(i)]->comment = "frame " + std::to_string(i);
    }
    const std::string endComment = Gif().endComment;
    ChoosePanel(RangePanel::RemoveComments);
    TypeRange(3, 5);
    EXPECT_STREQ(JButtonLabel(Control(RangeControl::ActionButton)), "Remove Comments");
    ClickControl(Control(RangeControl::ActionButton));
    for (std::int32_t i = 0; i < kSampleFrames; ++i) {
        const bool inRange = i >= 2 && i <= 4;
        EXPECT_EQ(Gif().frames[std::size_t(i)]->comment,
                  inRange ? "" : "frame " + std::to_string(i))
            << "frame " << i;
    }
    EXPECT_EQ(Gif().endComment, endComment);
    EXPECT_TRUE(document_->changed);
}

TEST_F(RangeControlsTest, DeinterlaceStoresTheRangeTopToBottomWithItsPixelsKept) {
    std::vector<std::vector<std::uint8_t>> pixels;
    for (std::int32_t i = 0; i < kSampleFrames; ++i) {
        ASSERT_TRUE(SetFrameInterlaced(Gif(), i, true, false));
        const GifFrame& frame = *Gif().frames[std::size_t(i)];
        pixels.emplace_back(RectArea(frame.rect));
        ASSERT_NE(DecodeIndices(frame, true, pixels.back().data()), DecodeResult::Failed);
    }
    ChoosePanel(RangePanel::Deinterlace);
    TypeRange(11, 13);
    ClickControl(Control(RangeControl::ActionButton));
    for (std::int32_t i = 0; i < kSampleFrames; ++i) {
        const GifFrame& frame = *Gif().frames[std::size_t(i)];
        EXPECT_EQ(frame.interlaced, i < 10 || i > 12) << "frame " << i;
        std::vector<std::uint8_t> now(RectArea(frame.rect));
        ASSERT_NE(DecodeIndices(frame, frame.interlaced, now.data()), DecodeResult::Failed);
        EXPECT_EQ(now, pixels[std::size_t(i)]) << "frame " << i;
    }
    EXPECT_TRUE(document_->changed);
}

TEST_F(RangeControlsTest, AnActionThatChangesNothingLeavesTheDocumentUnchanged) {
    ChoosePanel(RangePanel::Deinterlace);
    ClickControl(Control(RangeControl::ActionButton));
    ChoosePanel(RangePanel::RemoveComments);
    ClickControl(Control(RangeControl::ActionButton));
    ChoosePanel(RangePanel::ScaleDurations);
    ClickControl(Control(RangeControl::ActionButton));  // a factor of 1
    EXPECT_FALSE(document_->changed);
}

// --- the window ---

TEST_F(RangeControlsTest, PanelsKeepTheRangeAndTheFactorWhichClosingForgets) {
    TypeRange(3, 5);
    Type(RangeControl::FactorField, "2");
    ChoosePanel(RangePanel::RemoveComments);
    EXPECT_EQ(Control(RangeControl::FactorField), nullptr);
    ChoosePanel(RangePanel::ScaleDurations);
    ExpectRange(2, 4);
    EXPECT_EQ(Text(RangeControl::FactorField), "2.000");

    ChoosePanel(RangePanel::RemoveComments);
    EXPECT_TRUE(JWindowClose(Window()));
    Settle();
    EXPECT_EQ(Window(), nullptr);
    EXPECT_EQ(State().start, -1);
    EXPECT_DOUBLE_EQ(State().factor, 1.0);

    OpenRangeControls(*document_);
    Settle();
    ExpectRange(0, kSampleFrames - 1);
    EXPECT_EQ(Text(RangeControl::FactorField), "1.000");
    EXPECT_EQ(State().panel, RangePanel::ScaleDurations);
}

TEST_F(RangeControlsTest, TheWindowMakesItsDocumentActiveWhileItIsActive) {
    Click(document_->windows.front(), 5, 5);
    Activated().clear();
    Click(Window(), 2, 2);
    ASSERT_FALSE(Activated().empty());
    EXPECT_EQ(Activated().back(), document_);
    // Closed while active: no document is active until another window is.
    Activated().clear();
    CloseRangeControls(*document_);
    ASSERT_FALSE(Activated().empty());
    EXPECT_EQ(Activated().front(), nullptr);
}

TEST_F(RangeControlsTest, OneFrameLeavesNothingToDrag) {
    if (!std::filesystem::exists(kOneFrame)) {
        GTEST_SKIP() << "no corpus at " << kOneFrame;
    }
    AppDocument* still = OpenDocument(kOneFrame.c_str());
    ASSERT_NE(still, nullptr);
    ResetRangeControls(*still);
    OpenRangeControls(*still);
    Settle();
    EXPECT_EQ(RangeControlsOf(*still).start, 0);
    EXPECT_EQ(RangeControlsOf(*still).end, 0);
    EXPECT_FALSE(RangeControlsControl(*still, RangeControl::RangeSlider)->Enabled());
    PressKey(kKeyDown);
    EXPECT_EQ(RangeControlsOf(*still).end, 0);
    CloseRangeControls(*still);
    CloseDocument(*still);
}

}  // namespace
