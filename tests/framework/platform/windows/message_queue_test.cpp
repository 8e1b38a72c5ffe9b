// The queue: posting, sending, peeking with filters, capture, focus and the
// dialog keys.
#include "framework/platform/system/clock.h"
#include "tests/framework/platform/windows_fixture.h"

namespace {

constexpr std::uint32_t kRed = 0xC02020;
constexpr std::uint32_t kBlue = 0x2040C0;
constexpr std::uint32_t kGreen = 0x20A040;
constexpr JMsg kPing = static_cast<JMsg>(static_cast<int>(JMsg::User) + 1);

class MessageQueueTest : public HeadlessWindows {};

TEST_F(MessageQueueTest, APeekFilteredToOneWindowLeavesTheOthersQueued) {
    const JWnd a = MakeWindow("a", JRect{20, 20, 120, 120}, kWsDocument, kRed);
    const JWnd b = MakeWindow("b", JRect{200, 20, 300, 120}, kWsDocument, kBlue);
    Pump();
    JPostMessage(JMakeMessage(a, kPing, 1));
    JPostMessage(JMakeMessage(b, kPing, 2));
    JMessage message;
    ASSERT_TRUE(JPeekMessage(&message, b, kPeekKeep));
    EXPECT_EQ(message.window, b);
    ASSERT_TRUE(JPeekMessage(&message, b, kPeekRemove));
    EXPECT_EQ(message.code, 2);
    EXPECT_FALSE(JPeekMessage(&message, b, kPeekRemove));
    ASSERT_TRUE(JPeekMessage(&message, kNoWindow, kPeekRemove));
    EXPECT_EQ(message.window, a);
    EXPECT_EQ(message.code, 1);
}

TEST_F(MessageQueueTest, AFilterTakesTheWindowsChildrenToo) {
    const JWnd window = MakeWindow("a", JRect{20, 20, 220, 120}, kWsDocument, kRed);
    const JWnd child = MakeChild(window, JRect{5, 5, 50, 25}, 3, 0, kGreen);
    Pump();
    JPostMessage(JMakeMessage(child, kPing));
    JMessage message;
    ASSERT_TRUE(JPeekMessage(&message, window, kPeekRemove));
    EXPECT_EQ(message.window, child);
}

TEST_F(MessageQueueTest, APaintOnlyPeekSkipsQueuedMessagesAndInput) {
    const JWnd window = MakeWindow("a", JRect{20, 20, 220, 120}, kWsDocument, kRed);
    Pump();
    JPostMessage(JMakeMessage(window, kPing));
    JHeadlessClick(50, 60);
    JInvalidateRect(window, nullptr);
    JMessage message;
    ASSERT_TRUE(JPeekMessage(&message, kNoWindow, kPeekPaintOnly));
    EXPECT_EQ(message.type, JMsg::Paint);
    JUpdateAllWindows();
    EXPECT_FALSE(JPeekMessage(&message, kNoWindow, kPeekPaintOnly));
    EXPECT_EQ(JHeadlessPendingEvents(), 3);
    ASSERT_TRUE(JPeekMessage(&message, kNoWindow, kPeekRemove));
    EXPECT_EQ(message.type, kPing);
}

TEST_F(MessageQueueTest, PostedMessagesComeBeforeInputAndPaint) {
    const JWnd window = MakeWindow("a", JRect{20, 20, 220, 120}, kWsDocument, kRed);
    JHeadlessClick(50, 60);
    JPostMessage(JMakeMessage(window, kPing));
    JMessage message;
    ASSERT_TRUE(JPeekMessage(&message));
    EXPECT_EQ(message.type, kPing);
    ASSERT_TRUE(JPeekMessage(&message));
    EXPECT_EQ(message.type, JMsg::MouseMove);
}

TEST_F(MessageQueueTest, SendCallsTheProcedureAtOnce) {
    const JWnd window = MakeWindow("a", JRect{20, 20, 220, 120}, kWsDocument, kRed);
    JSendMessage(window, kPing, 7);
    ASSERT_NE(Log().Last(window, kPing), nullptr);
    EXPECT_EQ(Log().Last(window, kPing)->code, 7);
    EXPECT_FALSE(JPostMessage(JMakeMessage(999999, kPing)));
}

TEST_F(MessageQueueTest, TheCaptureGetsThePointerOutsideItsWindow) {
    const JWnd window = MakeWindow("a", JRect{20, 20, 220, 160}, kWsDocument, kRed);
    const JWnd button = MakeChild(window, JRect{10, 10, 60, 30}, 1, 0, kGreen);
    Log().captureOnPress = button;
    Pump();
    const JPoint press = JClientToFrame(button, JPoint{5, 5});
    JHeadlessDrag(press.x, press.y, 400, 300);
    Pump();
    EXPECT_EQ(Log().Count(button, JMsg::MouseDown), 1);
    const JMessage* release = Log().Last(button, JMsg::MouseUp);
    ASSERT_NE(release, nullptr);
    const JPoint expected = JFrameToClient(button, JPoint{400, 300});
    EXPECT_EQ(release->x, expected.x);
    EXPECT_EQ(release->y, expected.y);
    EXPECT_GE(Log().Count(button, JMsg::MouseMove), 3);
    EXPECT_EQ(Log().Count(button, JMsg::CaptureLost), 1);
    EXPECT_EQ(JCaptureWindow(), kNoWindow);
}

TEST_F(MessageQueueTest, TwoQuickClicksMakeADoubleClick) {
    const JWnd window = MakeWindow("a", JRect{20, 20, 220, 160}, kWsDocument, kRed);
    Pump();
    JHeadlessClick(60, 80);
    JHeadlessClick(61, 80);
    Pump();
    const JMessage* second = Log().Last(window, JMsg::MouseDown);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->clicks, 2);
}

