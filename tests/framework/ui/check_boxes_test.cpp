#include <vector>

#include "framework/ui/check_boxes.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

std::vector<int>& Heard() {
    static std::vector<int> heard;
    return heard;
}

void Listen(JControl*, int checked) {
    Heard().push_back(checked);
}

class CheckBoxes : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        Heard().clear();
        window = OpenWindow(20, 20, 300, 200);
        check = JControlNew(JCheckBoxKind(), window, 10, 10);
        JCheckSetLabel(check, "Loop forever");
        JCheckSetCallback(check, Listen);
        JControlResize(check, 0, 0);
        JControlShow(check);
        Settle();
    }
    JPoint Centre() const { return JPoint{check->left + 9, check->top + check->height / 2}; }

    int BlackInSquare() const {
        const JRect square = JCheckSquare(check);
        int count = 0;
        for (int y = square.top + 3; y < square.bottom - 3; ++y) {
            for (int x = square.left + 3; x < square.right - 3; ++x) {
                count += Shown(window, x, y) == 0x000000 ? 1 : 0;
            }
        }
        return count;
    }

    JWindow* window = nullptr;
    JControl* check = nullptr;
};

TEST_F(CheckBoxes, NaturalSizeHoldsBoxGapAndLabel) {
    int width = 0;
    int height = 0;
    JControlNaturalSize(check, &width, &height);
    EXPECT_GT(width, 16 + 4 + 4);
    EXPECT_EQ(check->width, width);
    EXPECT_GE(height, 20);
}

TEST_F(CheckBoxes, ClickTogglesAndCallsBackOnceWithTheNewState) {
    Click(window, Centre().x, Centre().y);
    EXPECT_EQ(JCheckGet(check), 1);
    EXPECT_EQ(Heard(), std::vector<int>{1});
    EXPECT_GT(BlackInSquare(), 10);  // the tick
    Click(window, Centre().x, Centre().y);
    EXPECT_EQ(JCheckGet(check), 0);
    EXPECT_EQ(Heard(), (std::vector<int>{1, 0}));
    EXPECT_EQ(BlackInSquare(), 0);
}

TEST_F(CheckBoxes, PressInsideDragOutReleaseOutsideChangesNothing) {
    Drag(window, Centre().x, Centre().y, Centre().x + 200, Centre().y + 100);
    EXPECT_EQ(JCheckGet(check), 0);
    EXPECT_TRUE(Heard().empty());
    EXPECT_FALSE(JCheckPressed(check));
}

TEST_F(CheckBoxes, DraggingOutAndBackStillToggles) {
    const JPoint inside = At(window, Centre().x, Centre().y);
    const JPoint outside = At(window, 250, 150);
    JHeadlessDrag(inside.x, inside.y, outside.x, outside.y);
    // The drag's release is replaced by a move back and a release inside.
    JHeadlessDrag(outside.x, outside.y, inside.x, inside.y);
    Settle();
    // The first drag released outside: nothing; the second started outside
    // the box, so it is not a press on it: nothing either.
    EXPECT_TRUE(Heard().empty());
}

TEST_F(CheckBoxes, SetWithoutNotifyCallsNothing) {
    JCheckSet(check, 1, false);
    EXPECT_EQ(JCheckGet(check), 1);
    EXPECT_TRUE(Heard().empty());
    JCheckSet(check, 0, true);
    EXPECT_EQ(Heard(), std::vector<int>{0});
}

TEST_F(CheckBoxes, SetWithTheCurrentValueClearsTheMixedLook) {
    JCheckSetMixed(check, true);
    Settle();
    const int dash = BlackInSquare();
    EXPECT_GT(dash, 0);
    JCheckSet(check, 0, false);
    EXPECT_FALSE(JCheckMixed(check));
    Settle();
    EXPECT_EQ(BlackInSquare(), 0);
}

TEST_F(CheckBoxes, ClickOnAMixedBoxChecksItAndClearsMixed) {
    JCheckSetMixed(check, true);
    Click(window, Centre().x, Centre().y);
    EXPECT_FALSE(JCheckMixed(check));
    EXPECT_EQ(JCheckGet(check), 1);
}

TEST_F(CheckBoxes, DisabledBoxIgnoresClicks) {
    JControlEnable(check, false);
    Click(window, Centre().x, Centre().y);
    EXPECT_EQ(JCheckGet(check), 0);
}

TEST_F(CheckBoxes, SquareHasASunkenBevelLitFromTheTopLeft) {
    const JRect square = JCheckSquare(check);
    EXPECT_EQ(Shown(window, square.left, square.top + 5), 0x808080u);
    EXPECT_EQ(Shown(window, square.right - 1, square.top + 5), 0xFFFFFFu);
    EXPECT_EQ(Shown(window, square.left + 1, square.top + 5), 0x000000u);
    EXPECT_EQ(Shown(window, square.left + 5, square.top + 5), 0xFFFFFFu);
}

}  // namespace
