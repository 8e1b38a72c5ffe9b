#include "framework/ui/popup_windows.h"

#include <algorithm>

#include "framework/ui/main_frame.h"

JRect JControlDeskRect(const JControl* control) {
    const JPoint frame =
        JClientToFrame(control->owner->platform, JPoint{control->left, control->top});
    const JRect client = JFrameClientRect();
    const int left = frame.x - client.left;
    const int top = frame.y - client.top;
    return JRect{left, top, left + control->width, top + control->height};
}

JRect JKeepOnDesk(JRect bounds) {
    const JRect desk = JDeskRect();
    const int dx = bounds.right > desk.right ? desk.right - bounds.right : 0;
    bounds = JRectOffset(bounds, dx, 0);
    bounds = JRectOffset(bounds, bounds.left < desk.left ? desk.left - bounds.left : 0, 0);
    const int dy = bounds.bottom > desk.bottom - 1 ? desk.bottom - 1 - bounds.bottom : 0;
    bounds = JRectOffset(bounds, 0, dy);
    return JRectOffset(bounds, 0, bounds.top < desk.top + 1 ? desk.top + 1 - bounds.top : 0);
}

JWindow* JOpenPopupWindow(const JRect& bounds) {
    JWindow* popup = JWindowNew(nullptr, "", kWindowPopup);
    JWindowSetBackground(popup, kColourWhite);
    JWindowMoveTo(popup, bounds.left, bounds.top);
    JWindowResize(popup, bounds.Width(), bounds.Height());
    JWindowShow(popup);
    JPopupHoldMouse(popup);
    return popup;
}

void JPopupHoldMouse(JWindow* popup) {
    JSetCapture(popup->platform);
}
