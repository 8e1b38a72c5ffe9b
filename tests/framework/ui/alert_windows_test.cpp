#include "framework/ui/alert_windows.h"

#include "framework/ui/menus.h"
#include "framework/ui/picture_controls.h"
#include "framework/ui/push_buttons.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

class AlertWindows : public FrameworkTest {
protected:
    void TearDown() override {
        JSetAlertDriver(nullptr);
        FrameworkTest::TearDown();
    }
    static bool AskWithKey(std::uint16_t key, std::uint16_t modifiers = 0) {
        JHeadlessPressKey(key, modifiers);
        return JAlertAsk(nullptr, AlertKind::Caution, "The new file is larger. Save it anyway?",
                         "Save", "Cancel");
    }
};

struct Answers {
    int count = 0;
    bool first = false;
};

void Note(void* data, bool first) {
    auto* answers = static_cast<Answers*>(data);
    ++answers->count;
    answers->first = first;
}

void CountTimer(void* data) {
    ++*static_cast<int*>(data);
}

void CountAndAnswer(void* data) {
    CountTimer(data);
    JHeadlessPressKey(kKeyReturn);
}

TEST_F(AlertWindows, ReturnChoosesTheFirstButtonAndEscapeTheSecond) {
    EXPECT_TRUE(AskWithKey(kKeyReturn));
    EXPECT_FALSE(AskWithKey(kKeyEscape));
}

TEST_F(AlertWindows, AButtonsFirstLetterChoosesIt) {
    EXPECT_FALSE(AskWithKey('C'));
    EXPECT_TRUE(AskWithKey('S', kModAlt));
}

TEST_F(AlertWindows, AOneButtonAlertIgnoresEscape) {
    Answers answers;
    JAlertTell(nullptr, AlertKind::Stop, "Sorry, that cannot be done.", "Ok", nullptr, Note,
               &answers);
    JHeadlessPressKey(kKeyEscape);
    Settle();
    EXPECT_EQ(answers.count, 0);
    JHeadlessPressKey(kKeyReturn);
    Settle();
    EXPECT_EQ(answers.count, 1);
    EXPECT_TRUE(answers.first);
}

TEST_F(AlertWindows, AClickOnTheSecondButtonAnswersFalse) {
    Answers answers;
    JWindow* alert = JAlertBuild(nullptr, nullptr, AlertKind::Information, "Done.", "Ok",
                                 "More Info", Note, &answers);
    JWindowShow(alert);
    Settle();
    JControl* second = JAlertButton(alert, 1);
    Click(alert, second->left + second->width / 2, second->top + second->height / 2);
    EXPECT_EQ(answers.count, 1);
    EXPECT_FALSE(answers.first);
}

TEST_F(AlertWindows, AShortMessageStillLeavesRoomForThePictureAndButtons) {
    JWindow* alert =
        JAlertBuild(nullptr, nullptr, AlertKind::Stop, "No.", "Ok", nullptr, nullptr, nullptr);
    JControl* button = JAlertButton(alert, 0);
    JControl* picture = JAlertPicture(alert);
    EXPECT_EQ(alert->height, 36 + button->height + 8);
    EXPECT_EQ(button->top + button->height, alert->height - 4);
    EXPECT_EQ(JPictureNumber(picture), 128);
    EXPECT_GE(picture->top, 0);
    EXPECT_LE(picture->top + picture->height, alert->height);
    EXPECT_LE(picture->left + picture->width, button->left);  // the button sits beside it
    EXPECT_EQ(alert->title, "");                              // no title given: an empty title bar
    JWindowDestroy(alert);
}

