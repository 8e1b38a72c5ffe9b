#include "framework/platform/draw/headless.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "framework/core/strings.h"
#include "framework/platform/draw/display.h"
#include "framework/platform/draw/png_file.h"
#include "framework/platform/system/clock.h"
#include "tests/framework/platform/platform_fixture.h"

namespace {

using HeadlessBackendTest = HeadlessDrawing;

std::vector<JInputEvent> DrainEvents() {
    std::vector<JInputEvent> events;
    JInputEvent event;
    while (JFramePoll(&event)) {
        events.push_back(event);
    }
    return events;
}

TEST(HeadlessDisplay, EightBitScreenIsReported) {
    JHeadlessScreen screen;
    screen.depth = 8;
    screen.bottomPanel = 40;
    JHeadlessConfigure(screen);
    ASSERT_TRUE(JBackendStart(JBackendChoice::Headless));
    const JDisplayInfo info = JDisplayInformation();
    EXPECT_EQ(info.depth, 8);
    EXPECT_EQ(info.usableArea.bottom, 768 - 40);
    EXPECT_FALSE(info.usesPalette);
    EXPECT_NEAR(info.pixelsPerMetreX, 3780, 40);
    JBackendStop();
    JHeadlessConfigure(JHeadlessScreen{});
}

TEST_F(HeadlessBackendTest, ClickGivesMoveDownAndUp) {
    JHeadlessClick(10, 20, kButtonLeft, kModShift);
    const std::vector<JInputEvent> events = DrainEvents();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[1].kind, JInputKind::ButtonDown);
    EXPECT_EQ(events[1].x, 10);
    EXPECT_EQ(events[1].y, 20);
    EXPECT_EQ(events[1].modifiers, kModShift);
    EXPECT_EQ(events[2].kind, JInputKind::ButtonUp);
}

TEST_F(HeadlessBackendTest, ScriptDrivesInput) {
    int bad = 0;
    ASSERT_TRUE(
        JHeadlessRunScript("# a comment\n"
                           "drag 0 0 8 4\n"
                           "type a!\n"
                           "key Ctrl+Shift+S\n"
                           "resize 80 60\n"
                           "close\n",
                           &bad));
    const std::vector<JInputEvent> events = DrainEvents();
    ASSERT_EQ(events.size(), 7u + 4u + 2u + 2u);
    EXPECT_EQ(events[5].kind, JInputKind::PointerMoved);
    EXPECT_EQ(events[5].x, 8);
    EXPECT_EQ(events[8].kind, JInputKind::Text);
    EXPECT_STREQ(events[8].text, "a");
    EXPECT_STREQ(events[10].text, "!");
    EXPECT_EQ(events[11].key, 'S');
    EXPECT_EQ(events[11].modifiers, kModCtrl | kModShift);
    EXPECT_EQ(events[13].kind, JInputKind::FrameResized);
    EXPECT_EQ(events[14].kind, JInputKind::CloseRequested);
    EXPECT_EQ(JFrameSurface()->width, 80);
    EXPECT_EQ(JFrameSurface()->height, 60);
}

TEST_F(HeadlessBackendTest, QueuedMovesInARowDeliverOnlyTheLast) {
    JHeadlessMovePointer(1, 1);
    JHeadlessMovePointer(2, 2);
    JHeadlessClick(5, 5);  // a move, the press, the release
    JHeadlessMovePointer(6, 6);
    JHeadlessMovePointer(7, 7);
    JHeadlessPressKey('A');
    JHeadlessMovePointer(8, 8);
    const std::vector<JInputEvent> events = DrainEvents();
    const JInputKind expected[] = {
        JInputKind::PointerMoved, JInputKind::ButtonDown,   JInputKind::ButtonUp,
        JInputKind::PointerMoved, JInputKind::KeyDown,      JInputKind::Text,
        JInputKind::KeyUp,        JInputKind::PointerMoved,
    };
    ASSERT_EQ(events.size(), std::size(expected));
    for (std::size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].kind, expected[i]) << "event " << i;
    }
    EXPECT_EQ(events[0].x, 5);
    EXPECT_EQ(events[3].x, 7);
    EXPECT_EQ(events[7].x, 8);
}

