// Edit fields typed into, edited and selected with the keyboard and mouse,
// and cut, copied and pasted through the clipboard.
#include "framework/platform/controls/edit_field.h"

#include "framework/core/strings.h"
#include "framework/platform/system/clipboard.h"
#include "framework/platform/system/clock.h"
#include "tests/framework/platform/controls_fixture.h"

namespace {

class EditFieldTest : public HeadlessControls {
protected:
    JWnd MakeField(const char* text = "", std::uint32_t style = 0,
                   JRect bounds = {20, 20, 220, 44}) {
        const JWnd field = JCreateEditField(Spec(bounds, 20, text, style));
        JSetFocus(field);
        PumpDialog();
        return field;
    }
    void Type(const char* text) {
        JHeadlessTypeText(text);
        PumpDialog();
    }
    void Key(std::uint16_t key, std::uint16_t modifiers = 0) {
        JHeadlessPressKey(key, modifiers);
        PumpDialog();
    }
    static std::string Clipboard() {
        char* text = JClipboardGetText();
        std::string copy = text != nullptr ? text : "";
        JStrFree(text);
        return copy;
    }
};

TEST_F(EditFieldTest, TypedCharactersAreInsertedAndNotified) {
    const JWnd field = MakeField();
    Type("Hello world");
    EXPECT_EQ(JEditText(field), "Hello world");
    EXPECT_EQ(JEditCaret(field), 11);
    EXPECT_EQ(CountOf(field, kNotifyChange), 11);
}

TEST_F(EditFieldTest, BackspaceDeleteHomeEndAndArrowsEdit) {
    const JWnd field = MakeField();
    Type("abcdef");
    Key(kKeyBackspace);
    EXPECT_EQ(JEditText(field), "abcde");
    Key(kKeyHome);
    Key(kKeyDelete);
    EXPECT_EQ(JEditText(field), "bcde");
    Key(kKeyRight);
    Type("X");
    EXPECT_EQ(JEditText(field), "bXcde");
    Key(kKeyEnd);
    Key(kKeyLeft);
    Type("Y");
    EXPECT_EQ(JEditText(field), "bXcdYe");
}

TEST_F(EditFieldTest, ShiftArrowsSelectAndTypingReplacesTheSelection) {
    const JWnd field = MakeField("one two three");
    Key(kKeyHome);
    Key(kKeyRight, kModShift);
    Key(kKeyRight, kModShift);
    Key(kKeyRight, kModShift);
    int start = 0;
    int end = 0;
    JEditSelection(field, &start, &end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 3);
    Type("1");
    EXPECT_EQ(JEditText(field), "1 two three");
    Key(kKeyEnd, kModShift);
    JEditSelection(field, &start, &end);
    EXPECT_EQ(end - start, 10);
}

TEST_F(EditFieldTest, CutAndPasteGoThroughTheClipboard) {
    const JWnd field = MakeField("cut this out");
    Key(kKeyHome);
    for (int i = 0; i < 4; ++i) {
        Key(kKeyRight, kModShift);
    }
    Key('X', kModCtrl);
    EXPECT_EQ(JEditText(field), "this out");
    EXPECT_EQ(Clipboard(), "cut ");
    Key(kKeyEnd);
    Type(" ");
    Key('V', kModCtrl);
    EXPECT_EQ(JEditText(field), "this out cut ");
    Key('A', kModCtrl);
    Key('C', kModCtrl);
    EXPECT_EQ(Clipboard(), "this out cut ");
}

TEST_F(EditFieldTest, PastingMultipleLinesIntoOneLineKeepsTheFirst) {
    const JWnd field = MakeField();
    JClipboardSetText("first\nsecond");
    Key('V', kModCtrl);
    EXPECT_EQ(JEditText(field), "first");
}

TEST_F(EditFieldTest, DraggingTheMouseSelects) {
    const JWnd field = MakeField("drag across me");
    const int y = JWindowClientRect(field).Height() / 2;
    Drag(field, 3, y, 150, y);
    PumpDialog();
    int start = 0;
    int end = 0;
    JEditSelection(field, &start, &end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 14);
    JSleep(1000);  // not a double click
    Click(field, 3, y);
    PumpDialog();
    JEditSelection(field, &start, &end);
    EXPECT_EQ(start, end);
    EXPECT_EQ(JEditCaret(field), 0);
}

TEST_F(EditFieldTest, LongTextScrollsToKeepTheCaretVisible) {
    const JWnd field = MakeField("", 0, JRect{20, 20, 100, 44});
    Type("a rather long line of text that cannot fit");
    EXPECT_GT(JEditScrollX(field), 0);
    Key(kKeyHome);
    EXPECT_EQ(JEditScrollX(field), 0);
}

TEST_F(EditFieldTest, MultiLineFieldTakesReturnAndMovesBetweenLines) {
    const JWnd field = MakeField("", kEsMultiLine, JRect{20, 20, 220, 120});
    Type("first line");
    Key(kKeyReturn);
    Type("second");
    EXPECT_EQ(JEditText(field), "first line\nsecond");
    Key(kKeyHome);
    EXPECT_EQ(JEditCaret(field), 11);
    Key(kKeyUp);
    EXPECT_EQ(JEditCaret(field), 0);
    Key(kKeyDown, kModShift);
    int start = 0;
    int end = 0;
    JEditSelection(field, &start, &end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 11);
    Key(kKeyEnd, kModShift);
    Key(kKeyLeft, kModShift);
    JEditSelection(field, &start, &end);
    EXPECT_EQ(end, 16);
    Key(kKeyBackspace);
    EXPECT_EQ(JEditText(field), "d");
    // Return in a dialog reaches a multi-line field, not the default button.
    EXPECT_EQ(Log().Count(dialog, JMsg::Command) - static_cast<int>(Notifications(field).size()),
              0);
}

TEST_F(EditFieldTest, DoubleClickSelectsAWord) {
    const JWnd field = MakeField("pick word here");
    const int y = JWindowClientRect(field).Height() / 2;
    const int x = 3 + JControlMeasure("pick wo").width;
    Click(field, x, y);
    Click(field, x, y);
    PumpDialog();
    int start = 0;
    int end = 0;
    JEditSelection(field, &start, &end);
    EXPECT_EQ(start, 5);
    EXPECT_EQ(end, 9);
}

TEST_F(EditFieldTest, ManyLinesScrollDownToTheCaret) {
    const JWnd field = MakeField("", kEsMultiLine, JRect{20, 20, 220, 60});
    for (int i = 0; i < 8; ++i) {
        Type("line");
        Key(kKeyReturn);
    }
    EXPECT_GT(JEditTopLine(field), 4);
    Key(kKeyHome, kModCtrl);
    EXPECT_EQ(JEditTopLine(field), 0);
}

TEST_F(EditFieldTest, TheFocusedFieldShowsItsTextAndCaret) {
    const JWnd field = MakeField("Text");
    const JRect client = JWindowClientRect(field);
    int dark = 0;
    for (int x = 3; x < client.right - 3; ++x) {
        for (int y = 3; y < client.bottom - 3; ++y) {
            const JPoint point = At(field, x, y);
            dark += (Shown(point.x, point.y) & 0xFF) < 0x60 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 10);
}

TEST_F(EditFieldTest, TabIntoAFieldSelectsAllItsText) {
    const JWnd first = MakeField("first");
    const JWnd second = JCreateEditField(Spec(JRect{20, 80, 200, 104}, 21, "second text"));
    JSetFocus(first);
    PumpDialog();
    JHeadlessPressKey(kKeyTab);
    PumpDialog();
    ASSERT_EQ(JFocusWindow(), second);
    int start = -1;
    int end = -1;
    JEditSelection(second, &start, &end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 11);
}

}  // namespace
