#include <string>
#include <vector>

#include "framework/ui/control_drawing.h"
#include "framework/ui/popup_choices.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

std::vector<int>& Chosen() {
    static std::vector<int> chosen;
    return chosen;
}

void Listen(JControl*, int index) {
    Chosen().push_back(index);
}

class PopupChoices : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        Chosen().clear();
        window = OpenWindow(40, 40, 300, 200);
    }

    JControl* Choice(int count, int top = 20) {
        texts.clear();
        for (int i = 0; i < count; ++i) {
            texts.push_back("Item " + std::to_string(i));
        }
        std::vector<const char*> pointers;
        for (const std::string& text : texts) {
            pointers.push_back(text.c_str());
        }
        JControl* choice = JControlNew(JPopupChoiceKind(), window, 20, top);
        JChoiceSetTexts(choice, count, pointers.data());
        JChoiceSetCallback(choice, Listen);
        JControlResize(choice, 0, 0);
        JControlShow(choice);
        Settle();
        return choice;
    }

    // Where an item of the open list lies, in frame coordinates.
    static JPoint ItemPoint(int index) {
        JWindow* list = JChoiceListWindow();
        const int arrows = JChoiceListHasArrows() ? kChoiceArrowHeight : 0;
        int height = 0;
        int width = 0;
        JUiMeasureText("Item 0", &width, &height);
        const int y = arrows + 1 + (index - JChoiceListFirstShown()) * (height + 1) + height / 2;
        return JClientToFrame(list->platform, JPoint{10, y});
    }

    std::vector<std::string> texts;
    JWindow* window = nullptr;
};

TEST_F(PopupChoices, NaturalSizeFollowsTheWidestAndTallestItem) {
    JControl* choice = Choice(3);
    int width = 0;
    int height = 0;
    JUiMeasureText("Item 0", &width, &height);
    EXPECT_EQ(choice->height, height + 4 + 1);
    const int unit = choice->height / 6 + 1;
    const int column = (2 * unit / 6) * 4 + 3;
    EXPECT_EQ(choice->width, 2 * unit + width + 12 + column + 1);
}

TEST_F(PopupChoices, PressDragReleaseChoosesAnotherItem) {
    JControl* choice = Choice(5);
    const JPoint box = At(window, choice->left + 10, choice->top + 5);
    JHeadlessMovePointer(box.x, box.y);
    JHeadlessClick(box.x, box.y);  // opens; a plain click leaves it open
    Settle();
    ASSERT_NE(JChoiceListWindow(), nullptr);
    const JPoint third = ItemPoint(3);
    JHeadlessDrag(third.x, third.y - 1, third.x, third.y);
    Settle();
    EXPECT_EQ(JChoiceListWindow(), nullptr);
    EXPECT_EQ(JChoiceSelectedIndex(choice), 3);
    EXPECT_EQ(Chosen(), std::vector<int>{3});
    EXPECT_STREQ(static_cast<const char*>(JChoiceSelected(choice)), "Item 3");
}

TEST_F(PopupChoices, ListOpensWithTheSelectedItemOverTheBox) {
    JControl* choice = Choice(5, 100);
    JChoiceSelect(choice, 2);
    Click(window, choice->left + 10, choice->top + 5);
    JWindow* list = JChoiceListWindow();
    ASSERT_NE(list, nullptr);
    const JPoint item = ItemPoint(2);
    const JPoint boxTop = At(window, choice->left, choice->top);
    EXPECT_NEAR(item.y, boxTop.y + choice->height / 2, 3);
    EXPECT_FALSE(JChoiceListHasArrows());
}

TEST_F(PopupChoices, ChoosingTheSelectedItemCallsNothing) {
    JControl* choice = Choice(4);
    JChoiceSelect(choice, 1);
    Click(window, choice->left + 10, choice->top + 5);
    const JPoint item = ItemPoint(1);
    JHeadlessDrag(item.x, item.y - 1, item.x, item.y);
    Settle();
    EXPECT_EQ(JChoiceListWindow(), nullptr);
    EXPECT_TRUE(Chosen().empty());
}

TEST_F(PopupChoices, ClickOutsideTheOpenListClosesItUnchanged) {
    JControl* choice = Choice(4);
    Click(window, choice->left + 10, choice->top + 5);
    ASSERT_NE(JChoiceListWindow(), nullptr);
    JHeadlessClick(700, 500);
    Settle();
    EXPECT_EQ(JChoiceListWindow(), nullptr);
    EXPECT_EQ(JChoiceSelectedIndex(choice), 0);
    EXPECT_TRUE(Chosen().empty());
}

TEST_F(PopupChoices, ListNearTheBottomEdgeStaysOnTheFrame) {
    JWindowMoveTo(window, 40, JDeskRect().bottom - 80);
    Settle();
    JControl* choice = Choice(8, 40);
    JChoiceSelect(choice, 0);
    Click(window, choice->left + 10, choice->top + 5);
    JWindow* list = JChoiceListWindow();
    ASSERT_NE(list, nullptr);
    EXPECT_LE(list->top + list->height, JDeskRect().bottom);
    EXPECT_GE(list->top, 0);
}

TEST_F(PopupChoices, TallListGetsScrollArrowsThatScrollWhileHeld) {
    JControl* choice = Choice(120);
    JChoiceSelect(choice, 60);
    Click(window, choice->left + 10, choice->top + 5);
    JWindow* list = JChoiceListWindow();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(JChoiceListHasArrows());
    EXPECT_EQ(list->top, 2);
    EXPECT_EQ(list->height, JDeskRect().bottom - 8);
    // The selected item is shown.
    const int first = JChoiceListFirstShown();
    EXPECT_LE(first, 60);
    EXPECT_GT(first, 0);
    // Resting on the bottom arrow scrolls down, step after step.
    const JPoint arrow = JClientToFrame(list->platform, JPoint{10, list->height - 4});
    JHeadlessMovePointer(arrow.x, arrow.y);
    Settle();
    for (int i = 0; i < 20; ++i) {
        JEventStep(nullptr, true);
    }
    EXPECT_GT(JChoiceListFirstShown(), first + 3);
    // And the top arrow back up.
    const int down = JChoiceListFirstShown();
    const JPoint up = JClientToFrame(list->platform, JPoint{10, 4});
    JHeadlessMovePointer(up.x, up.y);
    Settle();
    for (int i = 0; i < 20; ++i) {
        JEventStep(nullptr, true);
    }
    EXPECT_LT(JChoiceListFirstShown(), down);
}

TEST_F(PopupChoices, DeletingTheChoiceClosesItsList) {
    JControl* choice = Choice(4);
    Click(window, choice->left + 10, choice->top + 5);
    ASSERT_NE(JChoiceListWindow(), nullptr);
    JControlDelete(choice);
    EXPECT_EQ(JChoiceListWindow(), nullptr);
    Settle();
}

TEST_F(PopupChoices, ItemPastTheEndIsNone) {
    JControl* choice = Choice(2);
    EXPECT_EQ(JChoiceItem(choice, 2), nullptr);
}

}  // namespace
