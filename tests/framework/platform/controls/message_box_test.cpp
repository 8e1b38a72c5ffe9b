// Message boxes answered with Return, Escape and the mouse while they block
// the windows behind them.
#include "framework/platform/controls/message_box.h"

#include "tests/framework/platform/controls_fixture.h"

namespace {

// What the user does once the box is up; runs at the loop's first idle.
void (*g_userAction)(JWnd box) = nullptr;
int g_idleCalls = 0;

void AnswerLikeAUser(JWnd box) {
    ++g_idleCalls;
    if (g_userAction != nullptr) {
        auto action = g_userAction;
        g_userAction = nullptr;
        action(box);
    } else if (JHeadlessPendingEvents() == 0) {
        ADD_FAILURE() << "the message box waits for input that never comes";
        JHeadlessPressKey(kKeyEscape);
    }
}

class MessageBoxTest : public HeadlessControls {
protected:
    void SetUp() override {
        HeadlessControls::SetUp();
        g_userAction = nullptr;
        g_idleCalls = 0;
        JSetModalIdleHook(AnswerLikeAUser);
    }
    void TearDown() override {
        JSetModalIdleHook(nullptr);
        HeadlessControls::TearDown();
    }
    static JMessageBoxSpec Box(JMessageButtons buttons, int defaultButton = 0,
                               JMessageIcon icon = JMessageIcon::Question) {
        JMessageBoxSpec spec;
        spec.title = "File Exists";
        spec.text = "A file with the name 'x.gif' already exists. Overwrite this file?";
        spec.icon = icon;
        spec.buttons = buttons;
        spec.defaultButton = defaultButton;
        return spec;
    }
};

TEST_F(MessageBoxTest, ReturnChoosesTheDefaultButton) {
    JHeadlessPressKey(kKeyReturn);
    EXPECT_EQ(JMessageBox(Box(JMessageButtons::YesNo, 1)), kIdNo);
    JHeadlessPressKey(kKeyReturn);
    EXPECT_EQ(JMessageBox(Box(JMessageButtons::YesNo, 0)), kIdYes);
    JHeadlessPressKey(kKeyReturn);
    EXPECT_EQ(JMessageBox(Box(JMessageButtons::OkCancel, 1)), kIdCancel);
    EXPECT_EQ(JCurrentMessageBox(), kNoWindow);
}

TEST_F(MessageBoxTest, EscapeChoosesCancelNoOrOk) {
    JHeadlessPressKey(kKeyEscape);
    EXPECT_EQ(JMessageBox(Box(JMessageButtons::YesNo)), kIdNo);
    JHeadlessPressKey(kKeyEscape);
    EXPECT_EQ(JMessageBox(Box(JMessageButtons::OkCancel)), kIdCancel);
    JHeadlessPressKey(kKeyEscape);
    EXPECT_EQ(JMessageBox(Box(JMessageButtons::Ok, 0, JMessageIcon::Stop)), kIdOk);
}

TEST_F(MessageBoxTest, TabMovesTheFocusToTheOtherButton) {
    JHeadlessPressKey(kKeyTab);
    JHeadlessPressKey(kKeyReturn);
    EXPECT_EQ(JMessageBox(Box(JMessageButtons::OkCancel, 0)), kIdCancel);
}

TEST_F(MessageBoxTest, ClickingAButtonAnswers) {
    g_userAction = [](JWnd box) {
        const JWnd yes = JWindowChildWithId(box, kIdYes);
        const JPoint point = JClientToFrame(yes, JPoint{10, 10});
        JHeadlessClick(point.x, point.y);
    };
    EXPECT_EQ(JMessageBox(Box(JMessageButtons::YesNo, 1)), kIdYes);
}

TEST_F(MessageBoxTest, BlocksTheWindowsBehindAndShowsItsIcon) {
    g_userAction = [](JWnd box) {
        EXPECT_EQ(JModalWindow(), box);
        // The icon's centre is drawn in the stop sign's red.
        const JPoint icon = JClientToFrame(box, JPoint{28, 20});
        EXPECT_EQ(JHeadlessFramePixels().At(icon.x, icon.y), 0xD00000u);
        JHeadlessClick(45, 390);  // the document window's corner, behind the box
        JHeadlessPressKey(kKeyReturn);
    };
    const int beeps = JHeadlessBeepCount();
    JMessageBoxSpec spec = Box(JMessageButtons::Ok, 0, JMessageIcon::Stop);
    spec.text = "Short.";
    EXPECT_EQ(JMessageBox(spec), kIdOk);
    EXPECT_EQ(JHeadlessBeepCount(), beeps + 1);
    EXPECT_EQ(Log().Count(dialog, JMsg::MouseDown), 0);
    EXPECT_GE(g_idleCalls, 1);
    EXPECT_EQ(JModalWindow(), kNoWindow);
}

TEST_F(MessageBoxTest, AllIconsDraw) {
    for (JMessageIcon icon : {JMessageIcon::Stop, JMessageIcon::Caution, JMessageIcon::Information,
                              JMessageIcon::Question}) {
        g_userAction = [](JWnd box) {
            const JPoint icon = JClientToFrame(box, JPoint{28, 28});
            EXPECT_NE(JHeadlessFramePixels().At(icon.x, icon.y), 0xC0C0C0u);
            JHeadlessPressKey(kKeyEscape);
        };
        EXPECT_EQ(JMessageBox(Box(JMessageButtons::OkCancel, 0, icon)), kIdCancel);
    }
}

}  // namespace
