#include "framework/ui/progress_windows.h"

#include <algorithm>

#include "framework/ui/main_frame.h"
#include "framework/ui/progress_bars.h"
#include "framework/ui/static_texts.h"

namespace {

constexpr int kBarHeight = 14;
constexpr int kTextToBar = 8;
constexpr int kBorder = 10;  // around the content, on each axis
constexpr int kEnclosingOffset = 30;

// The text is the window's first control and the bar its second.
JControl* TextOf(JWindow* window) {
    return window->controls.size() >= 2 ? window->controls[0] : nullptr;
}

JControl* BarOf(JWindow* window) {
    return window->controls.size() >= 2 ? window->controls[1] : nullptr;
}

// The text centred above the bar, the pair centred in the window.
void Arrange(JWindow* window) {
    JControl* text = TextOf(window);
    JControl* bar = BarOf(window);
    JControlResize(text, 0, 0);
    const int blockHeight = text->height + kTextToBar + bar->height;
    const int top = (window->height - blockHeight) / 2;
    JControlMove(text, (window->width - text->width) / 2, top);
    JControlMove(bar, (window->width - bar->width) / 2, top + text->height + kTextToBar);
}

void Size(JWindow* window) {
    JControl* text = TextOf(window);
    const int naturalWidth = text->width;
    const int naturalHeight = text->height + kTextToBar + kBarHeight;
    const JRect desk = JDeskRect();
    const int contentWidth = std::max(naturalWidth * 5 / 4, desk.Width() / 10 * 4);
    const int contentHeight = std::max(naturalHeight * 5 / 4, desk.Height() / 5);
    JControlResize(BarOf(window), contentWidth * 3 / 4, kBarHeight);
    JWindowResize(window, contentWidth + kBorder, contentHeight + kBorder);
}

void Place(JWindow* window, JWindow* enclosing) {
    if (enclosing != nullptr && !enclosing->Destroyed()) {
        JWindowMoveTo(window, enclosing->left + kEnclosingOffset,
                      enclosing->top + kEnclosingOffset);
        return;
    }
    const JRect desk = JDeskRect();
    JWindowMoveTo(window, desk.left + (desk.Width() - window->width) / 2,
                  desk.top + (desk.Height() - window->height) / 2);
}

}  // namespace

JWindow* JProgressWindowOpen(const char* text, std::uint32_t total, JWindow* enclosing) {
    JWindow* window = JWindowNew(nullptr, "", kWindowThinPopup);
    JControl* label = JControlNew(JStaticTextKind(), window, 0, 0);
    JStaticTextSet(label, text);
    JControlResize(label, 0, 0);
    JControlShow(label);
    JControl* bar = JControlNew(JProgressBarKind(), window, 0, 0);
    JProgressSetMaximum(bar, static_cast<std::int32_t>(std::min<std::uint32_t>(total, INT32_MAX)));
    JControlShow(bar);
    Size(window);
    Arrange(window);
    Place(window, enclosing);
    JWindowShow(window);
    JProgressWindowRepaint(window);
    return window;
}

void JProgressWindowSetText(JWindow* window, const char* text) {
    JStaticTextSet(TextOf(window), text);
    Arrange(window);
}

void JProgressWindowSetDone(JWindow* window, std::uint32_t done) {
    JProgressSetValue(BarOf(window),
                      static_cast<std::int32_t>(std::min<std::uint32_t>(done, INT32_MAX)));
}

void JProgressWindowRepaint(JWindow*) {
    JRepaintNow();
    JComposeFrame();
}

void JProgressWindowClose(JWindow* window) {
    JWindowDestroy(window);
    JProgressWindowRepaint(nullptr);
}

JControl* JProgressWindowText(JWindow* window) {
    return TextOf(window);
}

JControl* JProgressWindowBar(JWindow* window) {
    return BarOf(window);
}

void JShowBusyCursor(bool busy) {
    if (busy) {
        JPushCursorOverride(JCursorShape::Wait);
    } else {
        JPopCursorOverride();
    }
}
