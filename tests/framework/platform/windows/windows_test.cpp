// Windows driven as a user would: dragging captions, resizing by borders,
// clicking between overlapping windows, a modal window in the way.
#include "tests/framework/platform/windows_fixture.h"

namespace {

constexpr std::uint32_t kRed = 0xC02020;
constexpr std::uint32_t kBlue = 0x2040C0;
constexpr std::uint32_t kGreen = 0x20A040;

class WindowsTest : public HeadlessWindows {};

TEST_F(WindowsTest, DraggingTheCaptionMovesTheWindow) {
    const JWnd window = MakeWindow("doc", JRect{50, 50, 250, 200}, kWsDocument, kRed);
    Pump();
    const JPoint grip = CaptionPoint(window);
    JHeadlessDrag(grip.x, grip.y, grip.x + 100, grip.y + 80);
    Pump();
    EXPECT_EQ(JWindowBounds(window).left, 150);
    EXPECT_EQ(JWindowBounds(window).top, 130);
    ASSERT_NE(Log().Last(window, JMsg::Move), nullptr);
    EXPECT_EQ(Log().Last(window, JMsg::Move)->x, 150);
    EXPECT_EQ(Log().Count(window, JMsg::MouseDown), 0);
    // The frame shows the window at its new place and the workspace at the old.
    const JRect client = JWindowClientBounds(window);
    EXPECT_EQ(Shown(client.left + 5, client.top + 5), kRed);
    EXPECT_EQ(Shown(60, 100), kWorkspace);
}

TEST_F(WindowsTest, DraggingTheRightBorderWidensTheWindow) {
    const JWnd window = MakeWindow("doc", JRect{50, 50, 250, 200}, kWsDocument | kWsSizing, kRed);
    Pump();
    JHeadlessDrag(248, 120, 308, 120);
    Pump();
    EXPECT_EQ(JWindowBounds(window).left, 50);
    EXPECT_EQ(JWindowBounds(window).right, 310);
    const JMessage* size = Log().Last(window, JMsg::Size);
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size->width, JWindowClientRect(window).Width());
    EXPECT_EQ(Shown(JWindowClientBounds(window).right - 2, 120), kRed);
}

TEST_F(WindowsTest, DraggingACornerKeepsTheMinimumSize) {
    const JWnd window = MakeWindow("doc", JRect{100, 100, 300, 260}, kWsDocument | kWsSizing, kRed);
    JSetWindowSizeLimits(window, 120, 90, 1000, 1000);
    Pump();
    JHeadlessDrag(101, 101, 301, 301);  // the top-left corner past the bottom-right one
    Pump();
    EXPECT_EQ(JWindowBounds(window).right, 300);
    EXPECT_EQ(JWindowBounds(window).bottom, 260);
    EXPECT_EQ(JWindowBounds(window).Width(), 120);
    EXPECT_EQ(JWindowBounds(window).Height(), 90);
}

TEST_F(WindowsTest, ABorderWithoutSizingDoesNotResize) {
    const JWnd window = MakeWindow("doc", JRect{50, 50, 250, 200}, kWsDocument, kRed);
    Pump();
    JHeadlessDrag(249, 120, 309, 120);
    Pump();
    EXPECT_EQ(JWindowBounds(window).right, 250);
}

TEST_F(WindowsTest, ClickingTheWindowBehindActivatesAndRaisesIt) {
    const JWnd back = MakeWindow("back", JRect{20, 20, 220, 180}, kWsDocument, kRed);
    const JWnd front = MakeWindow("front", JRect{120, 80, 320, 240}, kWsDocument, kBlue);
    Pump();
    EXPECT_EQ(JActiveWindow(), front);
    EXPECT_EQ(JTopLevelAt(0), front);
    EXPECT_EQ(Shown(150, 150), kBlue);

    JHeadlessClick(60, 120);
    Pump();
    EXPECT_EQ(JActiveWindow(), back);
    EXPECT_EQ(JTopLevelAt(0), back);
    EXPECT_EQ(Shown(150, 150), kRed);
    ASSERT_NE(Log().Last(front, JMsg::Activate), nullptr);
    EXPECT_EQ(Log().Last(front, JMsg::Activate)->code, 0);
    EXPECT_EQ(Log().Last(back, JMsg::Activate)->code, 1);
    const JMessage* press = Log().Last(back, JMsg::MouseDown);
    ASSERT_NE(press, nullptr);
    const JPoint expected = JFrameToClient(back, JPoint{60, 120});
    EXPECT_EQ(press->x, expected.x);
    EXPECT_EQ(press->y, expected.y);
    EXPECT_EQ(JFocusWindow(), back);
}