TEST_F(HeadlessBackendTest, ABurstOfResizesDeliversOnlyTheLast) {
    JHeadlessResizeFrame(80, 60);
    JHeadlessMovePointer(3, 3);
    JHeadlessResizeFrame(90, 70);
    JHeadlessResizeFrame(100, 80);
    const std::vector<JInputEvent> events = DrainEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, JInputKind::PointerMoved);
    EXPECT_EQ(events[1].kind, JInputKind::FrameResized);
    EXPECT_EQ(events[1].width, 100);
    EXPECT_EQ(JFrameSurface()->width, 100);
    EXPECT_EQ(JFrameSurface()->height, 80);
}

// The key of each press and the text that follows it, as "KEY:text".
std::vector<std::string> KeysAndTexts() {
    std::vector<std::string> typed;
    for (const JInputEvent& event : DrainEvents()) {
        if (event.kind == JInputKind::KeyDown) {
            typed.push_back(std::to_string(event.key) + ":");
        } else if (event.kind == JInputKind::Text && !typed.empty()) {
            typed.back() += event.text;
        }
    }
    return typed;
}

TEST_F(HeadlessBackendTest, PrintableKeysSendTheirTextAfterThePress) {
    int bad = 0;
    ASSERT_TRUE(
        JHeadlessRunScript("key ,\nkey Shift+Slash\nkey Num5\nkey Divide\nkey q\n"
                           "key Shift+2\nkey Quote\nkey Backslash\nkey Space\n",
                           &bad))
        << bad;
    const std::vector<std::string> expected = {std::to_string(kKeyComma) + ":,",
                                               std::to_string(kKeySlash) + ":?",
                                               std::to_string(kKeyNumpad0 + 5) + ":5",
                                               std::to_string(kKeyDivide) + ":/",
                                               "81:q",
                                               "50:@",
                                               std::to_string(kKeyQuote) + ":'",
                                               std::to_string(kKeyBackslash) + ":\\",
                                               "32: "};
    EXPECT_EQ(KeysAndTexts(), expected);
}

TEST_F(HeadlessBackendTest, KeysWithCtrlOrAltAndControlKeysSendNoText) {
    JHeadlessPressKey('C', kModCtrl);
    JHeadlessPressKey(kKeyPeriod, kModAlt);
    JHeadlessPressKey(kKeyReturn);
    JHeadlessPressKey(kKeyLeft);
    const std::vector<std::string> expected = {"67:", std::to_string(kKeyPeriod) + ":",
                                               "13:", "37:"};
    EXPECT_EQ(KeysAndTexts(), expected);
}

TEST_F(HeadlessBackendTest, PressTextAndReleaseComeInThatOrder) {
    JHeadlessPressKey(kKeyEquals, kModShift);
    const std::vector<JInputEvent> events = DrainEvents();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, JInputKind::KeyDown);
    EXPECT_EQ(events[1].kind, JInputKind::Text);
    EXPECT_STREQ(events[1].text, "+");
    EXPECT_EQ(events[2].kind, JInputKind::KeyUp);
}

TEST_F(HeadlessBackendTest, WaitingReturnsAtOnceForInputAndOtherwiseRunsTheClock) {
    const JBackend& backend = JBackendCurrent();
    std::uint32_t before = JTickCount();
    EXPECT_FALSE(backend.waitForInput(50));
    EXPECT_GE(JTickCount() - before, 50u);

    JHeadlessPressKey(kKeyTab);
    before = JTickCount();
    EXPECT_TRUE(backend.waitForInput(50));
    EXPECT_LT(JTickCount() - before, 50u);
    DrainEvents();

    // Input held back by 30 ms ends a wait of 50 ms after 30.
    JHeadlessWait(30);
    JHeadlessPressKey(kKeyTab);
    before = JTickCount();
    EXPECT_TRUE(backend.waitForInput(50));
    EXPECT_GE(JTickCount() - before, 30u);
    EXPECT_EQ(DrainEvents().size(), 2u);
}

