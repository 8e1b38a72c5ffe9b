#include <vector>

#include "framework/ui/colour_buttons.h"
#include "framework/ui/progress_bars.h"
#include "framework/ui/scroll_bars.h"
#include "framework/ui/sliders.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

std::vector<int>& Changes() {
    static std::vector<int> changes;
    return changes;
}
std::vector<int>& Tracked() {
    static std::vector<int> tracked;
    return tracked;
}
void OnChange(JControl*, int value) {
    Changes().push_back(value);
}
void OnTrack(JControl*, int value) {
    Tracked().push_back(value);
}

class ValueControls : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        Changes().clear();
        Tracked().clear();
        window = OpenWindow(20, 20, 400, 300);
    }

    // A horizontal slider 111 pixels long from 0 to 100: its thumb's
    // centre moves one pixel per value.
    JControl* Slider() {
        JControl* slider = JControlNew(JSliderKind(), window, 20, 20);
        JSliderSetVertical(slider, false);
        JSliderSetMaximum(slider, 100);
        JControlResize(slider, 111, 24);
        JSliderSetChangeCallback(slider, OnChange);
        JSliderSetTrackingCallback(slider, OnTrack);
        JControlShow(slider);
        Settle();
        return slider;
    }
    static JPoint ThumbCentre(JControl* slider) {
        const JRect thumb = JSliderThumbRect(slider);
        return JPoint{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    }

    JWindow* window = nullptr;
};

TEST_F(ValueControls, NewSliderIsVerticalFromZeroToThree) {
    JControl* slider = JControlNew(JSliderKind(), window, 20, 20);
    EXPECT_EQ(JSliderMaximum(slider), 3);
    EXPECT_EQ(JSliderValue(slider), 0);
    int width = 0;
    int height = 0;
    JControlNaturalSize(slider, &width, &height);
    EXPECT_GT(height, width);
}

TEST_F(ValueControls, SliderValueAboveTheMaximumStoresTheMaximumWithoutCallback) {
    JControl* slider = Slider();
    JSliderSetValue(slider, 250);
    EXPECT_EQ(JSliderValue(slider), 100);
    JSliderSetValue(slider, -5);
    EXPECT_EQ(JSliderValue(slider), 0);
    JSliderSetValue(slider, 40);
    JSliderSetMaximum(slider, 30);
    EXPECT_EQ(JSliderValue(slider), 30);
    EXPECT_TRUE(Changes().empty());
}

TEST_F(ValueControls, DraggingTheThumbTracksEveryValueAndReportsTheEnd) {
    JControl* slider = Slider();
    const JPoint centre = ThumbCentre(slider);
    Drag(window, centre.x, centre.y, centre.x + 40, centre.y);
    EXPECT_EQ(JSliderValue(slider), 40);
    EXPECT_EQ(Changes(), std::vector<int>{40});
    ASSERT_FALSE(Tracked().empty());
    EXPECT_EQ(Tracked().back(), 40);
}

TEST_F(ValueControls, DraggingPastTheEndHoldsTheThumbOnTheTrack) {
    JControl* slider = Slider();
    const JPoint centre = ThumbCentre(slider);
    Drag(window, centre.x, centre.y, centre.x + 300, centre.y + 50);
    EXPECT_EQ(JSliderValue(slider), 100);
    EXPECT_LE(JSliderThumbRect(slider).right, slider->left + slider->width);
}

TEST_F(ValueControls, DragBackToTheStartingValueCallsNoChange) {
    JControl* slider = Slider();
    JSliderSetValue(slider, 50);
    Settle();
    const JPoint centre = ThumbCentre(slider);
    const JPoint from = At(window, centre.x, centre.y);
    const JPoint away = At(window, centre.x + 20, centre.y);
    JHeadlessDrag(from.x, from.y, away.x, away.y);
    Settle();
    Changes().clear();
    JSliderSetValue(slider, 50);
    Settle();
    // Grab again and come back where it started before letting go.
    JHeadlessDrag(from.x, from.y, from.x, from.y);
    Settle();
    EXPECT_TRUE(Changes().empty());
}

