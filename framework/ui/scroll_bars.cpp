#include "framework/ui/scroll_bars.h"

#include <array>

#include "framework/ui/native_controls.h"

namespace {

struct ScrollBar : JKindRecord {
    std::array<JScrollHandler, 4> handlers{};
};

void Create(JControl* control) {
    control->kindData = std::make_unique<ScrollBar>();
    control->width = JScrollBarWidth();
    control->height = 64;
    JControlSpec spec = JNativeSpec(control, "");
    spec.style = kSbsVertical;
    JAttachNative(control, JCreateScrollBar(spec));
    JScrollBarSetRange(control->platform, 0, 0);
}

void Scroll(JControl* control, int part, int amount) {
    // Dragging reports the thumb as it moves; its handler sees both.
    const int slot = std::min(part, static_cast<int>(kScrollThumb)) - 1;
    if (slot < 0) {
        return;
    }
    const JScrollHandler handler =
        JKindDataOf<ScrollBar>(control)->handlers[static_cast<std::size_t>(slot)];
    if (handler != nullptr) {
        handler(control, std::min(part, static_cast<int>(kScrollThumb)), amount);
    }
}

ControlKind MakeKind() {
    ControlKind kind = JControlKindDefaults("scroll bar");
    kind.create = Create;
    kind.scroll = Scroll;
    return kind;
}

}  // namespace

const ControlKind* JScrollBarKind() {
    static const ControlKind kind = MakeKind();
    return &kind;
}

void JScrollSetMaximum(JControl* bar, int maximum) {
    maximum = std::max(maximum, 0);
    const int value = std::min(JScrollBarPosition(bar->platform), maximum);
    JScrollBarSetRange(bar->platform, 0, maximum);
    JScrollBarSetPosition(bar->platform, value);
}

void JScrollSetValue(JControl* bar, int value) {
    JScrollBarSetPosition(bar->platform, value);
}

int JScrollValue(JControl* bar) {
    return JScrollBarPosition(bar->platform);
}

void JScrollSetHandler(JControl* bar, int part, JScrollHandler handler) {
    if (part >= kScrollLine && part <= kScrollThumb) {
        JKindDataOf<ScrollBar>(bar)->handlers[static_cast<std::size_t>(part - 1)] = handler;
    }
}
