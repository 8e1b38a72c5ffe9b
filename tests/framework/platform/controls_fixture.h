// A headless frame with one dialog-style document window to put controls in,
// and helpers that click and drag on a control as a user would and read the
// notifications its parent received.
#pragma once

#include <vector>

#include "framework/platform/controls/control_window.h"
#include "framework/platform/system/clock.h"
#include "tests/framework/platform/windows_fixture.h"

class HeadlessControls : public HeadlessWindows {
protected:
    static constexpr std::uint32_t kDialogColour = 0xC0C0C0;

    void SetUp() override {
        HeadlessWindows::SetUp();
        dialog =
            MakeWindow("controls", JRect{40, 40, 440, 400}, kWsDocument | kWsDialog, kDialogColour);
        Pump();
    }

    JControlSpec Spec(JRect bounds, int id, const char* text = "", std::uint32_t style = 0) const {
        JControlSpec spec;
        spec.parent = dialog;
        spec.bounds = bounds;
        spec.id = id;
        spec.text = text;
        spec.style = style;
        return spec;
    }

    // A point of a control's client area in frame coordinates.
    static JPoint At(JWnd control, int x, int y) { return JClientToFrame(control, JPoint{x, y}); }
    static void Click(JWnd control, int x, int y) {
        const JPoint point = At(control, x, y);
        JHeadlessClick(point.x, point.y);
    }
    static void Drag(JWnd control, int x0, int y0, int x1, int y1, std::uint16_t modifiers = 0) {
        const JPoint from = At(control, x0, y0);
        const JPoint to = At(control, x1, y1);
        JHeadlessDrag(from.x, from.y, to.x, to.y, modifiers);
    }
    void PumpDialog() const { Pump(dialog); }
    // Handles input until only `remaining` backend events wait, so that a
    // test can look while the mouse button is still held.
    static void PumpUntilPending(int remaining) {
        JMessage message;
        while (JHeadlessPendingEvents() > remaining && JPeekMessage(&message)) {
            JTranslateMessage(message);
            JDispatchMessage(message);
        }
        while (JPeekMessage(&message, kNoWindow, kPeekPaintOnly)) {
            JDispatchMessage(message);
        }
    }

    // The Command notifications the dialog received from `control`.
    std::vector<int> Notifications(JWnd control) const {
        std::vector<int> codes;
        for (const JMessage& message : Log().messages) {
            if (message.window == dialog && message.type == JMsg::Command &&
                message.source == control) {
                codes.push_back(message.value);
            }
        }
        return codes;
    }
    int CountOf(JWnd control, int notification) const {
        int count = 0;
        for (int code : Notifications(control)) {
            count += code == notification ? 1 : 0;
        }
        return count;
    }

    JWnd dialog = kNoWindow;
};