TEST_F(HeadlessBackendTest, PointerStateFollowsTheDeliveredInput) {
    JHeadlessDrag(10, 10, 30, 20);
    JInputEvent event;
    ASSERT_TRUE(JFramePoll(&event));  // the move
    ASSERT_TRUE(JFramePoll(&event));  // the press
    JPointerState pointer = JFramePointerNow();
    EXPECT_EQ(pointer.x, 10);
    EXPECT_EQ(pointer.buttons, kPointerLeft);
    DrainEvents();
    pointer = JFramePointerNow();
    EXPECT_EQ(pointer.x, 30);
    EXPECT_EQ(pointer.y, 20);
    EXPECT_EQ(pointer.buttons, 0);
}

TEST_F(HeadlessBackendTest, BadScriptLineIsReported) {
    int bad = 0;
    EXPECT_FALSE(JHeadlessRunScript("move 1 2\nflap 3\n", &bad));
    EXPECT_EQ(bad, 2);
    EXPECT_FALSE(JHeadlessRunScript("key Num\n", &bad));
    EXPECT_FALSE(JHeadlessRunScript("key Ctrl+\n", &bad));
}

TEST_F(HeadlessBackendTest, WaitHoldsEventsUntilTheClockHasRun) {
    JHeadlessWait(1000);
    JHeadlessPressKey(kKeyReturn);
    JInputEvent event;
    EXPECT_FALSE(JFramePoll(&event));
    JSleep(1000);
    EXPECT_TRUE(JFramePoll(&event));
    EXPECT_EQ(event.key, kKeyReturn);
}

TEST_F(HeadlessBackendTest, SleepAdvancesTheTickCount) {
    const std::uint32_t before = JTickCount();
    JSleep(5000);
    EXPECT_GE(JTickCount() - before, 5000u);
}

TEST_F(HeadlessBackendTest, PresentedPixelsReachThePngFile) {
    JSetForeColour(JColour{0xFFFF, 0, 0});
    JFillRect(0, 0, 10, 10);
    JFramePresent(JRect{0, 0, 5, 5});
    EXPECT_EQ(JHeadlessFramePixels().At(4, 4), 0xFF0000u);
    EXPECT_EQ(JHeadlessFramePixels().At(6, 6), kWhite);  // not presented yet

    const std::string path = testing::TempDir() + "platform_frame.png";
    ASSERT_TRUE(JHeadlessWriteFramePng(path.c_str()));
    JSurface read;
    ASSERT_TRUE(JReadPng(path.c_str(), &read));
    EXPECT_EQ(read.width, 64);
    EXPECT_EQ(read.height, 48);
    EXPECT_EQ(read.pixels, JHeadlessFramePixels().pixels);
    std::remove(path.c_str());
}

TEST_F(HeadlessBackendTest, CursorBeepTitleAndClipboardAreKept) {
    const JBackend& backend = JBackendCurrent();
    EXPECT_STREQ(backend.name, "headless");
    backend.setCursor(JCursorShape::Wait);
    EXPECT_EQ(JHeadlessCursor(), JCursorShape::Wait);
    backend.beep();
    EXPECT_EQ(JHeadlessBeepCount(), 1);
    backend.setFrameTitle("Pindle");
    EXPECT_STREQ(JHeadlessFrameTitle(), "Pindle");
    EXPECT_EQ(backend.clipboardText(), nullptr);
    backend.setClipboardText("one\ntwo");
    char* text = backend.clipboardText();
    EXPECT_STREQ(text, "one\ntwo");
    JStrFree(text);
}

TEST(TimeText, HoursRunOneToTwelveWithAmAndPm) {
    JLocalTime time;
    time.hour = 0;
    time.minute = 5;
    time.second = 9;
    char* text = JTimeText(time, true);
    EXPECT_STREQ(text, "12:05:09 AM");
    JStrFree(text);
    time.hour = 13;
    text = JTimeText(time, false);
    EXPECT_STREQ(text, "1:05 PM");
    JStrFree(text);
    time.hour = 12;
    text = JTimeText(time, false);
    EXPECT_STREQ(text, "12:05 PM");
    JStrFree(text);
}

TEST(LocalTime, BrokenDownTimeIsInRange) {
    const JLocalTime now = JLocalTimeNow();
    EXPECT_GE(now.year, 2020);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
    EXPECT_GE(now.weekday, 1);
    EXPECT_LE(now.weekday, 7);
    EXPECT_GT(JSecondsSince1970(), 1577836800);  // 2020-01-01
}

}  // namespace
