#include "app/shell/frame_range_slider.h"

#include <filesystem>
#include <vector>

#include "framework/platform/draw/png_file.h"
#include "framework/platform/draw/system_colours.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

// What the slider told, in order: 'p' pressed (low holds the value),
// 'g' changing, 'd' changed.
struct Call {
    char kind = 0;
    bool lowChanged = false;
    int low = 0;
    bool highChanged = false;
    int high = 0;
    bool operator==(const Call&) const = default;
};

std::vector<Call>& Calls() {
    static std::vector<Call> calls;
    return calls;
}
void OnPressed(JControl*, int value) {
    Calls().push_back(Call{'p', false, value, false, 0});
}
void OnChanging(JControl*, bool lowChanged, int low, bool highChanged, int high) {
    Calls().push_back(Call{'g', lowChanged, low, highChanged, high});
}
void OnChanged(JControl*, bool lowChanged, int low, bool highChanged, int high) {
    Calls().push_back(Call{'d', lowChanged, low, highChanged, high});
}

std::vector<Call> CallsOf(char kind) {
    std::vector<Call> calls;
    for (const Call& call : Calls()) {
        if (call.kind == kind) {
            calls.push_back(call);
        }
    }
    return calls;
}

void PrintTo(const Call& call, std::ostream* out) {
    *out << call.kind << "(" << call.lowChanged << "," << call.low << "," << call.highChanged << ","
         << call.high << ")";
}

class FrameRangeSliderTest : public FrameworkTest {
protected:
    static constexpr std::uint32_t kAfterDoubleClickMs = 600;

    void SetUp() override {
        FrameworkTest::SetUp();
        RegisterFrameRangeSliderKind();
        Calls().clear();
        window = OpenWindow(20, 20, 460, 320);
    }

    // A horizontal slider at (20, 20) with every callback set.
    JControl* Slider(int length, int thickness, int maximum, int low, int high) {
        JControl* slider = NewFrameRangeSlider(window, 20, 20);
        FrameRangeSliderSetVertical(slider, false);
        JControlResize(slider, length, thickness);
        FrameRangeSliderSetMaximum(slider, maximum);
        FrameRangeSliderSetHigh(slider, high);
        FrameRangeSliderSetLow(slider, low);
        FrameRangeSliderSetCallbacks(slider, OnPressed, OnChanging, OnChanged);
        JControlShow(slider);
        Settle();
        return slider;
    }

    static JPoint Centre(JControl* slider, int thumb) {
        const JRect square = FrameRangeSliderThumbRect(slider, thumb);
        return JPoint{(square.left + square.right) / 2, (square.top + square.bottom) / 2};
    }
    // Along the track, from the control's left.
    static int CentreAlong(JControl* slider, int thumb) {
        return Centre(slider, thumb).x - slider->left;
    }
    static int PixelOf(JControl* slider, int value) {
        return FrameRangePixelOfValue(FrameRangeSliderGeometry(slider),
                                      FrameRangeSliderMaximum(slider), value);
    }

    // Steps until no input and no message waits, letting the clock run on
    // to input queued for later.
    static void SettleInTime() {
        for (int i = 0; i < 2000; ++i) {
            JMessage message;
            if (JHeadlessPendingEvents() == 0 && !JPeekMessage(&message, kNoWindow, kPeekKeep)) {
                break;
            }
            JEventStep(nullptr, true);
        }
    }
    // A press long enough after the last one not to make a double click.
    void Press(int x, int y, std::uint8_t button = kButtonLeft) {
        const JPoint at = At(window, x, y);
        JHeadlessWait(kAfterDoubleClickMs);
        JHeadlessMovePointer(at.x, at.y);
        JHeadlessPress(at.x, at.y, button);
        SettleInTime();
    }
    void MoveTo(int x, int y) {
        const JPoint at = At(window, x, y);
        JHeadlessMovePointer(at.x, at.y);
        Settle();
    }
    void Release(int x, int y, std::uint8_t button = kButtonLeft) {
        const JPoint at = At(window, x, y);
        JHeadlessRelease(at.x, at.y, button);
        Settle();
    }
    // Drags a thumb by its centre to `along` pixels from the control's left.
    void DragThumb(JControl* slider, int thumb, int along) {
        const JPoint from = Centre(slider, thumb);
        Press(from.x, from.y);
        MoveTo(slider->left + along, from.y);
        Release(slider->left + along, from.y);
    }

