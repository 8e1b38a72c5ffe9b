#include "framework/ui/scroll_bars.h"

#include <array>

#include "framework/ui/native_controls.h"
#include "framework/ui/timers.h"

namespace {

// An arrow or the track held down steps again after a pause, then quickly.
constexpr std::uint32_t kFirstRepeatMs = 400;
constexpr std::uint32_t kRepeatMs = 50;

struct ScrollBar : JKindRecord {
    std::array<JScrollHandler, 4> handlers{};
    JTimer* repeat = nullptr;
    ~ScrollBar() override {
        if (repeat != nullptr) {
            JTimerCancel(repeat);
        }
    }
};

void Repeat(void* argument) {
    auto* control = static_cast<JControl*>(argument);
    ScrollBar* bar = JKindDataOf<ScrollBar>(control);
    bar->repeat = nullptr;
    if (control->Deleted()) {
        return;
    }
    // The next step is set first: the step reports at once, and its report
    // must find the repeat running rather than start another.
    bar->repeat = JTimerNew(Repeat, control, kRepeatMs);
    if (!JScrollBarRepeatHeldPart(control->platform) && bar->repeat != nullptr) {
        JTimerCancel(bar->repeat);
        bar->repeat = nullptr;
    }
}

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
    ScrollBar* bar = JKindDataOf<ScrollBar>(control);
    const bool step = part == kScrollLine || part == kScrollPage;
    if (step && bar->repeat == nullptr && (JMouseButtons() & kModLeftButton) != 0) {
        bar->repeat = JTimerNew(Repeat, control, kFirstRepeatMs);
    }
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