TEST_F(MessageQueueTest, KeysGoToTheFocusAndCharactersFollow) {
    const JWnd window = MakeWindow("a", JRect{20, 20, 220, 160}, kWsDocument, kRed);
    const JWnd field = MakeChild(window, JRect{10, 10, 100, 30}, 1, kWsTabStop, kGreen);
    JSetFocus(field);
    EXPECT_EQ(Log().Count(field, JMsg::SetFocus), 1);
    JHeadlessTypeText("hi");
    JHeadlessPressKey(kKeyBackspace);
    JHeadlessPressKey(kKeyShift, kModShift);
    Pump();
    std::string typed;
    for (const JMessage& m : Log().messages) {
        if (m.window == field && m.type == JMsg::Char) {
            typed.push_back(static_cast<char>(m.key));
        }
    }
    EXPECT_EQ(typed, "hi\b");
    EXPECT_EQ(Log().Count(field, JMsg::KeyDown), 4);
    EXPECT_FALSE(JKeyIsDown('H'));
}

TEST_F(MessageQueueTest, TheIdleWaitEndsAtOnceWhenSomethingIsWaiting) {
    const JWnd window = MakeWindow("a", JRect{20, 20, 120, 120}, kWsDocument, kRed);
    Pump();
    std::uint32_t before = JTickCount();
    EXPECT_FALSE(JWaitForMessage(50));
    EXPECT_GE(JTickCount() - before, 50u);  // the headless clock ran on instead

    JPostMessage(JMakeMessage(window, kPing));
    before = JTickCount();
    EXPECT_TRUE(JWaitForMessage(50));
    EXPECT_LT(JTickCount() - before, 50u);
    Pump();

    JHeadlessClick(60, 60);
    EXPECT_TRUE(JWaitForMessage(50));
    Pump();

    JInvalidateRect(window, nullptr);
    EXPECT_TRUE(JWaitForMessage(50));
    Pump();
    EXPECT_FALSE(JWaitForMessage(0));
}

TEST_F(MessageQueueTest, ActivationGivesTheFocusBackToTheChildThatHadIt) {
    const JWnd a = MakeWindow("a", JRect{20, 20, 220, 160}, kWsDocument, kRed);
    const JWnd field = MakeChild(a, JRect{10, 10, 100, 30}, 1, kWsTabStop, kGreen);
    JSetFocus(field);
    const JWnd b = MakeWindow("b", JRect{300, 20, 500, 160}, kWsDocument, kBlue);
    EXPECT_EQ(JFocusWindow(), b);
    EXPECT_EQ(Log().Count(field, JMsg::KillFocus), 1);
    JActivateWindow(a);
    EXPECT_EQ(JFocusWindow(), field);
}

class DialogKeysTest : public HeadlessWindows {
protected:
    void SetUp() override {
        HeadlessWindows::SetUp();
        dialog = MakeWindow("dialog", JRect{50, 50, 350, 250}, kWsModalWindow | kWsDialog, kRed);
        first = MakeChild(dialog, JRect{10, 10, 100, 30}, 10, kWsTabStop, kGreen);
        label = MakeChild(dialog, JRect{10, 40, 100, 60}, 11, 0, kGreen);
        second = MakeChild(dialog, JRect{10, 70, 100, 90}, 12, kWsTabStop, kGreen);
        ok = MakeChild(dialog, JRect{10, 100, 60, 120}, kIdOk, kWsTabStop, kBlue);
        Log().dialogCodes[ok] = kDlgButton | kDlgDefaultButton;
        JSetFocus(first);
        Pump(dialog);
    }
    const JMessage* LastCommand() const { return Log().Last(dialog, JMsg::Command); }

    JWnd dialog = kNoWindow;
    JWnd first = kNoWindow;
    JWnd label = kNoWindow;
    JWnd second = kNoWindow;
    JWnd ok = kNoWindow;
};

TEST_F(DialogKeysTest, TabVisitsTheTabStopsInOrderAndWraps) {
    JHeadlessPressKey(kKeyTab);
    Pump(dialog);
    EXPECT_EQ(JFocusWindow(), second);
    JHeadlessPressKey(kKeyTab);
    JHeadlessPressKey(kKeyTab);
    Pump(dialog);
    EXPECT_EQ(JFocusWindow(), first);
    JHeadlessPressKey(kKeyTab, kModShift);
    Pump(dialog);
    EXPECT_EQ(JFocusWindow(), ok);
    EXPECT_EQ(Log().Count(first, JMsg::Char), 0);
    EXPECT_EQ(Log().Count(label, JMsg::SetFocus), 0);
}

TEST_F(DialogKeysTest, ReturnPressesTheDefaultButton) {
    JHeadlessPressKey(kKeyReturn);
    Pump(dialog);
    const JMessage* command = LastCommand();
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->code, kIdOk);
    EXPECT_EQ(command->source, ok);
}

TEST_F(DialogKeysTest, ReturnGoesToAControlThatWantsIt) {
    Log().dialogCodes[first] = kDlgWantsReturn;
    JHeadlessPressKey(kKeyReturn);
    Pump(dialog);
    EXPECT_EQ(LastCommand(), nullptr);
    EXPECT_EQ(Log().Count(first, JMsg::Char), 1);
}

TEST_F(DialogKeysTest, EscapeCancels) {
    JHeadlessPressKey(kKeyEscape);
    Pump(dialog);
    const JMessage* command = LastCommand();
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->code, kIdCancel);
    EXPECT_EQ(command->source, kNoWindow);
}

}  // namespace