TEST_F(WindowsTest, FloatingWindowsStayAboveDocumentWindows) {
    const JWnd floating = MakeWindow("tools", JRect{10, 10, 110, 110}, kWsFloating, kGreen);
    const JWnd document = MakeWindow("doc", JRect{50, 50, 250, 200}, kWsDocument, kRed);
    Pump();
    EXPECT_EQ(JTopLevelAt(0), floating);
    EXPECT_EQ(JActiveWindow(), document);
    EXPECT_EQ(Shown(80, 80), kGreen);
}

TEST_F(WindowsTest, AModalWindowBlocksTheFrameAndTheOtherWindows) {
    const JWnd document = MakeWindow("doc", JRect{20, 20, 220, 180}, kWsDocument, kRed);
    const JWnd modal = MakeWindow("alert", JRect{300, 200, 500, 320}, kWsModalWindow, kBlue);
    Pump();
    EXPECT_EQ(JModalWindow(), modal);
    EXPECT_EQ(JActiveWindow(), modal);
    EXPECT_FALSE(JWindowTakesInput(document));
    EXPECT_FALSE(JWindowTakesInput(frame));
    const int beeps = JHeadlessBeepCount();

    JHeadlessClick(60, 120);   // on the document
    JHeadlessClick(600, 450);  // on the frame's workspace
    const JPoint grip = CaptionPoint(document);
    JHeadlessDrag(grip.x, grip.y, grip.x + 50, grip.y + 50);
    JHeadlessPressKey('A');
    Pump();
    EXPECT_EQ(Log().Count(document, JMsg::MouseDown), 0);
    EXPECT_EQ(Log().Count(frame, JMsg::MouseDown), 0);
    EXPECT_EQ(JWindowBounds(document).left, 20);
    EXPECT_EQ(JActiveWindow(), modal);
    EXPECT_EQ(JHeadlessBeepCount(), beeps + 3);
    EXPECT_EQ(Log().Count(modal, JMsg::KeyDown), 1);
    EXPECT_EQ(Log().Count(document, JMsg::KeyDown), 0);

    JHideWindow(modal);
    Pump();
    EXPECT_EQ(JModalWindow(), kNoWindow);
    EXPECT_EQ(JActiveWindow(), document);
    JHeadlessClick(60, 120);
    Pump();
    EXPECT_EQ(Log().Count(document, JMsg::MouseDown), 1);
}

TEST_F(WindowsTest, AWindowOwnedByTheModalWindowStaysUsable) {
    const JWnd modal = MakeWindow("alert", JRect{100, 100, 300, 250}, kWsModalWindow, kBlue);
    JWindowSpec spec;
    spec.className = "JChildWindow";
    spec.style = kWsPopup | kWsNoActivate;
    spec.bounds = JRect{400, 100, 500, 200};
    spec.owner = modal;
    const JWnd popup = JCreateWindow(spec);
    JShowWindow(popup);
    Pump();
    JHeadlessClick(450, 150);
    Pump();
    EXPECT_EQ(Log().Count(popup, JMsg::MouseDown), 1);
    EXPECT_EQ(JActiveWindow(), modal);
}

TEST_F(WindowsTest, TheCloseBoxClosesAndTheNextWindowBecomesActive) {
    const JWnd back = MakeWindow("back", JRect{20, 20, 220, 180}, kWsDocument, kRed);
    const JWnd front = MakeWindow("front", JRect{120, 80, 320, 240}, kWsDocument, kBlue);
    Pump();
    JHeadlessClick(320 - 2 - 2 - 8, 80 + 2 + 10);  // the middle of the close box
    Pump();
    EXPECT_FALSE(JIsWindow(front));
    ASSERT_NE(Log().Last(front, JMsg::Close), nullptr);
    EXPECT_EQ(Log().Count(front, JMsg::Destroy), 1);
    EXPECT_EQ(JActiveWindow(), back);
    EXPECT_EQ(Shown(250, 200), kWorkspace);
}

