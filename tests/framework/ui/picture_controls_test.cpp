#include "framework/ui/picture_controls.h"

#include "tests/framework/ui/ui_fixture.h"

namespace {

class PictureControls : public FrameworkTest {};

TEST_F(PictureControls, ShowsTheBitmapOfItsNumberAndReleasesTheOneBefore) {
    JWindow* window = OpenWindow(20, 20, 200, 150);
    JControl* picture = JControlNew(JPictureKind(), window, 10, 10);
    JControlShow(picture);
    const int picturesBefore = JPictureCount();
    JPictureSetNumber(picture, 128);  // the stop sign of the alerts, bitmap 4128
    Settle();
    EXPECT_EQ(picture->width, 32);
    EXPECT_EQ(picture->height, 32);
    EXPECT_EQ(JPictureCount(), picturesBefore + 1);
    // The sign's red shows inside the control, white at its corner.
    bool red = false;
    for (int y = 10; y < 42 && !red; ++y) {
        for (int x = 10; x < 42 && !red; ++x) {
            red = Shown(window, x, y) == 0xD01818;
        }
    }
    EXPECT_TRUE(red);
    // A number without a bitmap shows nothing and keeps no picture.
    JPictureSetNumber(picture, 999);
    Settle();
    EXPECT_EQ(JPictureCount(), picturesBefore);
    EXPECT_EQ(picture->width, 0);
    JPictureSetNumber(picture, 128);
    JControlDelete(picture);
    Settle();
    EXPECT_EQ(JPictureCount(), picturesBefore);
}

}  // namespace