TEST_F(ValueControls, ThumbDragInvalidatesOnlyTheThumbsOldAndNewPlace) {
    JControl* slider = Slider();
    const JPoint centre = ThumbCentre(slider);
    const JRect before = JSliderThumbRect(slider);
    const JPoint from = At(window, centre.x, centre.y);
    JHeadlessDrag(from.x, from.y, from.x + 5, from.y);
    // Handle the press and the move, then look before painting.
    JMessage message;
    int handled = 0;
    while (handled < 2 && JPeekMessage(&message)) {
        if (message.type == JMsg::Paint) {
            JDispatchMessage(message);
            continue;
        }
        JTranslateMessage(message);
        JDispatchMessage(message);
        // The drag moves the pointer to its start before pressing.
        handled +=
            message.type == JMsg::MouseDown || (handled == 1 && message.type == JMsg::MouseMove)
                ? 1
                : 0;
    }
    const std::vector<JRect> region = JWindowUpdateRegion(window->platform);
    ASSERT_FALSE(region.empty());
    for (const JRect& rect : region) {
        EXPECT_GE(rect.left, before.left);
        EXPECT_LE(rect.right, before.right + 5);
        EXPECT_GE(rect.top, before.top);
        EXPECT_LE(rect.bottom, before.bottom);
    }
    Settle();
}

TEST_F(ValueControls, PressOnTheTrackStepsTowardThePointerWhileHeld) {
    JControl* slider = Slider();
    const JPoint point = At(window, slider->left + 100, ThumbCentre(slider).y);
    JHeadlessMovePointer(point.x, point.y);
    // Press and hold: the release comes much later.
    JHeadlessDrag(point.x, point.y, point.x, point.y);
    JHeadlessWait(0);
    // Run until the press is handled, then let the repeat timer work.
    for (int i = 0; i < 40 && JSliderValue(slider) < 5; ++i) {
        JEventStep(nullptr, true);
    }
    EXPECT_GE(JSliderValue(slider), 1);
}

TEST_F(ValueControls, ProgressBarPastItsMaximumFillsTheBarAndNoMore) {
    JControl* bar = JControlNew(JProgressBarKind(), window, 20, 100);
    JControlResize(bar, 0, 0);
    EXPECT_EQ(bar->height, 10);
    EXPECT_EQ(bar->width, 40);
    JControlResize(bar, 102, 10);
    JControlShow(bar);
    JProgressSetValue(bar, 50);
    EXPECT_EQ(JProgressFilledWidth(bar), 50);
    JProgressAdvance(bar, 100);
    EXPECT_EQ(JProgressValue(bar), 150);
    EXPECT_EQ(JProgressFilledWidth(bar), 100);
    Settle();
    EXPECT_EQ(Shown(window, bar->left + 100, bar->top + 5), JSystemRgb(JSysColour::Highlight));
    EXPECT_EQ(Shown(window, bar->left + 101, bar->top + 5), 0xFFFFFFu);  // the frame
    JProgressSetMaximum(bar, 0);
    EXPECT_EQ(JProgressFilledWidth(bar), 0);
}

TEST_F(ValueControls, OfferedColoursAreTheSortedCube) {
    const std::vector<JColour> colours = JOfferedColours(32, 0);
    ASSERT_EQ(colours.size(), 64u);
    EXPECT_EQ(colours.front(), kColourBlack);
    EXPECT_EQ(colours.back(), kColourWhite);
    // red x 64 + blue x 8 + green: green varies fastest.
    EXPECT_EQ(colours[1], (JColour{0, 0x5555, 0}));
    EXPECT_EQ(JOfferedColours(8, 40).size(), 32u);
    EXPECT_EQ(JOfferedColours(8, 10).size(), 8u);
}

TEST_F(ValueControls, NearestCellTiesGoToTheLaterCell) {
    const std::vector<JColour> cells{JColour{0, 0, 0}, JColour{100, 0, 0}, JColour{200, 0, 0}};
    EXPECT_EQ(JNearestColourCell(cells, JColour{150, 0, 0}), 2);
    EXPECT_EQ(JNearestColourCell(cells, JColour{50, 0, 0}), 1);
    EXPECT_EQ(JNearestColourCell(cells, JColour{99, 0, 0}), 1);
    int columns = 0;
    int rows = 0;
    JColourGridShape(64, &columns, &rows);
    EXPECT_EQ(columns, 8);
    EXPECT_EQ(rows, 8);
    JColourGridShape(10, &columns, &rows);
    EXPECT_EQ(columns, 3);
    EXPECT_EQ(rows, 4);
}