TEST_F(WindowsTest, TheMaximiseBoxFillsTheFrameAndRestores) {
    const JWnd window =
        MakeWindow("doc", JRect{50, 50, 250, 200}, kWsDocument | kWsSizing | kWsMaximiseBox, kRed);
    Pump();
    JSendMessage(window, JMsg::SysCommand, kScMaximise);
    Pump();
    EXPECT_TRUE(JIsMaximised(window));
    EXPECT_EQ(JWindowBounds(window).Width(), kFrameWidth);
    EXPECT_EQ(JWindowBounds(window).Height(), kFrameHeight);
    JHeadlessResizeFrame(700, 500);
    Pump();
    EXPECT_EQ(JWindowBounds(window).Width(), 700);
    JSendMessage(window, JMsg::SysCommand, kScRestore);
    EXPECT_EQ(JWindowBounds(window).left, 50);
    EXPECT_EQ(JWindowBounds(window).Width(), 200);
}

TEST_F(WindowsTest, MinimisingCollapsesToTheCaptionAtTheBottomAndRestoresAsItWas) {
    const std::uint32_t style = kWsDocument | kWsSizing | kWsMaximiseBox;
    const JWnd first = MakeWindow("one", JRect{50, 50, 250, 200}, style, kRed);
    const JWnd second = MakeWindow("two", JRect{80, 80, 300, 260}, style, kBlue);
    Pump();
    JSendMessage(second, JMsg::SysCommand, kScMaximise);
    JSendMessage(first, JMsg::SysCommand, kScMinimise);
    JSendMessage(second, JMsg::SysCommand, kScMinimise);
    Pump();
    ASSERT_TRUE(JIsMinimised(first));
    ASSERT_TRUE(JIsMinimised(second));
    const JRect borders = JWindowBorders(first);
    const JRect client = JFrameClientRect();
    const JRect one = JWindowBounds(first);
    const JRect two = JWindowBounds(second);
    // Side by side along the bottom, each only its caption high.
    EXPECT_EQ(one.Height(), borders.top + borders.bottom);
    EXPECT_EQ(one.bottom, client.Height());
    EXPECT_EQ(two.bottom, client.Height());
    EXPECT_EQ(two.left, one.right);
    EXPECT_TRUE(JWindowClientRect(first).Empty());
    // The workspace shows where the window's content was.
    EXPECT_EQ(Shown(client.left + 150, client.top + 150), kWorkspace);
    // A double click on the caption brings it back; the maximised one comes
    // back maximised, and the other minimised window takes the first place.
    const JPoint grip = CaptionPoint(first);
    JHeadlessClick(grip.x, grip.y);
    JHeadlessClick(grip.x, grip.y);
    Pump();
    EXPECT_FALSE(JIsMinimised(first));
    EXPECT_EQ(JWindowBounds(first), (JRect{50, 50, 250, 200}));
    EXPECT_EQ(JWindowBounds(second).left, 0);
    JSendMessage(second, JMsg::SysCommand, kScRestore);
    EXPECT_TRUE(JIsMaximised(second));
    EXPECT_EQ(JWindowBounds(second).Width(), client.Width());
}

TEST_F(WindowsTest, ACaptionBoxActsOnlyWhenReleasedOverIt) {
    const JWnd window = MakeWindow("doc", JRect{50, 50, 250, 200}, kWsDocument, kRed);
    Pump();
    // The close box: 16 by 14, two pixels in from the caption's right end.
    const int border = JWindowBorders(window).left;
    const JPoint corner = JClientToFrame(frame, JPoint{50, 50});
    const JPoint box{corner.x + 200 - border - 2 - 8, corner.y + border + 2 + 7};
    // Pressed, then dragged off and released elsewhere: nothing happens.
    JHeadlessDrag(box.x, box.y, box.x - 60, box.y + 40);
    Pump();
    EXPECT_TRUE(JIsWindow(window));
    EXPECT_EQ(JCaptionBoxPressed(window), kHitNowhere);
    EXPECT_EQ(JWindowBounds(window), (JRect{50, 50, 250, 200}));  // the caption did not move
    JHeadlessClick(box.x, box.y);
    Pump();
    EXPECT_FALSE(JIsWindow(window));
}

