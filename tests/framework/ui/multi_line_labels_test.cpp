#include "framework/ui/multi_line_labels.h"

#include <string>

#include "framework/ui/control_drawing.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

int Width(const char* text) {
    int width = 0;
    int height = 0;
    JUiMeasureText(text, &width, &height);
    return width;
}

int LineHeight() {
    int width = 0;
    int height = 0;
    JUiMeasureText("Ag", &width, &height);
    return height;
}

class MultiLineLabels : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        window = OpenWindow(40, 40, 300, 200);
        label = JControlNew(JMultiLineLabelKind(), window, 10, 10);
        JControlShow(label);
    }
    std::string Line(int index) {
        const char* line = JMultiLineLabelLine(label, index);
        return line != nullptr ? line : "<none>";
    }

    JWindow* window = nullptr;
    JControl* label = nullptr;
};

TEST_F(MultiLineLabels, LineFeedsBreakAndLeadingBlanksStay) {
    JMultiLineLabelSetText(label, "Na\xC3\xAFve GIF\n  Utilities", 0);
    ASSERT_EQ(JMultiLineLabelLineCount(label), 2);
    EXPECT_EQ(Line(1), "  Utilities");
    EXPECT_EQ(label->height, 2 * LineHeight());
    EXPECT_EQ(label->width, std::max(Width("Na\xC3\xAFve GIF"), Width("  Utilities")));
}

TEST_F(MultiLineLabels, WrapsAtBlanksWithinTheWidth) {
    const char* text = "Checked boxes indicate good compatibility, even with long, complex GIFs.";
    const int wrap = Width("Checked boxes indicate good");
    JMultiLineLabelSetText(label, text, wrap);
    ASSERT_GE(JMultiLineLabelLineCount(label), 3);
    EXPECT_EQ(Line(0), "Checked boxes indicate good");
    std::string joined;
    for (int i = 0; i < JMultiLineLabelLineCount(label); ++i) {
        EXPECT_LE(Width(Line(i).c_str()), wrap) << Line(i);
        joined += (i > 0 ? " " : "") + Line(i);
    }
    EXPECT_EQ(joined, text);
    EXPECT_LE(label->width, wrap);
}

TEST_F(MultiLineLabels, AWordWiderThanTheWidthKeepsALineOfItsOwn) {
    JMultiLineLabelSetText(label, "a compatibility b", Width("a b"));
    ASSERT_EQ(JMultiLineLabelLineCount(label), 3);
    EXPECT_EQ(Line(1), "compatibility");
    EXPECT_EQ(Line(3), "<none>");
}

}  // namespace