    JWindow* window = nullptr;
};

// --- geometry ---

TEST(FrameRangeLayout, FollowsTheSizeAcrossAndAlongTheTrack) {
    struct Case {
        int thickness, length, maximum;
        int radius, inset, first, last, picture, spacing;
        bool ticks;
    };
    const Case cases[] = {
        {21, 63, 3, 3, 7, 12, 49, 7, 12, true},       // the default size
        {21, 300, 30, 3, 7, 12, 286, 7, 9, true},     // a long track, ticks
        {30, 300, 99, 5, 10, 18, 280, 11, 2, false},  // too many frames for ticks
        {40, 200, 10, 8, 13, 27, 171, 17, 14, true},  // a large thumb
        {12, 40, 1, 1, 4, 6, 32, 3, 26, true},        // a small one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.thickness << " by " << c.length);
        const FrameRangeGeometry g = FrameRangeLayout(c.thickness, c.length, c.maximum);
        EXPECT_EQ(g.thumbRadius, c.radius);
        EXPECT_EQ(g.trackInset, c.inset);
        EXPECT_EQ(g.firstPixel, c.first);
        EXPECT_EQ(g.lastPixel, c.last);
        EXPECT_EQ(g.pictureSize, c.picture);
        EXPECT_EQ(g.tickSpacing, c.spacing);
        EXPECT_EQ(g.ticksShown, c.ticks);
    }
}

TEST(FrameRangeLayout, TrackShorterThanItsThumbsStaysUsable) {
    const FrameRangeGeometry g = FrameRangeLayout(21, 10, 5);
    EXPECT_EQ(g.lastPixel, g.firstPixel);
    EXPECT_FALSE(g.ticksShown);
    EXPECT_EQ(FrameRangePixelOfValue(g, 5, 5), g.firstPixel);
    EXPECT_EQ(FrameRangeValueAtPixel(g, 5, g.firstPixel + 3), 0);
}

TEST(FrameRangeLayout, EveryValueIsFoundAgainAtItsOwnPixel) {
    // Spacings of exactly 1, a fraction above 1, and a fraction above 2.
    for (const auto& [length, maximum] : {std::pair{76, 50}, {80, 50}, {131, 50}, {63, 3}}) {
        const FrameRangeGeometry g = FrameRangeLayout(21, length, maximum);
        for (int value = 0; value <= maximum; ++value) {
            EXPECT_EQ(FrameRangeValueAtPixel(g, maximum, FrameRangePixelOfValue(g, maximum, value)),
                      value)
                << length << " long, value " << value;
        }
    }
}

// --- the control ---

TEST_F(FrameRangeSliderTest, NewSliderIsVerticalAtTheDefaultSize) {
    JControl* slider = NewFrameRangeSlider(window, 10, 10);
    EXPECT_EQ(slider->width, 21);
    EXPECT_EQ(slider->height, 63);
    EXPECT_EQ(FrameRangeSliderMaximum(slider), 3);
    EXPECT_EQ(FrameRangeSliderLow(slider), 0);
    EXPECT_EQ(FrameRangeSliderHigh(slider), 0);
    FrameRangeSliderSetVertical(slider, false);
    JControlResize(slider, 0, 30);
    EXPECT_EQ(slider->width, 90);
    EXPECT_EQ(slider->height, 30);
    EXPECT_EQ(FrameRangeSliderGeometry(slider).thumbRadius, 5);
}