TEST_F(WindowsTest, TheSystemMenusMoveAndSizeGoByArrowKeys) {
    const JWnd window = MakeWindow("doc", JRect{50, 50, 250, 200}, kWsDocument | kWsSizing, kRed);
    Pump();
    JSendMessage(window, JMsg::SysCommand, kScMove);
    JHeadlessPressKey(kKeyRight);
    JHeadlessPressKey(kKeyRight);
    JHeadlessPressKey(kKeyDown);
    JHeadlessPressKey(kKeyReturn);
    Pump();
    EXPECT_EQ(JWindowBounds(window), (JRect{66, 58, 266, 208}));
    EXPECT_EQ(Log().Count(window, JMsg::KeyDown), 0);  // the keys went to the move
    // Size: the first arrow picks the edge, the next ones move it; Escape
    // puts the window back.
    JSendMessage(window, JMsg::SysCommand, kScSize);
    JHeadlessPressKey(kKeyRight);
    JHeadlessPressKey(kKeyRight);
    Pump();
    EXPECT_EQ(JWindowBounds(window), (JRect{66, 58, 274, 208}));
    JHeadlessPressKey(kKeyEscape);
    Pump();
    EXPECT_EQ(JWindowBounds(window), (JRect{66, 58, 266, 208}));
    JHeadlessPressKey(kKeyRight);
    Pump();
    EXPECT_EQ(Log().Count(window, JMsg::KeyDown), 1);  // typing goes on as usual
}

TEST_F(WindowsTest, SizingBordersShowSizingCursorsAndTheBusyCursorStays) {
    const JWnd window = MakeWindow("doc", JRect{50, 50, 250, 200}, kWsDocument | kWsSizing, kRed);
    Pump();
    const JPoint corner = JClientToFrame(frame, JPoint{50, 50});
    const auto pointAt = [](JPoint p) {
        JHeadlessMovePointer(p.x, p.y);
        Pump();
        return JHeadlessCursor();
    };
    EXPECT_EQ(pointAt(JPoint{corner.x + 1, corner.y + 70}), JCursorShape::SizeWE);
    EXPECT_EQ(pointAt(JPoint{corner.x + 100, corner.y + 149}), JCursorShape::SizeNS);
    EXPECT_EQ(pointAt(JPoint{corner.x + 1, corner.y + 1}), JCursorShape::SizeNWSE);
    EXPECT_EQ(pointAt(JPoint{corner.x + 199, corner.y + 1}), JCursorShape::SizeNESW);
    const JRect client = JWindowClientBounds(window);
    EXPECT_EQ(pointAt(JPoint{client.left + 20, client.top + 20}), JCursorShape::Arrow);
    // While work runs the busy cursor shows wherever the pointer goes.
    JPushCursorOverride(JCursorShape::Wait);
    EXPECT_EQ(JHeadlessCursor(), JCursorShape::Wait);
    EXPECT_EQ(pointAt(JPoint{corner.x + 1, corner.y + 70}), JCursorShape::Wait);
    EXPECT_EQ(pointAt(CaptionPoint(window)), JCursorShape::Wait);
    JPopCursorOverride();
    EXPECT_EQ(JHeadlessCursor(), JCursorShape::Arrow);
    EXPECT_EQ(pointAt(JPoint{corner.x + 1, corner.y + 70}), JCursorShape::SizeWE);
}

TEST_F(WindowsTest, AShrunkChildLeavesNothingOfItselfBehind) {
    const JWnd window = MakeWindow("doc", JRect{50, 50, 300, 250}, kWsDocument, kRed);
    const JWnd child = MakeChild(window, JRect{10, 10, 90, 40}, 1, kWsChild, kBlue);
    Pump();
    const JRect client = JWindowClientBounds(window);
    ASSERT_EQ(Shown(client.left + 80, client.top + 20), kBlue);
    JMoveWindow(child, JRect{10, 10, 70, 40});
    Pump();
    EXPECT_EQ(Shown(client.left + 80, client.top + 20), kRed);
    EXPECT_EQ(Shown(client.left + 60, client.top + 20), kBlue);
}

