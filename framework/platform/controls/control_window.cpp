#include "framework/platform/controls/control_window.h"

#include <algorithm>
#include <string>

namespace {

void DrawLineColour(int x1, int y1, int x2, int y2, JColour colour) {
    JSetForeColour(colour);
    JDrawLine(x1, y1, x2, y2);
}

// One ring of a bevel: `topLeft` on the top and left edges, `bottomRight` on
// the others; the rectangle's right and bottom are exclusive.
void DrawRing(const JRect& r, JColour topLeft, JColour bottomRight) {
    DrawLineColour(r.left, r.top, r.right - 2, r.top, topLeft);
    DrawLineColour(r.left, r.top, r.left, r.bottom - 2, topLeft);
    DrawLineColour(r.left, r.bottom - 1, r.right - 1, r.bottom - 1, bottomRight);
    DrawLineColour(r.right - 1, r.top, r.right - 1, r.bottom - 1, bottomRight);
}

}  // namespace

JWnd JCreateControlWindow(const JWindowClass& windowClass, const JControlSpec& spec,
                          std::uint32_t kindStyle) {
    if (!JIsClassRegistered(windowClass.name)) {
        JRegisterClass(windowClass);
    }
    JWindowSpec window;
    window.className = windowClass.name;
    window.title = spec.text != nullptr ? spec.text : "";
    window.style = spec.style | kindStyle | kWsChild;
    window.bounds = spec.bounds;
    window.parent = spec.parent;
    window.id = spec.id;
    const JWnd control = JCreateWindow(window);
    if (control != kNoWindow) {
        JShowWindow(control, false);
    }
    return control;
}

JFont* JControlFont() {
    // Kept for the life of the program: measuring happens outside painting.
    static JFont* font = JFontGet(kDefaultFontFace, kDefaultFontSize, 0, 1.0);
    return font;
}

JTextExtent JControlMeasure(std::string_view text) {
    const std::string copy(text);
    return JFontMeasure(JControlFont(), copy.c_str());
}

int JControlLineHeight() {
    const JTextExtent extent = JControlMeasure("Xg");
    return extent.ascent + extent.descent;
}

void JNotifyParent(JWnd control, int notification) {
    const JWnd parent = JWindowParent(control);
    if (parent == kNoWindow) {
        return;
    }
    JMessage command = JMakeMessage(parent, JMsg::Command, JWindowId(control), notification);
    command.source = control;
    JSendMessage(command);
}

void JFillArea(const JRect& rect, JColour colour) {
    JSetForeColour(colour);
    JFillRect(rect.left, rect.top, rect.right, rect.bottom);
}

void JFrameArea(const JRect& rect, JColour colour) {
    JSetForeColour(colour);
    JFrameRect(rect.left, rect.top, rect.right, rect.bottom);
}

void JDrawBevel(const JRect& rect, bool raised) {
    const JRect inner{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    if (raised) {
        DrawRing(rect, kControlLight, kColourBlack);
        DrawRing(inner, kControlFace, kControlShadow);
    } else {
        DrawRing(rect, kControlShadow, kControlLight);
        DrawRing(inner, kColourBlack, kControlFace);
    }
}

void JDrawTextIn(const JRect& rect, std::string_view text, JTextAlign align, JColour colour,
                 bool enabled) {
    const std::string copy(text);
    const JTextExtent extent = JMeasureText(copy.c_str());
    int x = rect.left;
    if (align == JTextAlign::Centre) {
        x = rect.left + (rect.Width() - extent.width) / 2;
    } else if (align == JTextAlign::Right) {
        x = rect.right - extent.width;
    }
    const int baseline =
        rect.top + (rect.Height() - (extent.ascent + extent.descent)) / 2 + extent.ascent;
    JSetForeColour(colour);
    if (enabled) {
        JDrawText(x, baseline, copy.c_str());
    } else {
        JDrawDisabledText(x, baseline, copy.c_str());
    }
}

void JDrawArrow(const JRect& rect, JArrowDirection direction, bool enabled) {
    const int size = std::max(2, std::min(rect.Width(), rect.Height()) / 4);
    const int cx = rect.left + rect.Width() / 2;
    const int cy = rect.top + rect.Height() / 2;
    JPoint points[3];
    switch (direction) {
        case JArrowDirection::Up:
            points[0] = {cx - size, cy + size / 2};
            points[1] = {cx + size, cy + size / 2};
            points[2] = {cx, cy - size / 2 - 1};
            break;
        case JArrowDirection::Down:
            points[0] = {cx - size, cy - size / 2};
            points[1] = {cx + size, cy - size / 2};
            points[2] = {cx, cy + size / 2 + 1};
            break;
        case JArrowDirection::Left:
            points[0] = {cx + size / 2, cy - size};
            points[1] = {cx + size / 2, cy + size};
            points[2] = {cx - size / 2 - 1, cy};
            break;
        case JArrowDirection::Right:
            points[0] = {cx - size / 2, cy - size};
            points[1] = {cx - size / 2, cy + size};
            points[2] = {cx + size / 2 + 1, cy};
            break;
    }
    JSetForeColour(enabled ? kColourBlack : kControlShadow);
    JPaintPolygon(points, 3);
}

void JDrawFocusFrame(const JRect& rect) {
    JSetForeColour(kColourBlack);
    for (int x = rect.left; x < rect.right; x += 2) {
        JSetPixel(x, rect.top);
        JSetPixel(x, rect.bottom - 1);
    }
    for (int y = rect.top; y < rect.bottom; y += 2) {
        JSetPixel(rect.left, y);
        JSetPixel(rect.right - 1, y);
    }
}
