// Drop-down lists opened with the mouse and the keyboard, chosen from and
// closed without a choice.
#include "framework/platform/controls/drop_down_list.h"

#include "framework/platform/controls/list_box.h"
#include "tests/framework/platform/controls_fixture.h"

namespace {

class DropDownListTest : public HeadlessControls {
protected:
    JWnd MakeDropDown() {
        const JWnd dropDown = JCreateDropDownList(Spec(JRect{20, 20, 180, 44}, 50));
        for (const char* item : {"GIF files", "All files", "Bitmaps"}) {
            JDropDownAddItem(dropDown, item);
        }
        JDropDownSetSelection(dropDown, 0);
        PumpDialog();
        return dropDown;
    }
    void ClickItem(JWnd list, int index) {
        const JRect item = JListBoxItemRect(list, index);
        Click(list, item.left + 20, item.top + item.Height() / 2);
        PumpDialog();
    }
};

TEST_F(DropDownListTest, AClickOpensTheListAboveTheOtherWindows) {
    const JWnd dropDown = MakeDropDown();
    const JWnd other = MakeWindow("other", JRect{100, 100, 400, 300}, kWsDocument, 0x2040C0);
    JActivateWindow(dialog);
    PumpDialog();
    Click(dropDown, 20, 12);
    PumpDialog();
    const JWnd list = JDropDownOpenList(dropDown);
    ASSERT_NE(list, kNoWindow);
    EXPECT_EQ(JTopLevelAt(0), JTopLevelOf(list));
    EXPECT_EQ(JActiveWindow(), dialog);
    EXPECT_EQ(JListBoxCount(list), 3);
    EXPECT_EQ(JListBoxSelection(list), 0);
    // The list lies just below the box.
    const JPoint boxBottom = At(dropDown, 0, JWindowClientRect(dropDown).bottom);
    EXPECT_NEAR(JClientToFrame(list, JPoint{0, 0}).y, boxBottom.y, 4);
    (void)other;
}

TEST_F(DropDownListTest, ChoosingAnItemClosesTheListAndNotifies) {
    const JWnd dropDown = MakeDropDown();
    Click(dropDown, 20, 12);
    PumpDialog();
    JSleep(1000);
    ClickItem(JDropDownOpenList(dropDown), 2);
    EXPECT_EQ(JDropDownOpenList(dropDown), kNoWindow);
    EXPECT_EQ(JDropDownSelection(dropDown), 2);
    EXPECT_EQ(CountOf(dropDown, kNotifySelChange), 1);
    EXPECT_EQ(JFocusWindow(), dropDown);
}

TEST_F(DropDownListTest, ClickingElsewhereClosesWithoutAChange) {
    const JWnd dropDown = MakeDropDown();
    Click(dropDown, 20, 12);
    PumpDialog();
    ASSERT_NE(JDropDownOpenList(dropDown), kNoWindow);
    JSleep(1000);
    Click(dialog, 300, 300);
    PumpDialog();
    EXPECT_EQ(JDropDownOpenList(dropDown), kNoWindow);
    EXPECT_EQ(JDropDownSelection(dropDown), 0);
    EXPECT_TRUE(Notifications(dropDown).empty());
    // A click on the box itself while open closes it too.
    Click(dropDown, 20, 12);
    PumpDialog();
    JSleep(1000);
    Click(dropDown, 20, 12);
    PumpDialog();
    EXPECT_EQ(JDropDownOpenList(dropDown), kNoWindow);
}

TEST_F(DropDownListTest, TheKeyboardOpensMovesChoosesAndCancels) {
    const JWnd dropDown = MakeDropDown();
    JSetFocus(dropDown);
    JHeadlessPressKey(kKeyDown);  // closed: chooses the next item at once
    PumpDialog();
    EXPECT_EQ(JDropDownSelection(dropDown), 1);
    EXPECT_EQ(CountOf(dropDown, kNotifySelChange), 1);
    JHeadlessPressKey(kKeyDown, kModAlt);
    JHeadlessPressKey(kKeyDown);
    PumpDialog();
    ASSERT_NE(JDropDownOpenList(dropDown), kNoWindow);
    EXPECT_EQ(JListBoxSelection(JDropDownOpenList(dropDown)), 2);
    JHeadlessPressKey(kKeyEscape);  // not the dialog's cancel while open
    PumpDialog();
    EXPECT_EQ(JDropDownOpenList(dropDown), kNoWindow);
    EXPECT_EQ(JDropDownSelection(dropDown), 1);
    EXPECT_EQ(Log().Count(dialog, JMsg::Command), 1);
    JHeadlessPressKey(kKeyDown, kModAlt);
    JHeadlessPressKey(kKeyUp);
    JHeadlessPressKey(kKeyReturn);
    PumpDialog();
    EXPECT_EQ(JDropDownSelection(dropDown), 0);
    EXPECT_EQ(JDropDownOpenList(dropDown), kNoWindow);
}

TEST_F(DropDownListTest, TheOpenListFollowsTheMouseAndHasNoBarWhenAllFit) {
    const JWnd dropDown = MakeDropDown();
    Click(dropDown, 20, 12);
    PumpDialog();
    const JWnd list = JDropDownOpenList(dropDown);
    ASSERT_NE(list, kNoWindow);
    EXPECT_FALSE(JIsWindowVisible(JListBoxScrollBar(list)));
    EXPECT_EQ(JWindowClientRect(list).Height(), 3 * JListBoxItemHeight());
    const JRect item = JListBoxItemRect(list, 2);
    const JPoint point = At(list, item.left + 40, item.top + item.Height() / 2);
    JHeadlessMovePointer(point.x, point.y);
    PumpDialog();
    EXPECT_EQ(JListBoxSelection(list), 2);
    const JPoint edge = At(list, item.right - 3, item.top + 1);
    EXPECT_EQ(Shown(edge.x, edge.y), JSystemRgb(JSysColour::Highlight));
    EXPECT_EQ(JDropDownSelection(dropDown), 0);  // following is not choosing
    EXPECT_EQ(CountOf(dropDown, kNotifySelChange), 0);
}

}  // namespace
