#include "framework/platform/controls/control_window.h"

#include <algorithm>
#include <string>

namespace {

void DrawLineColour(int x1, int y1, int x2, int y2, JSysColour colour) {
    JSetForeColour(JSystemColour(colour));
    JDrawLine(x1, y1, x2, y2);
}

// One ring of a bevel: `topLeft` on the top and left edges, `bottomRight` on
// the others; the rectangle's right and bottom are exclusive.
void DrawRing(const JRect& r, JSysColour topLeft, JSysColour bottomRight) {
    DrawLineColour(r.left, r.top, r.right - 2, r.top, topLeft);
    DrawLineColour(r.left, r.top, r.left, r.bottom - 2, topLeft);
    DrawLineColour(r.left, r.bottom - 1, r.right - 1, r.bottom - 1, bottomRight);
    DrawLineColour(r.right - 1, r.top, r.right - 1, r.bottom - 1, bottomRight);
}

// A solid triangle, each row (or column) one pixel narrower at each side
// than the one before, centred in `rect`.
void DrawTriangle(const JRect& rect, JArrowDirection direction, JSysColour colour) {
    const int size = std::max(2, std::min(rect.Width(), rect.Height()) / 4);
    const int cx = rect.left + rect.Width() / 2;
    const int cy = rect.top + rect.Height() / 2;
    const int start = direction == JArrowDirection::Up || direction == JArrowDirection::Down
                          ? cy - size / 2
                          : cx - size / 2;
    JSetForeColour(JSystemColour(colour));
    for (int i = 0; i < size; ++i) {
        const bool widening =
            direction == JArrowDirection::Up || direction == JArrowDirection::Left;
        const int half = widening ? i : size - 1 - i;
        const int at = start + i;
        if (direction == JArrowDirection::Up || direction == JArrowDirection::Down) {
            JFillRect(cx - half, at, cx + half + 1, at + 1);
        } else {
            JFillRect(at, cy - half, at + 1, cy + half + 1);
        }
    }
}

// Every other pixel of the rectangle's outline, counted from its top-left corner.
void DottedOutline(const JRect& rect) {
    const auto dot = [&](int x, int y) {
        if (((x - rect.left) + (y - rect.top)) % 2 == 0) {
            JFillRect(x, y, x + 1, y + 1);  // a fill, unlike a pixel, obeys the pen mode
        }
    };
    for (int x = rect.left; x < rect.right; ++x) {
        dot(x, rect.top);
        if (rect.bottom - 1 > rect.top) {
            dot(x, rect.bottom - 1);
        }
    }
    for (int y = rect.top + 1; y < rect.bottom - 1; ++y) {
        dot(rect.left, y);
        if (rect.right - 1 > rect.left) {
            dot(rect.right - 1, y);
        }
    }
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

void JFillArea(const JRect& rect, JSysColour colour) {
    JFillArea(rect, JSystemColour(colour));
}

void JFrameArea(const JRect& rect, JSysColour colour) {
    JFrameArea(rect, JSystemColour(colour));
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
        DrawRing(rect, JSysColour::Light3D, JSysColour::DarkShadow);
        DrawRing(inner, JSysColour::Light, JSysColour::Shadow);
    } else {
        DrawRing(rect, JSysColour::Shadow, JSysColour::Light3D);
        DrawRing(inner, JSysColour::DarkShadow, JSysColour::Light);
    }
}

void JDrawTextIn(const JRect& rect, std::string_view text, JTextAlign align, JSysColour colour,
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
    if (enabled) {
        JSetForeColour(JSystemColour(colour));
        JDrawText(x, baseline, copy.c_str());
        return;
    }
    JSetForeColour(JSystemColour(JSysColour::Light3D));
    JDrawText(x + 1, baseline + 1, copy.c_str());
    JSetForeColour(JSystemColour(JSysColour::GreyText));
    JDrawText(x, baseline, copy.c_str());
}

void JDrawMnemonicTextIn(const JRect& rect, std::string_view text, JTextAlign align,
                         JSysColour colour, bool enabled) {
    const JMnemonicText parsed = JParseMnemonic(text);
    JDrawTextIn(rect, parsed.shown, align, colour, enabled);
    if (parsed.underlined < 0) {
        return;
    }
    const JTextExtent extent = JMeasureText(parsed.shown.c_str());
    int x = rect.left;
    if (align == JTextAlign::Centre) {
        x = rect.left + (rect.Width() - extent.width) / 2;
    } else if (align == JTextAlign::Right) {
        x = rect.right - extent.width;
    }
    const auto at = static_cast<std::size_t>(parsed.underlined);
    const int start = x + JMeasureText(parsed.shown.substr(0, at).c_str()).width;
    const int end = x + JMeasureText(parsed.shown.substr(0, at + 1).c_str()).width;
    const int baseline =
        rect.top + (rect.Height() - (extent.ascent + extent.descent)) / 2 + extent.ascent;
    JSetForeColour(JSystemColour(enabled ? colour : JSysColour::GreyText));
    JFillRect(start, baseline + 1, end, baseline + 2);
}

void JDrawArrow(const JRect& rect, JArrowDirection direction, bool enabled) {
    if (enabled) {
        DrawTriangle(rect, direction, JSysColour::ButtonText);
        return;
    }
    DrawTriangle(JRectOffset(rect, 1, 1), direction, JSysColour::Light3D);
    DrawTriangle(rect, direction, JSysColour::GreyText);
}

void JDrawFocusFrame(const JRect& rect) {
    const PenSnapshot saved = JSavePenState();
    JSetPenMode(JPenMode::Invert);
    JSetForeColour(kColourBlack);  // with Invert: every pixel it meets is inverted
    DottedOutline(rect);
    JRestorePenState(saved);
}
