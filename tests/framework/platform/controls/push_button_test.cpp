// Push buttons pressed with the mouse and the keyboard, and their looks.
#include "framework/platform/controls/push_button.h"

#include "tests/framework/platform/controls_fixture.h"

namespace {

class PushButtonTest : public HeadlessControls {
protected:
    JWnd MakeButton(const char* label, int id, JRect bounds, std::uint32_t style = 0) {
        return JCreatePushButton(Spec(bounds, id, label, style));
    }
};

TEST_F(PushButtonTest, AClickNotifiesTheParentOnce) {
    const JWnd button = MakeButton("OK", 10, JRect{20, 20, 100, 44});
    PumpDialog();
    Click(button, 30, 10);
    PumpDialog();
    EXPECT_EQ(CountOf(button, kNotifyClicked), 1);
    const JMessage* command = Log().Last(dialog, JMsg::Command);
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->code, 10);
    EXPECT_EQ(JFocusWindow(), button);
}

TEST_F(PushButtonTest, LooksPressedWhileTheMouseIsDownOnIt) {
    const JWnd button = MakeButton("Press", 10, JRect{20, 20, 100, 44});
    PumpDialog();
    const JPoint inside = At(button, 5, 5);
    const std::uint32_t before = Shown(inside.x, inside.y);
    Drag(button, 5, 5, 8, 5);
    PumpUntilPending(1);  // pressed and moved; the release still waits
    EXPECT_TRUE(JPushButtonIsPressed(button));
    EXPECT_NE(Shown(inside.x, inside.y), before);  // the bevel turns flat
    PumpDialog();
    EXPECT_FALSE(JPushButtonIsPressed(button));
    EXPECT_EQ(CountOf(button, kNotifyClicked), 1);
}

TEST_F(PushButtonTest, ReleasingOutsideDoesNotPress) {
    const JWnd button = MakeButton("Press", 10, JRect{20, 20, 100, 44});
    PumpDialog();
    Drag(button, 10, 10, 200, 100);
    PumpDialog();
    EXPECT_EQ(CountOf(button, kNotifyClicked), 0);
    EXPECT_FALSE(JPushButtonIsPressed(button));
}

TEST_F(PushButtonTest, SpacePressesTheFocusedButton) {
    const JWnd button = MakeButton("Go", 10, JRect{20, 20, 100, 44});
    JSetFocus(button);
    JHeadlessPressKey(kKeySpace);
    PumpDialog();
    EXPECT_EQ(CountOf(button, kNotifyClicked), 1);
}

TEST_F(PushButtonTest, ReturnPressesTheDefaultButton) {
    const JWnd cancel = MakeButton("Cancel", kIdCancel, JRect{20, 60, 100, 84});
    const JWnd ok = MakeButton("OK", kIdOk, JRect{20, 20, 100, 44}, kBsDefault);
    EXPECT_TRUE(JPushButtonIsDefault(ok));
    EXPECT_EQ(JDefaultButton(dialog), ok);
    JActivateWindow(dialog);
    JHeadlessPressKey(kKeyReturn);
    PumpDialog();
    const JMessage* command = Log().Last(dialog, JMsg::Command);
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->code, kIdOk);
    JHeadlessPressKey(kKeyEscape);
    PumpDialog();
    command = Log().Last(dialog, JMsg::Command);
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->code, kIdCancel);
    EXPECT_EQ(command->source, cancel);
}

TEST_F(PushButtonTest, TheDefaultLookCanMove) {
    const JWnd first = MakeButton("One", 10, JRect{20, 20, 100, 44}, kBsDefault);
    const JWnd second = MakeButton("Two", 11, JRect{20, 60, 100, 84});
    JPushButtonSetDefault(first, false);
    JPushButtonSetDefault(second, true);
    PumpDialog();
    EXPECT_EQ(JDefaultButton(dialog), second);
    // The default button wears a black frame around its raised edge.
    const JPoint corner = At(second, 0, 0);
    EXPECT_EQ(Shown(corner.x, corner.y), 0x000000u);
    EXPECT_EQ(Shown(corner.x + 1, corner.y + 1), 0xFFFFFFu);
    const JPoint plain = At(first, 0, 0);
    EXPECT_EQ(Shown(plain.x, plain.y), 0xFFFFFFu);
}

}  // namespace
