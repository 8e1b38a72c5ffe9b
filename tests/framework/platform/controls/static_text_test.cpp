// Static text drawn at the left, in the centre and at the right.
#include "framework/platform/controls/static_text.h"

#include "tests/framework/platform/controls_fixture.h"

namespace {

class StaticTextTest : public HeadlessControls {
protected:
    // The first and last columns of the control that hold a dark pixel.
    static std::pair<int, int> InkColumns(JWnd control) {
        const JRect client = JWindowClientRect(control);
        int first = -1;
        int last = -1;
        for (int x = client.left; x < client.right; ++x) {
            for (int y = client.top; y < client.bottom; ++y) {
                const JPoint point = At(control, x, y);
                if ((Shown(point.x, point.y) & 0xFF) < 0x60) {
                    first = first < 0 ? x : first;
                    last = x;
                    break;
                }
            }
        }
        return {first, last};
    }
};

TEST_F(StaticTextTest, AlignsItsTextLeftCentreAndRight) {
    const JWnd left = JCreateStaticText(Spec(JRect{10, 10, 210, 30}, 1, "Label"));
    const JWnd centre = JCreateStaticText(Spec(JRect{10, 40, 210, 60}, 2, "Label", kSsCentre));
    const JWnd right = JCreateStaticText(Spec(JRect{10, 70, 210, 90}, 3, "Label", kSsRight));
    PumpDialog();
    const auto [leftFirst, leftLast] = InkColumns(left);
    const auto [centreFirst, centreLast] = InkColumns(centre);
    const auto [rightFirst, rightLast] = InkColumns(right);
    ASSERT_GE(leftFirst, 0);
    EXPECT_LE(leftFirst, 2);
    EXPECT_NEAR((centreFirst + centreLast) / 2, 100, 3);
    EXPECT_GE(rightLast, 196);
    EXPECT_EQ(leftLast - leftFirst, rightLast - rightFirst);
}

TEST_F(StaticTextTest, SettingTheTextRedrawsIt) {
    const JWnd label = JCreateStaticText(Spec(JRect{10, 10, 210, 30}, 1, ""));
    PumpDialog();
    EXPECT_EQ(InkColumns(label).first, -1);
    JStaticTextSetText(label, "Now with text");
    PumpDialog();
    EXPECT_GE(InkColumns(label).first, 0);
    EXPECT_STREQ(JWindowTitle(label), "Now with text");
}

}  // namespace
