#include "framework/platform/draw/frame.h"

#include <gtest/gtest.h>

#include "tests/framework/platform/platform_fixture.h"

namespace {

using FrameTest = HeadlessDrawing;

std::string Text(const JRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

void DrainEvents() {
    JInputEvent event;
    while (JFramePoll(&event)) {
    }
}

TEST(FramePlacementText, StateAndMinimumFollowTheRectangle) {
    JFramePlacement placement;
    placement.bounds = JRect{100, 100, 740, 580};
    EXPECT_EQ(JFramePlacementText(placement), "100,100 640x480");
    placement.maximised = true;
    placement.minimumWidth = 320;
    placement.minimumHeight = 200;
    const std::string text = JFramePlacementText(placement);
    EXPECT_EQ(text, "100,100 640x480 maximised min 320x200");

    JFramePlacement read;
    ASSERT_TRUE(JFrameParsePlacement(text.c_str(), &read));
    EXPECT_EQ(Text(read.bounds), Text(placement.bounds));
    EXPECT_TRUE(read.maximised);
    EXPECT_EQ(read.minimumWidth, 320);
    EXPECT_EQ(read.minimumHeight, 200);
}

TEST(FramePlacementText, TheRectangleAloneReadsAsRestoredWithoutMinimum) {
    JFramePlacement read;
    read.maximised = true;
    ASSERT_TRUE(JFrameParsePlacement("-20,10 300x200", &read));
    EXPECT_EQ(Text(read.bounds), Text(JRect{-20, 10, 280, 210}));
    EXPECT_FALSE(read.maximised);
    EXPECT_EQ(read.minimumWidth, 0);
    EXPECT_FALSE(JFrameParsePlacement("100 100 640x480", &read));
    EXPECT_FALSE(JFrameParsePlacement("100,100 640x480 min 3", &read));
}

TEST_F(FrameTest, MaximisedFrameFillsTheUsableAreaAndRemembersItsRestoredRectangle) {
    JFramePlacement placement;
    placement.bounds = JRect{50, 40, 250, 190};
    placement.maximised = true;
    JFrameSetPlacement(placement);
    DrainEvents();
    EXPECT_EQ(Text(JFrameBounds()), Text(JRect{0, 0, 1024, 768}));
    EXPECT_EQ(JFrameSurface()->width, 1024);
    const JFramePlacement kept = JFrameGetPlacement();
    EXPECT_TRUE(kept.maximised);
    EXPECT_EQ(Text(kept.bounds), Text(placement.bounds));

    placement.maximised = false;
    JFrameSetPlacement(placement);
    DrainEvents();
    EXPECT_EQ(Text(JFrameBounds()), Text(placement.bounds));
    EXPECT_FALSE(JFrameGetPlacement().maximised);
}

TEST_F(FrameTest, ResizesStopAtTheMinimumSize) {
    JFramePlacement placement;
    placement.bounds = JRect{0, 0, 200, 150};
    placement.minimumWidth = 120;
    placement.minimumHeight = 90;
    JFrameSetPlacement(placement);
    JHeadlessResizeFrame(50, 300);
    DrainEvents();
    EXPECT_EQ(JFrameBounds().Width(), 120);
    EXPECT_EQ(JFrameBounds().Height(), 300);
    EXPECT_EQ(JFrameGetPlacement().minimumWidth, 120);
}

}  // namespace