JColour Picked;
int PickCount = 0;
void OnColour(JControl*, JColour colour, int) {
    Picked = colour;
    ++PickCount;
}

TEST_F(ValueControls, ColourGridOpensOnTheNearestCellAndPicksAnother) {
    PickCount = 0;
    JControl* button = JControlNew(JColourButtonKind(), window, 150, 100);
    JControlResize(button, 0, 0);
    JColourButtonSetColour(button, JColour{0x5000, 0xA000, 0xFF00}, 1);
    JColourButtonSetCallback(button, OnColour);
    JControlShow(button);
    Settle();
    Click(window, button->left + 5, button->top + 5);
    ASSERT_NE(JColourGridWindow(), nullptr);
    const std::vector<JColour> cells = JColourGridList(button, false);
    EXPECT_EQ(cells[static_cast<std::size_t>(JColourGridHot())], (JColour{0x5555, 0xAAAA, 0xFFFF}));
    // Picking the current colour's own cell calls nothing... the current
    // colour is not offered exactly, so pick the first cell: black.
    JWindow* grid = JColourGridWindow();
    const JPoint black =
        JClientToFrame(grid->platform, JPoint{kColourGridMargin + 5, kColourGridMargin + 5});
    JHeadlessDrag(black.x, black.y - 1, black.x, black.y);
    Settle();
    EXPECT_EQ(JColourGridWindow(), nullptr);
    EXPECT_EQ(PickCount, 1);
    EXPECT_EQ(Picked, kColourBlack);
    // Black again is the current colour now: no callback.
    Click(window, button->left + 5, button->top + 5);
    grid = JColourGridWindow();
    ASSERT_NE(grid, nullptr);
    const JPoint again =
        JClientToFrame(grid->platform, JPoint{kColourGridMargin + 5, kColourGridMargin + 5});
    JHeadlessDrag(again.x, again.y - 1, again.x, again.y);
    Settle();
    EXPECT_EQ(PickCount, 1);
}

TEST_F(ValueControls, BlackAndWhiteButtonOffersTwoColours) {
    JControl* button = JControlNew(JColourButtonKind(), window, 150, 100);
    JColourButtonSetBlackWhite(button, true);
    EXPECT_EQ(JColourGridList(button, false), (std::vector<JColour>{kColourBlack, kColourWhite}));
    JColourButtonSetBlackWhite(button, false);
    JColourButtonSetColour(button, JColour{0x8000, 0x8000, 0x8000}, 1);
    const std::vector<JColour> shades = JColourGridList(button, true);
    ASSERT_EQ(shades.size(), 64u);
    EXPECT_EQ(shades.front(), (JColour{0x6000, 0x6000, 0x6000}));
}

int LineSteps = 0;
void CountLine(JControl*, int, int) {
    ++LineSteps;
}

TEST_F(ValueControls, AScrollBarArrowHeldDownRepeatsUntilLetGo) {
    JControl* bar = JControlNew(JScrollBarKind(), window, 250, 10);
    JControlResize(bar, JScrollBarWidth(), 120);
    JScrollSetMaximum(bar, 1000);
    JScrollSetHandler(bar, kScrollLine, CountLine);
    JControlShow(bar);
    Settle();
    LineSteps = 0;
    const JPoint arrow = At(window, 250 + JScrollBarWidth() / 2, 10 + 120 - 5);
    JHeadlessPress(arrow.x, arrow.y);
    Settle();
    EXPECT_EQ(LineSteps, 1);  // the press itself
    const std::uint32_t until = JTickCount() + 1000;
    while (static_cast<std::int32_t>(until - JTickCount()) > 0) {
        JEventStep(nullptr, true);
    }
    // A pause of 400 ms, then a step every 50 ms: about a dozen in all,
    // where a press alone would give one.
    EXPECT_GE(LineSteps, 8);
    EXPECT_LE(LineSteps, 20);
    JHeadlessRelease(arrow.x, arrow.y);
    Settle();
    const int released = LineSteps;
    const std::uint32_t later = JTickCount() + 500;
    while (static_cast<std::int32_t>(later - JTickCount()) > 0) {
        JEventStep(nullptr, true);
    }
    EXPECT_EQ(LineSteps, released);
}

}  // namespace