TEST_F(WindowsTest, AHiddenWindowLeavesTheScreenAndGivesUpActivation) {
    const JWnd back = MakeWindow("back", JRect{20, 20, 220, 180}, kWsDocument, kRed);
    const JWnd front = MakeWindow("front", JRect{120, 80, 320, 240}, kWsDocument, kBlue);
    Pump();
    JHideWindow(front);
    Pump();
    EXPECT_FALSE(JIsWindowVisible(front));
    EXPECT_EQ(JActiveWindow(), back);
    EXPECT_EQ(Shown(300, 220), kWorkspace);
    EXPECT_EQ(JWindowFromPoint(JPoint{300, 220}), frame);
}

TEST_F(WindowsTest, ADisabledWindowIgnoresClicks) {
    const JWnd window = MakeWindow("doc", JRect{20, 20, 220, 180}, kWsDocument, kRed);
    JEnableWindow(window, false);
    Pump();
    JHeadlessClick(60, 120);
    Pump();
    EXPECT_EQ(Log().Count(window, JMsg::MouseDown), 0);
    JEnableWindow(window, true);
    JHeadlessClick(60, 120);
    Pump();
    EXPECT_EQ(Log().Count(window, JMsg::MouseDown), 1);
}

TEST_F(WindowsTest, TheMenuBarStripPushesTheClientAreaDown) {
    JSetMenuBarStrip(20, [](const JRect& strip) {
        JSetForeColour(JColourFromRgb(0xE0E0E0));
        JFillRect(strip.left, strip.top, strip.right, strip.bottom);
    });
    const JWnd window = MakeWindow("doc", JRect{0, 0, 200, 150}, kWsDocument, kRed);
    Pump();
    EXPECT_EQ(JFrameClientRect().top, 20);
    EXPECT_EQ(Shown(300, 5), 0xE0E0E0u);
    EXPECT_EQ(JWindowFromPoint(JPoint{10, 5}), frame);
    EXPECT_EQ(JClientToFrame(window, JPoint{}).y, 20 + JWindowBorders(window).top);
    JHeadlessClick(300, 5);
    Pump();
    const JMessage* press = Log().Last(frame, JMsg::NcMouseDown);
    ASSERT_NE(press, nullptr);
    EXPECT_EQ(press->code, kHitMenuBar);
}

TEST_F(WindowsTest, DestroyingAWindowDestroysItsChildren) {
    const JWnd window = MakeWindow("doc", JRect{20, 20, 220, 180}, kWsDocument, kRed);
    const JWnd child = MakeChild(window, JRect{10, 10, 60, 30}, 5, kWsTabStop, kGreen);
    JSetFocus(child);
    JDestroyWindow(window);
    EXPECT_FALSE(JIsWindow(child));
    EXPECT_EQ(JFocusWindow(), kNoWindow);
    EXPECT_EQ(Log().Count(child, JMsg::Destroy), 1);
}

}  // namespace

namespace {

TEST_F(WindowsTest, ClosingTheFrameEndsTheLoop) {
    MakeWindow("doc", JRect{20, 20, 220, 180}, kWsDocument, 0xC02020);
    JHeadlessRequestClose();
    EXPECT_FALSE(JPumpMessages());
    EXPECT_EQ(JFrameWindow(), kNoWindow);
    EXPECT_FALSE(JFrameIsOpen());
}

TEST_F(WindowsTest, AWindowThatDestroysItselfWhileGoingIsSafe) {
    const JWnd window = MakeWindowOfClass("selfish", [](JWnd window, const JMessage& message) {
        if (message.type == JMsg::Destroy || message.type == JMsg::Show) {
            JDestroyWindow(window);
        }
        return JDefWindowProc(window, message);
    });
    EXPECT_FALSE(JIsWindow(window));
}

}  // namespace
