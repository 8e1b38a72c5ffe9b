#include "framework/ui/layout_boxes.h"
#include "framework/ui/border_boxes.h"
#include "framework/ui/spacers.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

class LayoutBoxes : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        window = OpenWindow(20, 20, 400, 300);
    }

    // An unframed row box 100 wide holding spacers 10, 20 and 30 wide.
    JControl* RowOfThree(bool spreadAround, bool packed = false) {
        JControl* box = JControlNew(JLayoutBoxKind(), window, 0, 0);
        JBoxSetFramed(box, false);
        JBoxSetSpreadAround(box, spreadAround);
        JBoxSetPacked(box, packed);
        for (int width : {10, 20, 30}) {
            JControl* spacer = JControlNewIn(JSpacerKind(), box, 0, 0);
            JControlShow(spacer);
            JControlResize(spacer, width, 8);
        }
        JControlResize(box, 100, 20);
        JControlShow(box);
        return box;
    }
    static int LeftOf(JControl* box, int index) { return JBoxChildAt(box, index)->left; }

    JWindow* window = nullptr;
};

TEST_F(LayoutBoxes, SpreadAroundGivesSpareRoomBeforeBetweenAndAfter) {
    JControl* box = RowOfThree(true);
    EXPECT_EQ(LeftOf(box, 0), 9);
    EXPECT_EQ(LeftOf(box, 1), 30);
    EXPECT_EQ(LeftOf(box, 2), 61);
}

TEST_F(LayoutBoxes, WithoutSpreadTheLastChildSitsFlushWithTheEnd) {
    JControl* box = RowOfThree(false);
    EXPECT_EQ(LeftOf(box, 0), 0);
    EXPECT_EQ(LeftOf(box, 1), 30);
    EXPECT_EQ(LeftOf(box, 2), 70);
}

TEST_F(LayoutBoxes, PackedBoxKeepsChildrenAtTheStartOneSpacingApart) {
    JControl* box = RowOfThree(true, true);
    EXPECT_EQ(LeftOf(box, 0), 0);
    EXPECT_EQ(LeftOf(box, 1), 12);
    EXPECT_EQ(LeftOf(box, 2), 34);
}

TEST_F(LayoutBoxes, NaturalSizeOfARowAddsSpacingAndFrame) {
    JControl* box = RowOfThree(true);
    JBoxSetFramed(box, true);
    JControlResize(box, 0, 0);
    EXPECT_EQ(box->width, 10 + 20 + 30 + 2 * 2 + 4);
    EXPECT_EQ(box->height, 8 + 4);
}

TEST_F(LayoutBoxes, HiddenChildOfAVisibleColumnIsParkedAndTakesNoRoom) {
    JControl* column = JControlNew(JLayoutBoxKind(), window, 10, 10);
    JBoxSetFramed(column, false);
    JBoxSetOrientation(column, kBoxColumn);
    JControl* top = JControlNewIn(JSpacerKind(), column, 0, 0);
    JControl* hidden = JControlNewIn(JSpacerKind(), column, 0, 0);
    JControl* bottom = JControlNewIn(JSpacerKind(), column, 0, 0);
    JControlShow(top);
    JControlShow(bottom);
    JControlShow(column);
    JControlResize(column, 0, 0);
    EXPECT_EQ(hidden->left, kParkedPosition);
    EXPECT_EQ(hidden->top, kParkedPosition);
    EXPECT_EQ(column->height, 16 + 2 + 16);
    EXPECT_EQ(bottom->top, column->top + column->height - 16);
}

TEST_F(LayoutBoxes, CrossAlignmentPlacesChildrenAtStartCentreOrEnd) {
    JControl* box = RowOfThree(true);
    JControlResize(box, 100, 40);
    JBoxSetAlignment(box, kAlignStart);
    EXPECT_EQ(JBoxChildAt(box, 0)->top, 0);
    JBoxSetAlignment(box, kAlignCentre);
    EXPECT_EQ(JBoxChildAt(box, 0)->top, 16);
    JBoxSetAlignment(box, kAlignEnd);
    EXPECT_EQ(JBoxChildAt(box, 0)->top, 32);
}

TEST_F(LayoutBoxes, ChildAtPastTheEndIsNone) {
    JControl* box = RowOfThree(true);
    EXPECT_EQ(JBoxChildCount(box), 3);
    EXPECT_EQ(JBoxChildAt(box, 3), nullptr);
}

TEST_F(LayoutBoxes, BorderBoxPutsItsChildInsideTheBorders) {
    JControl* border = JControlNew(JBorderBoxKind(), window, 10, 20);
    JControl* child = JControlNewIn(JSpacerKind(), border, 0, 0);
    JBorderBoxSetSides(border, 4, 4, 5, 12);
    JControlResize(border, 100, 80);
    JRect inner;
    JBorderBoxInnerRect(border, &inner);
    EXPECT_EQ(inner, (JRect{12, 22, 108, 88}));
    EXPECT_EQ(child->Rect(), inner);
}

}  // namespace
