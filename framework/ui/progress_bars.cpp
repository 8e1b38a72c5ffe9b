#include "framework/ui/progress_bars.h"

#include <algorithm>

#include "framework/ui/control_drawing.h"

namespace {

bool ThickByDefault = false;

struct ProgressBar : JKindRecord {
    std::int32_t maximum = 100;
    std::int32_t value = 0;
    bool thick = false;
};

ProgressBar* BarOf(JControl* control) {
    return JKindDataOf<ProgressBar>(control);
}

JRect Inner(JControl* control) {
    return JUiInset(control->Rect(), BarOf(control)->thick ? 2 : 1);
}

void Create(JControl* control) {
    control->kindData = std::make_unique<ProgressBar>();
    BarOf(control)->thick = ThickByDefault;
}

void NaturalSize(JControl* control, int* width, int* height) {
    *height = BarOf(control)->thick ? 12 : 10;
    *width = 4 * *height;
}

void Draw(JControl* control) {
    const JRect rect = control->Rect();
    if (BarOf(control)->thick) {
        JDrawBevel(rect, false);
    } else {
        JUiRing(rect, JUiShadow(), JUiWhite());
    }
    const JRect inner = Inner(control);
    const int filled = JProgressFilledWidth(control);
    JFillArea(JRect{inner.left, inner.top, inner.left + filled, inner.bottom}, JUiSelection());
    JFillArea(JRect{inner.left + filled, inner.top, inner.right, inner.bottom}, JUiWhite());
}

// Only the strip between the old and the new filled width is drawn again.
void RedrawChange(JControl* control, int before) {
    const int after = JProgressFilledWidth(control);
    if (after == before || control->owner->Destroyed()) {
        return;
    }
    const JRect inner = Inner(control);
    const JRect strip{inner.left + std::min(before, after), inner.top,
                      inner.left + std::max(before, after), inner.bottom};
    JInvalidateRect(control->owner->platform, &strip);
}

ControlKind MakeKind() {
    ControlKind kind = JControlKindDefaults("progress bar");
    kind.create = Create;
    kind.draw = Draw;
    kind.naturalSize = NaturalSize;
    return kind;
}

}  // namespace

const ControlKind* JProgressBarKind() {
    static const ControlKind kind = MakeKind();
    return &kind;
}

int JProgressFilledWidth(JControl* control) {
    const ProgressBar* bar = BarOf(control);
    const int width = std::max(0, Inner(control).Width());
    if (bar->maximum <= 0 || bar->value <= 0) {
        return 0;
    }
    const std::int64_t value = std::min(bar->value, bar->maximum);
    return static_cast<int>(value * width / bar->maximum);
}

void JProgressSetMaximum(JControl* control, std::int32_t maximum) {
    BarOf(control)->maximum = maximum;
    JControlRedraw(control);
}

void JProgressSetValue(JControl* control, std::int32_t value) {
    const int before = JProgressFilledWidth(control);
    BarOf(control)->value = value;
    RedrawChange(control, before);
}

void JProgressAdvance(JControl* control, std::int32_t amount) {
    JProgressSetValue(control, BarOf(control)->value + amount);
}

std::int32_t JProgressValue(JControl* control) {
    return BarOf(control)->value;
}

void JProgressSetThickByDefault(bool thick) {
    ThickByDefault = thick;
}
