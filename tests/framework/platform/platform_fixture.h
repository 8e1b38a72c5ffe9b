// A headless backend with an open frame, a white frame port selected and the
// default pen state, for the drawing tests.
#pragma once

#include <gtest/gtest.h>

#include "framework/platform/draw/draw_port.h"
#include "framework/platform/draw/frame.h"
#include "framework/platform/draw/headless.h"
#include "framework/platform/draw/pictures.h"

class HeadlessDrawing : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(JBackendStart(JBackendChoice::Headless));
        JFrameSpec spec;
        spec.title = "test";
        spec.width = 64;
        spec.height = 48;
        ASSERT_TRUE(JFrameOpen(spec));
        JDrawingStartup();
        JSelectFramePort();
        JSelectPenState(JPenStateNew());
    }
    void TearDown() override {
        JDrawingShutdown();
        JFrameClose();
        JBackendStop();
    }

    static int CountPixels(const JSurface& surface, std::uint32_t rgb) {
        int count = 0;
        for (std::uint32_t pixel : surface.pixels) {
            count += pixel == rgb ? 1 : 0;
        }
        return count;
    }
    static int CountBlack() { return CountPixels(*JFrameSurface(), kBlack); }
    static std::uint32_t At(int x, int y) { return JFrameSurface()->At(x, y); }
};
