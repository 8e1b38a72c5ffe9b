// Scroll bars clicked on their arrows and track, dragged by the thumb, and
// used as a window's own bar.
#include "framework/platform/controls/scroll_bar.h"

#include "tests/framework/platform/controls_fixture.h"

namespace {

class ScrollBarTest : public HeadlessControls {
protected:
    JWnd MakeBar(bool vertical) {
        const JRect bounds = vertical ? JRect{300, 20, 316, 220} : JRect{20, 250, 220, 266};
        const JWnd bar = JCreateScrollBar(Spec(bounds, 30, "", vertical ? kSbsVertical : 0));
        JScrollBarSetRange(bar, 0, 100);
        PumpDialog();
        return bar;
    }
    // The scroll messages the dialog received, as (part, value) pairs.
    std::vector<std::pair<int, int>> Scrolls(JMsg type) const {
        std::vector<std::pair<int, int>> found;
        for (const JMessage& message : Log().messages) {
            if (message.window == dialog && message.type == type) {
                found.emplace_back(message.code, message.value);
            }
        }
        return found;
    }
};

TEST_F(ScrollBarTest, ArrowsAskForLinesAndTheTrackForPages) {
    const JWnd bar = MakeBar(true);
    JScrollBarSetPosition(bar, 50);
    PumpDialog();
    Click(bar, 8, 5);    // the up arrow
    Click(bar, 8, 195);  // the down arrow
    JSleep(1000);
    Click(bar, 8, 30);  // the track above the thumb
    JSleep(1000);
    Click(bar, 8, 170);  // below it
    PumpDialog();
    const auto scrolls = Scrolls(JMsg::VScroll);
    ASSERT_EQ(scrolls.size(), 4u);
    EXPECT_EQ(scrolls[0], std::make_pair(static_cast<int>(kScrollLine), -1));
    EXPECT_EQ(scrolls[1], std::make_pair(static_cast<int>(kScrollLine), 1));
    EXPECT_EQ(scrolls[2], std::make_pair(static_cast<int>(kScrollPage), -1));
    EXPECT_EQ(scrolls[3], std::make_pair(static_cast<int>(kScrollPage), 1));
    EXPECT_EQ(Log().Last(dialog, JMsg::VScroll)->source, bar);
    EXPECT_EQ(JScrollBarPosition(bar), 50);  // the parent moves the bar
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksAndEndsWithItsPosition) {
    const JWnd bar = MakeBar(false);
    const JRect thumb = JScrollBarThumbRect(bar);
    ASSERT_FALSE(thumb.Empty());
    EXPECT_EQ(thumb.left, 16);
    const int y = thumb.top + thumb.Height() / 2;
    Drag(bar, thumb.left + 4, y, 200, y);  // far past the end
    PumpDialog();
    const auto scrolls = Scrolls(JMsg::HScroll);
    ASSERT_GE(scrolls.size(), 2u);
    EXPECT_EQ(scrolls.front().first, kScrollThumbTrack);
    EXPECT_EQ(scrolls.back(), std::make_pair(static_cast<int>(kScrollThumb), 100));
    JScrollBarSetPosition(bar, 100);
    EXPECT_EQ(JScrollBarThumbRect(bar).right, 200 - 16);
}

TEST_F(ScrollBarTest, HomeAndEndAskForTheEnds) {
    const JWnd bar = MakeBar(true);
    JSetFocus(bar);
    JHeadlessPressKey(kKeyEnd);
    JHeadlessPressKey(kKeyHome);
    PumpDialog();
    const auto scrolls = Scrolls(JMsg::VScroll);
    ASSERT_EQ(scrolls.size(), 2u);
    EXPECT_EQ(scrolls[0], std::make_pair(static_cast<int>(kScrollEnd), 1));
    EXPECT_EQ(scrolls[1], std::make_pair(static_cast<int>(kScrollEnd), -1));
}

TEST_F(ScrollBarTest, AnEmptyRangeDisablesTheBar) {
    const JWnd bar = MakeBar(true);
    JScrollBarSetRange(bar, 0, 0);
    PumpDialog();
    EXPECT_TRUE(JScrollBarThumbRect(bar).Empty());
    Click(bar, 8, 5);
    PumpDialog();
    EXPECT_TRUE(Scrolls(JMsg::VScroll).empty());
}

TEST_F(ScrollBarTest, AWindowBarReportsAsTheWindowsOwn) {
    const JWnd bar = JAttachWindowScrollBar(dialog, true);
    JScrollBarSetRange(bar, 0, 10);
    PumpDialog();
    EXPECT_EQ(JWindowBounds(bar).right, JWindowClientRect(dialog).right);
    Click(bar, 8, 5);
    PumpDialog();
    const JMessage* scroll = Log().Last(dialog, JMsg::VScroll);
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->source, kNoWindow);
    EXPECT_EQ(scroll->code, kScrollLine);
}

}  // namespace
