// A headless frame with the framework started, and helpers that drive it as
// a user would: input through the headless backend, handled by the
// framework's own event loop.
#pragma once

#include <gtest/gtest.h>

#include "framework/platform/draw/headless.h"
#include "framework/platform/platform.h"
#include "framework/ui/controls.h"
#include "framework/ui/event_loop.h"
#include "framework/ui/framework_startup.h"
#include "framework/ui/main_frame.h"
#include "framework/ui/timers.h"
#include "framework/ui/windows.h"
#include "tests/framework/ui/settle.h"

class FrameworkTest : public testing::Test {
protected:
    static constexpr int kFrameWidth = 800;
    static constexpr int kFrameHeight = 600;

    void SetUp() override {
        JHeadlessConfigure(JHeadlessScreen{});
        ASSERT_TRUE(JBackendStart(JBackendChoice::Headless));
        ASSERT_TRUE(JFrameworkStartup());
        JMainFramePlace(JRect{0, 0, kFrameWidth, kFrameHeight});
        JMainFrameShow();
        Settle();
    }
    void TearDown() override {
        JFrameworkShutdown();
        JTextShutdown();
        JBackendStop();
    }

    // Steps until no input and no message waits (bounded, for safety).
    static void Settle(int most = 2000) { SettleEvents(most); }

    // A shown document window with its content at (left, top).
    static JWindow* OpenWindow(int left, int top, int width, int height, std::uint32_t style = 0) {
        JWindow* window = JWindowNew(nullptr, "Test window", style);
        JWindowMoveTo(window, left, top);
        JWindowResize(window, width, height);
        JWindowShow(window);
        Settle();
        return window;
    }

    // A content point of a window in frame coordinates, for the headless input.
    static JPoint At(const JWindow* window, int x, int y) {
        return JClientToFrame(window->platform, JPoint{x, y});
    }
    static void Click(const JWindow* window, int x, int y) {
        const JPoint point = At(window, x, y);
        JHeadlessClick(point.x, point.y);
        Settle();
    }
    static void Drag(const JWindow* window, int x0, int y0, int x1, int y1) {
        const JPoint from = At(window, x0, y0);
        const JPoint to = At(window, x1, y1);
        JHeadlessDrag(from.x, from.y, to.x, to.y);
        Settle();
    }
    static std::uint32_t Shown(const JWindow* window, int x, int y) {
        const JPoint point = At(window, x, y);
        return JHeadlessFramePixels().At(point.x, point.y);
    }
};