TEST_F(AlertWindows, ButtonsSitAnEqualGapFromTheEdgesAndEachOther) {
    JWindow* alert = JAlertBuild(nullptr, "Title", AlertKind::Caution, "Keep going?", "Ok",
                                 "Skip warnings", nullptr, nullptr);
    JControl* first = JAlertButton(alert, 0);
    JControl* second = JAlertButton(alert, 1);
    const int gap = (alert->width - first->width - second->width) / 3;
    EXPECT_EQ(second->left, gap);
    EXPECT_EQ(first->left + first->width, alert->width - gap);
    EXPECT_EQ(second->top, first->top + (first->height - second->height) / 2);
    // The message clears the picture.
    EXPECT_GE(JAlertMessage(alert)->left, JAlertPicture(alert)->left + 32);
    JWindowDestroy(alert);
}

TEST_F(AlertWindows, AskKeepsTimersRunningAndAskPrebuiltDoesNot) {
    // A timer that runs while the alert waits answers it.
    int ran = 0;
    JTimerNew(CountAndAnswer, &ran, 0);
    EXPECT_TRUE(JAlertAsk(nullptr, AlertKind::Stop, "Wait.", "Ok", nullptr));
    EXPECT_EQ(ran, 1);

    JWindow* prebuilt = JAlertBuild(nullptr, nullptr, AlertKind::Stop, "Out of memory.", "Quit",
                                    nullptr, nullptr, nullptr);
    JTimerNew(CountTimer, &ran, 0);
    JHeadlessWait(200);
    JHeadlessPressKey(kKeyReturn);
    EXPECT_TRUE(JAlertAskPrebuilt(prebuilt));
    EXPECT_EQ(ran, 1);
    Settle();
    JEventStep(nullptr, false);
    EXPECT_EQ(ran, 2);
}

TEST_F(AlertWindows, TheMenusAreLockedWhileAnAlertIsUp) {
    JUiMenuBar* bar = JUiMenuBarNew();
    JUiMenu* file = JUiMenuFromEncoded("FFile");
    JUiMenuAddItem(file, JUiItemFromEncoded("OOOpen..."));
    JUiMenuBarAdd(bar, nullptr, file);
    JUiMenuBarInstall(bar);
    JUiMenuSetEnabled(file, true);
    JWindow* alert =
        JAlertBuild(nullptr, nullptr, AlertKind::Stop, "Busy.", "Ok", nullptr, nullptr, nullptr);
    JWindowShow(alert);
    EXPECT_FALSE(file->Enabled());
    JHeadlessPressKey(kKeyReturn);
    Settle();
    EXPECT_TRUE(file->Enabled());
}

TEST_F(AlertWindows, TheDriverShowsWindowsUntilTheStandardOneIsPutBack) {
    JUseWindowAlerts();
    const int beeps = JHeadlessBeepCount();
    JBeep();
    EXPECT_EQ(JHeadlessBeepCount(), beeps + 1);
    const int windows = JWindowCount();
    JTellSimply("Sorry.", "Ok");
    EXPECT_EQ(JWindowCount(), windows + 1);
    JHeadlessPressKey(kKeyReturn);
    Settle();
    EXPECT_EQ(JWindowCount(), windows);
    JSetAlertDriver(nullptr);
    testing::internal::CaptureStderr();
    JTellSimply("Sorry.", "Ok");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Sorry.\n");
    EXPECT_EQ(JWindowCount(), windows);
}

}  // namespace

namespace {

class ThreeWayAlert : public FrameworkTest {
protected:
    static int ChooseWithKey(std::uint16_t key) {
        JHeadlessPressKey(key);
        return JAlertChoose(nullptr, AlertKind::Caution,
                            "Save changes to \"ball.gif\" before closing?", "Save", "Don't Save",
                            "Cancel");
    }
};

TEST_F(ThreeWayAlert, ReturnSavesEscapeCancelsAndALetterChooses) {
    EXPECT_EQ(ChooseWithKey(kKeyReturn), 0);
    EXPECT_EQ(ChooseWithKey(kKeyEscape), 2);
    EXPECT_EQ(ChooseWithKey('D'), 1);
    EXPECT_EQ(ChooseWithKey('C'), 2);
}

}  // namespace
