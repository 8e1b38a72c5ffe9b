#include "framework/platform/system/clipboard.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/core/strings.h"
#include "framework/platform/draw/backend.h"

namespace {

struct StrFree {
    void operator()(char* text) const { JStrFree(text); }
};
using HeapText = std::unique_ptr<char, StrFree>;

// What the clipboard itself holds, without the line-end conversion.
std::string RawClipboard() {
    HeapText text(JBackendCurrent().clipboardText());
    return text ? std::string(text.get()) : std::string();
}

class ClipboardTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(JBackendStart(JBackendChoice::Headless)); }
    void TearDown() override { JBackendStop(); }
};

TEST_F(ClipboardTest, LineFeedsGoOutAsCarriageReturnLineFeed) {
    ASSERT_TRUE(JClipboardSetText("first\nsecond\n\nlast"));
    EXPECT_EQ(RawClipboard(), "first\r\nsecond\r\n\r\nlast");
}

TEST_F(ClipboardTest, CarriageReturnsAreRemovedComingIn) {
    ASSERT_TRUE(JBackendCurrent().setClipboardText("one\r\ntwo\rthree\r\n"));
    HeapText text(JClipboardGetText());
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text.get(), "one\ntwothree\n");
}

TEST_F(ClipboardTest, TextSurvivesTheRoundTrip) {
    const char* lines = "GIF comment\nwith two lines\n";
    ASSERT_TRUE(JClipboardSetText(lines));
    HeapText text(JClipboardGetText());
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text.get(), lines);
}

TEST_F(ClipboardTest, TextWithoutLineEndsPassesUnchanged) {
    ASSERT_TRUE(JClipboardSetText("plain \xC3\xA9t\xC3\xA9"));
    EXPECT_EQ(RawClipboard(), "plain \xC3\xA9t\xC3\xA9");
    HeapText text(JClipboardGetText());
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text.get(), "plain \xC3\xA9t\xC3\xA9");
}

TEST_F(ClipboardTest, EmptyClipboardGivesNoText) {
    ASSERT_TRUE(JClipboardSetText(""));
    EXPECT_EQ(HeapText(JClipboardGetText()), nullptr);
}

TEST_F(ClipboardTest, HasTextTellsWithoutFetching) {
    EXPECT_FALSE(JClipboardHasText());
    JClipboardSetText("x");
    EXPECT_TRUE(JClipboardHasText());
}

}  // namespace
