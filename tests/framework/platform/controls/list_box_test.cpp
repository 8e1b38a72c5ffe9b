// List boxes selected by click and keys, scrolled by the wheel and their
// bar, and double-clicked.
#include <string>

#include "framework/platform/controls/list_box.h"
#include "framework/platform/controls/scroll_bar.h"
#include "tests/framework/platform/controls_fixture.h"

namespace {

class ListBoxTest : public HeadlessControls {
protected:
    JWnd MakeList(int items) {
        const JWnd list =
            JCreateListBox(Spec(JRect{20, 20, 180, 20 + 4 + 5 * JListBoxItemHeight()}, 40));
        for (int i = 0; i < items; ++i) {
            JListBoxAddItem(list, ("Item " + std::to_string(i)).c_str());
        }
        PumpDialog();
        return list;
    }
    static JPoint ItemPoint(JWnd list, int index) {
        const JRect item = JListBoxItemRect(list, index);
        return JPoint{item.left + 20, item.top + item.Height() / 2};
    }
    void ClickItem(JWnd list, int index) {
        const JPoint point = ItemPoint(list, index);
        Click(list, point.x, point.y);
        PumpDialog();
    }
};

TEST_F(ListBoxTest, AClickSelectsAndNotifies) {
    const JWnd list = MakeList(3);
    ClickItem(list, 1);
    EXPECT_EQ(JListBoxSelection(list), 1);
    EXPECT_EQ(CountOf(list, kNotifySelChange), 1);
    EXPECT_EQ(JFocusWindow(), list);
    EXPECT_EQ(JListBoxItem(list, 1), "Item 1");
    EXPECT_FALSE(JIsWindowVisible(JListBoxScrollBar(list)));  // everything fits
}

TEST_F(ListBoxTest, UpAndDownMoveTheSelectionAndScroll) {
    const JWnd list = MakeList(20);
    ClickItem(list, 0);
    for (int i = 0; i < 7; ++i) {
        JHeadlessPressKey(kKeyDown);
    }
    PumpDialog();
    EXPECT_EQ(JListBoxSelection(list), 7);
    EXPECT_EQ(JListBoxTopIndex(list), 3);  // five show: 3 to 7
    JHeadlessPressKey(kKeyUp);
    JHeadlessPressKey(kKeyEnd);
    PumpDialog();
    EXPECT_EQ(JListBoxSelection(list), 19);
    EXPECT_EQ(JListBoxTopIndex(list), 15);
    EXPECT_EQ(CountOf(list, kNotifySelChange), 1 + 7 + 2);
}

TEST_F(ListBoxTest, TheWheelAndTheBarScroll) {
    const JWnd list = MakeList(20);
    const JWnd bar = JListBoxScrollBar(list);
    EXPECT_TRUE(JIsWindowVisible(bar));
    const JPoint middle = At(list, 40, 30);
    JHeadlessWheel(middle.x, middle.y, -2);  // toward the user: down the list
    PumpDialog();
    EXPECT_EQ(JListBoxTopIndex(list), 2 * kWheelLines);
    EXPECT_EQ(JScrollBarPosition(bar), 2 * kWheelLines);
    Click(bar, 8, 4);  // the up arrow
    PumpDialog();
    EXPECT_EQ(JListBoxTopIndex(list), 2 * kWheelLines - 1);
    const JRect thumb = JScrollBarThumbRect(bar);
    Drag(bar, 8, thumb.top + 2, 8, 500);
    PumpDialog();
    EXPECT_EQ(JListBoxTopIndex(list), 15);
    EXPECT_EQ(JListBoxSelection(list), -1);  // scrolling selects nothing
}

TEST_F(ListBoxTest, ADoubleClickOnAScrolledItemNotifies) {
    const JWnd list = MakeList(20);
    JListBoxSetTopIndex(list, 10);
    PumpDialog();
    const JPoint point = ItemPoint(list, 12);
    Click(list, point.x, point.y);
    Click(list, point.x, point.y);
    PumpDialog();
    EXPECT_EQ(JListBoxSelection(list), 12);
    EXPECT_EQ(CountOf(list, kNotifyDoubleClick), 1);
    EXPECT_EQ(Notifications(list).back(), kNotifyDoubleClick);
}

TEST_F(ListBoxTest, SettingTheSelectionScrollsItIntoViewWithoutNotifying) {
    const JWnd list = MakeList(20);
    JListBoxSetSelection(list, 14);
    EXPECT_EQ(JListBoxSelection(list), 14);
    EXPECT_EQ(JListBoxTopIndex(list), 10);
    EXPECT_TRUE(Notifications(list).empty());
    JListBoxClear(list);
    EXPECT_EQ(JListBoxCount(list), 0);
    EXPECT_EQ(JListBoxSelection(list), -1);
}

// --- focus and selection cues ---

TEST_F(ListBoxTest, TheFocusFrameMarksTheSelectedRowAndTheSelectionOutlivesTheFocus) {
    const JWnd list = MakeList(3);
    const JWnd other = JCreateListBox(Spec(JRect{200, 20, 300, 80}, 41));
    ClickItem(list, 1);
    const JRect row = JListBoxItemRect(list, 1);
    const JPoint corner = At(list, row.left, row.top);
    const JPoint inside = At(list, row.right - 4, row.top + row.Height() / 2);
    const std::uint32_t highlight = JSystemRgb(JSysColour::Highlight);
    // The dotted frame inverts the highlight it crosses.
    EXPECT_EQ(Shown(corner.x, corner.y), ~highlight & kRgbMask);
    EXPECT_EQ(Shown(corner.x + 1, corner.y), highlight);
    EXPECT_EQ(Shown(inside.x, inside.y), highlight);
    JSetFocus(other);
    PumpDialog();
    EXPECT_EQ(Shown(corner.x, corner.y), highlight);  // no frame without the focus
    EXPECT_EQ(Shown(inside.x, inside.y), highlight);  // but the selection still shows
}

TEST_F(ListBoxTest, WithNoSelectionTheFocusFrameMarksTheFirstRow) {
    const JWnd list = MakeList(3);
    JSetFocus(list);
    PumpDialog();
    const JRect row = JListBoxItemRect(list, 0);
    const JPoint corner = At(list, row.left, row.top);
    const std::uint32_t window = JSystemRgb(JSysColour::Window);
    EXPECT_EQ(Shown(corner.x, corner.y), ~window & kRgbMask);
    EXPECT_EQ(Shown(corner.x + 1, corner.y), window);
}

TEST_F(ListBoxTest, HeightsAreWholeRows) {
    const int rowHeight = JListBoxItemHeight();
    const JWnd list =
        JCreateListBox(Spec(JRect{20, 20, 180, 20 + 4 + 3 * rowHeight + rowHeight / 2}, 42));
    for (int i = 0; i < 10; ++i) {
        JListBoxAddItem(list, "row");
    }
    PumpDialog();
    EXPECT_EQ(JWindowClientRect(list).Height(), 4 + 3 * rowHeight);
    // The last row ends on the bevel: nothing of a fourth row is drawn.
    EXPECT_EQ(JListBoxItemRect(list, 2).bottom, JWindowClientRect(list).bottom - 2);
}

}  // namespace