TEST_F(FrameRangeSliderTest, SettingEndsAndMaximumClampsWithoutCallbacks) {
    JControl* slider = Slider(300, 21, 20, 5, 10);
    FrameRangeSliderSetHigh(slider, 99);
    FrameRangeSliderSetLow(slider, -4);
    EXPECT_EQ(FrameRangeSliderLow(slider), 0);
    EXPECT_EQ(FrameRangeSliderHigh(slider), 20);
    // Both at 20: A counts as the low end and B as the high end.
    FrameRangeSliderSetLow(slider, 20);
    FrameRangeSliderSetHigh(slider, 3);
    EXPECT_EQ(CentreAlong(slider, 0), PixelOf(slider, 20));
    EXPECT_EQ(CentreAlong(slider, 1), PixelOf(slider, 3));
    // A lower maximum pulls thumb A down to it.
    FrameRangeSliderSetMaximum(slider, 12);
    EXPECT_EQ(FrameRangeSliderHigh(slider), 12);
    EXPECT_EQ(CentreAlong(slider, 0), FrameRangeSliderGeometry(slider).lastPixel);
    FrameRangeSliderSetMaximum(slider, 0);  // taken as 1
    EXPECT_EQ(FrameRangeSliderMaximum(slider), 1);
    EXPECT_EQ(FrameRangeSliderLow(slider), 1);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(FrameRangeSliderTest, DraggingReportsEachNewRangeOnceAndTheEndAtRelease) {
    JControl* slider = Slider(300, 21, 20, 2, 15);
    const int spacing = PixelOf(slider, 1) - PixelOf(slider, 0);
    const JPoint from = Centre(slider, 0);
    Press(from.x, from.y);
    EXPECT_EQ(Calls(), (std::vector<Call>{Call{'p', false, 2, false, 0}}));
    MoveTo(from.x + 1, from.y);  // still nearest to 2
    MoveTo(from.x + spacing, from.y);
    MoveTo(from.x + spacing + 1, from.y);
    MoveTo(from.x + 3 * spacing, from.y);
    Release(from.x + 3 * spacing, from.y);
    const std::vector<Call> expected{
        {'p', false, 2, false, 0},
        {'g', true, 3, false, 15},
        {'g', true, 5, false, 15},
        // Let go on a new value: told even though the last report said it.
        {'d', false, 5, false, 15},
    };
    EXPECT_EQ(Calls(), expected);
    EXPECT_EQ(FrameRangeSliderLow(slider), 5);
}

TEST_F(FrameRangeSliderTest, ReleaseSettlesOnTheNearestTickWithinTheTrack) {
    JControl* slider = Slider(300, 21, 20, 2, 15);
    DragThumb(slider, 1, PixelOf(slider, 6) + 5);  // 13 apart: nearer 6 than 7
    EXPECT_EQ(CentreAlong(slider, 1), PixelOf(slider, 6));
    EXPECT_EQ(CallsOf('d'), (std::vector<Call>{Call{'d', false, 2, false, 6}}));
    DragThumb(slider, 1, PixelOf(slider, 7) - 4);
    EXPECT_EQ(CentreAlong(slider, 1), PixelOf(slider, 7));
    DragThumb(slider, 1, 1000);
    EXPECT_EQ(FrameRangeSliderHigh(slider), 20);
    DragThumb(slider, 0, -500);
    EXPECT_EQ(CentreAlong(slider, 0), FrameRangeSliderGeometry(slider).firstPixel);
}

TEST_F(FrameRangeSliderTest, ReleasedWhereItWasPressedCallsNoChange) {
    JControl* slider = Slider(300, 21, 20, 2, 15);
    const JPoint from = Centre(slider, 1);
    Press(from.x, from.y);
    MoveTo(from.x + 30, from.y);
    MoveTo(from.x, from.y);
    Release(from.x, from.y);
    EXPECT_TRUE(CallsOf('d').empty());
    EXPECT_EQ(FrameRangeSliderHigh(slider), 15);
    // Let go one value further: one change, told while dragging and again
    // at the release.
    Calls().clear();
    DragThumb(slider, 1, PixelOf(slider, 16));
    const std::vector<Call> expected{
        {'p', false, 15, false, 0}, {'g', false, 2, true, 16}, {'d', false, 2, false, 16}};
    EXPECT_EQ(Calls(), expected);
}

TEST_F(FrameRangeSliderTest, PressOnTheTrackOrWithTheMiddleButtonDoesNothing) {
    JControl* slider = Slider(300, 21, 20, 2, 15);
    const JPoint thumb = Centre(slider, 0);
    const int eight = slider->left + PixelOf(slider, 8);
    Press(eight, thumb.y);
    MoveTo(eight + 20, thumb.y);
    Release(eight + 20, thumb.y);
    Press(thumb.x, thumb.y, kButtonMiddle);
    MoveTo(eight, thumb.y);
    Release(eight, thumb.y, kButtonMiddle);
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(CentreAlong(slider, 0), PixelOf(slider, 2));
    EXPECT_EQ(CentreAlong(slider, 1), PixelOf(slider, 15));
}

TEST_F(FrameRangeSliderTest, ThumbDraggedPastTheOtherBecomesTheHighEnd) {
    JControl* slider = Slider(300, 21, 20, 4, 8);
    const JPoint from = Centre(slider, 0);
    Press(from.x, from.y);
    for (const int value : {6, 8, 10, 12}) {
        MoveTo(slider->left + PixelOf(slider, value), from.y);
    }
    Release(slider->left + PixelOf(slider, 12), from.y);
    const std::vector<Call> expected{
        {'p', false, 4, false, 0}, {'g', true, 6, false, 8},  {'g', true, 8, false, 8},
        {'g', false, 8, true, 10}, {'g', false, 8, true, 12}, {'d', false, 8, false, 12},
    };
    EXPECT_EQ(Calls(), expected);
    EXPECT_EQ(FrameRangeSliderLow(slider), 8);
    EXPECT_EQ(FrameRangeSliderHigh(slider), 12);
    // The thumbs stay crossed: setting the low end now moves thumb B.
    FrameRangeSliderSetLow(slider, 0);
    EXPECT_EQ(CentreAlong(slider, 1), PixelOf(slider, 0));
    EXPECT_EQ(CentreAlong(slider, 0), PixelOf(slider, 12));
}

TEST_F(FrameRangeSliderTest, ManyFramesOnAShortTrackNeitherTickNorSnap) {
    JControl* slider = Slider(120, 21, 200, 0, 200);  // less than a pixel a frame
    ASSERT_FALSE(FrameRangeSliderGeometry(slider).ticksShown);
    DragThumb(slider, 0, 40);
    EXPECT_EQ(CentreAlong(slider, 0), 40);
    const int value = FrameRangeSliderLow(slider);
    EXPECT_EQ(value, FrameRangeValueAtPixel(FrameRangeSliderGeometry(slider), 200, 40));
    // A thumb set to a value that shares its pixel keeps it when only
    // pressed and let go.
    FrameRangeSliderSetLow(slider, 101);
    Settle();
    Calls().clear();
    const JPoint at = Centre(slider, 0);
    Press(at.x, at.y);
    Release(at.x, at.y);
    EXPECT_EQ(FrameRangeSliderLow(slider), 101);
    EXPECT_TRUE(CallsOf('d').empty());
}

TEST_F(FrameRangeSliderTest, MaximumOfOneGivesTwoPositions) {
    JControl* slider = Slider(200, 21, 1, 0, 0);
    const FrameRangeGeometry& g = FrameRangeSliderGeometry(slider);
    const int half = g.firstPixel + (g.lastPixel - g.firstPixel) / 2;
    // Both thumbs lie at 0; a press there takes thumb A.
    DragThumb(slider, 0, half);
    EXPECT_EQ(CentreAlong(slider, 0), g.firstPixel);
    EXPECT_TRUE(CallsOf('d').empty());
    DragThumb(slider, 0, half + 1);
    EXPECT_EQ(CentreAlong(slider, 0), g.lastPixel);
    EXPECT_EQ(FrameRangeSliderLow(slider), 0);
    EXPECT_EQ(FrameRangeSliderHigh(slider), 1);
    EXPECT_EQ(CallsOf('g'), (std::vector<Call>{Call{'g', false, 0, true, 1}}));
    EXPECT_EQ(CallsOf('d'), (std::vector<Call>{Call{'d', false, 0, false, 1}}));
}

TEST_F(FrameRangeSliderTest, VerticalSliderFollowsThePointerDownwards) {
    JControl* slider = NewFrameRangeSlider(window, 30, 10);
    JControlResize(slider, 0, 250);
    FrameRangeSliderSetMaximum(slider, 10);
    FrameRangeSliderSetHigh(slider, 10);
    FrameRangeSliderSetCallbacks(slider, OnPressed, OnChanging, OnChanged);
    JControlShow(slider);
    Settle();
    const JPoint from = Centre(slider, 0);
    const int nine = slider->top + PixelOf(slider, 9);
    Press(from.x, from.y);
    MoveTo(from.x + 3, nine);
    Release(from.x + 3, nine);
    EXPECT_EQ(FrameRangeSliderLow(slider), 9);
    EXPECT_EQ(CallsOf('d'), (std::vector<Call>{Call{'d', false, 9, false, 10}}));
}

TEST_F(FrameRangeSliderTest, DisablingEndsADragSilentlyAndIgnoresPresses) {
    JControl* slider = Slider(300, 21, 20, 2, 15);
    const JPoint from = Centre(slider, 0);
    const int nine = slider->left + PixelOf(slider, 9);
    Press(from.x, from.y);
    MoveTo(nine, from.y);
    JControlEnable(slider, false);
    Release(nine, from.y);
    EXPECT_EQ(CentreAlong(slider, 0), PixelOf(slider, 2));
    Calls().clear();
    DragThumb(slider, 0, nine - slider->left);
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(FrameRangeSliderLow(slider), 2);
}

// --- drawing ---

TEST_F(FrameRangeSliderTest, ThumbPicturesAreMadeOncePerSize) {
    const int before = FrameRangeThumbPictureCount();
    JControl* first = Slider(231, 27, 10, 1, 4);
    JControl* second = NewFrameRangeSlider(window, 20, 80);
    FrameRangeSliderSetVertical(second, false);
    JControlResize(second, 231, 27);
    JControlShow(second);
    Settle();
    EXPECT_EQ(FrameRangeThumbPictureCount(), before + 1);
    JControlResize(first, 231, 29);
    Settle();
    EXPECT_EQ(FrameRangeThumbPictureCount(), before + 2);
    JControlEnable(second, false);
    Settle();
    EXPECT_EQ(FrameRangeThumbPictureCount(), before + 2);
}

TEST_F(FrameRangeSliderTest, TicksMarkOnlyTheFramesOutsideTheRange) {
    JControl* slider = Slider(300, 21, 20, 5, 12);
    const int y = Centre(slider, 0).y;
    const std::uint32_t dark = JSystemRgb(JSysColour::Shadow);
    const std::uint32_t light = JSystemRgb(JSysColour::Light3D);
    const std::uint32_t face = JSystemRgb(JSysColour::Face);
    for (const int value : {0, 4, 13, 20}) {
        const int x = slider->left + PixelOf(slider, value);
        EXPECT_EQ(Shown(window, x, y), dark) << value;
        EXPECT_EQ(Shown(window, x + 1, y), light) << value;
    }
    for (const int value : {6, 8, 11}) {
        EXPECT_EQ(Shown(window, slider->left + PixelOf(slider, value), y), face) << value;
    }
    // With the low end dragged to 9, frames 5 to 8 are outside and marked.
    DragThumb(slider, 0, PixelOf(slider, 9));
    for (const int value : {5, 6, 8}) {
        EXPECT_EQ(Shown(window, slider->left + PixelOf(slider, value), y), dark) << value;
    }
}

TEST_F(FrameRangeSliderTest, KnobIsRoundAndLeavesTheSquaresCornersAlone) {
    // A large knob at value 0 sits on the groove's end.
    JControl* slider = Slider(300, 40, 10, 0, 10);
    const JRect square = FrameRangeSliderThumbRect(slider, 0);
    const FrameRangeGeometry& g = FrameRangeSliderGeometry(slider);
    ASSERT_EQ(square.Width(), g.pictureSize);
    const int groove = slider->top + g.trackInset;
    // The groove's left end: its outer bevel column is the shadow colour
    // from its top row down, also inside the thumb's square.
    EXPECT_EQ(Shown(window, square.left, groove + 1), JSystemRgb(JSysColour::Shadow));
    // Inside its rim the knob is lit from the top left, the same along
    // either axis.
    const JPoint centre = Centre(slider, 0);
    for (int d = 1; d < g.thumbRadius - 1; ++d) {
        EXPECT_EQ(Shown(window, centre.x - d, centre.y), Shown(window, centre.x, centre.y - d));
        EXPECT_EQ(Shown(window, centre.x + d, centre.y), Shown(window, centre.x, centre.y + d));
        EXPECT_GT(JRgbRed(Shown(window, centre.x - d, centre.y)),
                  JRgbRed(Shown(window, centre.x + d, centre.y)));
    }
    // The corner of the square outside the circle shows the control's face.
    EXPECT_EQ(Shown(window, square.left, square.top), JSystemRgb(JSysColour::Face));
}

TEST_F(FrameRangeSliderTest, TickUnderADraggedThumbShowsOnlyOutsideItsCircle) {
    JControl* slider = Slider(200, 40, 10, 0, 10);
    const FrameRangeGeometry& g = FrameRangeSliderGeometry(slider);
    ASSERT_EQ(g.tickSpacing, 14);
    ASSERT_EQ(g.thumbRadius, 8);
    const int six = slider->left + PixelOf(slider, 6);
    const int middle = Centre(slider, 1).y;
    Press(Centre(slider, 1).x, middle);
    // Held 7 pixels before the tick of 6: the thumb stands for 5, so 6 is
    // outside the range. The knob's circle (radius 8, the tick 7.5 out)
    // hides the tick for 2 pixels each way.
    MoveTo(six - 7, middle);
    const std::uint32_t dark = JSystemRgb(JSysColour::Shadow);
    EXPECT_EQ(Shown(window, six, middle - 3), dark);
    EXPECT_EQ(Shown(window, six, middle + 3), dark);
    for (int y = middle - 2; y <= middle + 2; ++y) {
        EXPECT_NE(Shown(window, six, y), dark) << y - middle;
    }
    Release(six - 7, middle);
    EXPECT_EQ(FrameRangeSliderHigh(slider), 5);
}

// Writes frame_range_sliders.png into the temporary directory: sliders of
// several sizes and ranges, one disabled, two vertical, and a thumb held
// over a tick while it is dragged.
TEST_F(FrameRangeSliderTest, GalleryOfSliders) {
    struct Sample {
        int length, thickness, maximum, low, high;
        bool enabled;
    };
    const Sample samples[] = {
        {200, 21, 9, 2, 6, true},  {200, 21, 9, 0, 9, true},     {300, 30, 24, 5, 17, true},
        {300, 40, 10, 3, 4, true}, {300, 21, 150, 20, 90, true}, {200, 21, 9, 2, 6, false},
        {200, 40, 10, 3, 4, true},
    };
    int top = 10;
    JControl* last = nullptr;
    for (const Sample& s : samples) {
        last = NewFrameRangeSlider(window, 10, top);
        FrameRangeSliderSetVertical(last, false);
        JControlResize(last, s.length, s.thickness);
        FrameRangeSliderSetMaximum(last, s.maximum);
        FrameRangeSliderSetHigh(last, s.high);
        FrameRangeSliderSetLow(last, s.low);
        JControlEnable(last, s.enabled);
        JControlShow(last);
        top += s.thickness + 6;
    }
    JControl* vertical = NewFrameRangeSlider(window, 340, 10);
    JControlResize(vertical, 0, 200);
    FrameRangeSliderSetMaximum(vertical, 7);
    FrameRangeSliderSetHigh(vertical, 5);
    FrameRangeSliderSetLow(vertical, 1);
    JControlShow(vertical);
    JControl* small = NewFrameRangeSlider(window, 380, 10);
    JControlShow(small);
    Settle();
    // The last slider's high thumb held 7 pixels before the tick of 6.
    const JPoint thumb = Centre(last, 1);
    Press(thumb.x, thumb.y);
    MoveTo(last->left + PixelOf(last, 6) - 7, thumb.y);

    const JPoint origin = At(window, 0, 0);
    const JSurface& frame = JHeadlessFramePixels();
    JSurface shot;
    JSurfaceResize(&shot, 440, top + 4);
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            shot.Row(y)[x] = frame.At(origin.x + x, origin.y + y);
        }
    }
    const auto path = std::filesystem::temp_directory_path() / "frame_range_sliders.png";
    EXPECT_TRUE(JWritePng(shot, path.c_str()));
    Release(last->left + PixelOf(last, 6) - 7, thumb.y);
}

}  // namespace
