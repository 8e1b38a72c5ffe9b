#include "framework/ui/sliders.h"

#include <algorithm>

#include "framework/ui/control_drawing.h"
#include "framework/ui/timers.h"

namespace {

constexpr std::uint32_t kFirstRepeatMs = 300;
constexpr std::uint32_t kRepeatMs = 80;

struct Slider : JKindRecord {
    int value = 0;
    int maximum = 3;
    bool vertical = true;
    JSliderCallback change = nullptr;
    JSliderCallback tracking = nullptr;
    // While the thumb is dragged: its centre on the track, the offset at
    // which it was grabbed, and the last value reported.
    bool dragging = false;
    int thumbCentre = 0;
    int grabOffset = 0;
    int reported = 0;
    int valueBefore = 0;
    // While the track beside the thumb is held: the repeating step.
    JTimer* repeat = nullptr;
    JPoint pressPoint;
};

Slider* SliderOf(JControl* control) {
    return JKindDataOf<Slider>(control);
}

// The first and last pixel the thumb's centre may take.
int TrackFirst(JControl* control) {
    return (SliderOf(control)->vertical ? control->top : control->left) + kSliderThumbLength / 2;
}

int TrackLast(JControl* control) {
    const int end = SliderOf(control)->vertical ? control->top + control->height
                                                : control->left + control->width;
    return std::max(TrackFirst(control), end - 1 - kSliderThumbLength / 2);
}

int CentreOfValue(JControl* control, int value) {
    const Slider* slider = SliderOf(control);
    const int span = TrackLast(control) - TrackFirst(control);
    if (slider->maximum <= 0) {
        return TrackFirst(control);
    }
    return TrackFirst(control) + (value * span + slider->maximum / 2) / slider->maximum;
}

int ValueAtCentre(JControl* control, int centre) {
    const Slider* slider = SliderOf(control);
    const int span = TrackLast(control) - TrackFirst(control);
    if (span <= 0) {
        return 0;
    }
    const int offset = std::clamp(centre - TrackFirst(control), 0, span);
    return (offset * slider->maximum + span / 2) / span;
}

int ThumbCentre(JControl* control) {
    const Slider* slider = SliderOf(control);
    return slider->dragging ? slider->thumbCentre : CentreOfValue(control, slider->value);
}

JRect ThumbAt(JControl* control, int centre) {
    const bool vertical = SliderOf(control)->vertical;
    const int crossSize = vertical ? control->width : control->height;
    const int breadth = std::min(kSliderThumbBreadth, crossSize);
    const int crossStart = (vertical ? control->left : control->top) + (crossSize - breadth) / 2;
    const int start = centre - kSliderThumbLength / 2;
    if (vertical) {
        return JRect{crossStart, start, crossStart + breadth, start + kSliderThumbLength};
    }
    return JRect{start, crossStart, start + kSliderThumbLength, crossStart + breadth};
}

void Invalidate(JControl* control, const JRect& rect) {
    if (!control->owner->Destroyed()) {
        JInvalidateRect(control->owner->platform, &rect);
    }
}

// Moving the thumb redraws where it was and where it is, nothing else.
void MoveThumb(JControl* control, int fromCentre, int toCentre) {
    if (fromCentre != toCentre) {
        Invalidate(control, ThumbAt(control, fromCentre));
        Invalidate(control, ThumbAt(control, toCentre));
    }
}

void Create(JControl* control) {
    control->kindData = std::make_unique<Slider>();
}

void Destroy(JControl* control) {
    JTimerCancel(SliderOf(control)->repeat);
    SliderOf(control)->repeat = nullptr;
}

void NaturalSize(JControl* control, int* width, int* height) {
    const bool vertical = SliderOf(control)->vertical;
    *width = vertical ? kSliderThumbBreadth + 4 : 100;
    *height = vertical ? 100 : kSliderThumbBreadth + 4;
}

void Draw(JControl* control) {
    const Slider* slider = SliderOf(control);
    const JRect rect = control->Rect();
    // The track: a sunken groove 4 pixels wide along the middle.
    const int middle =
        slider->vertical ? (rect.left + rect.right) / 2 : (rect.top + rect.bottom) / 2;
    const JRect groove =
        slider->vertical
            ? JRect{middle - 2, TrackFirst(control), middle + 2, TrackLast(control) + 1}
            : JRect{TrackFirst(control), middle - 2, TrackLast(control) + 1, middle + 2};
    JDrawBevel(groove, false);
    const JRect thumb = ThumbAt(control, ThumbCentre(control));
    JFillArea(thumb, JUiFace());
    JDrawBevel(thumb, true);
    if (!control->Enabled()) {
        JSetForeColour(JUiShadow());
        JDrawLine(thumb.left + 3, (thumb.top + thumb.bottom) / 2, thumb.right - 4,
                  (thumb.top + thumb.bottom) / 2);
    }
}

int MainOf(JControl* control, int x, int y) {
    return SliderOf(control)->vertical ? y : x;
}

void SetValueNotifying(JControl* control, int value) {
    Slider* slider = SliderOf(control);
    value = std::clamp(value, 0, slider->maximum);
    if (value == slider->value) {
        return;
    }
    const int before = CentreOfValue(control, slider->value);
    slider->value = value;
    MoveThumb(control, before, CentreOfValue(control, value));
    if (slider->change != nullptr) {
        slider->change(control, value);
    }
}

// One step toward the pointer held on the track, then again on a timer.
void StepTowardPointer(void* argument) {
    JControl* control = static_cast<JControl*>(argument);
    Slider* slider = SliderOf(control);
    slider->repeat = nullptr;
    if (control->Deleted()) {
        return;
    }
    const JPoint frame = JPointerPosition();
    const JPoint point = JFrameToClient(control->owner->platform, frame);
    const int target = ValueAtCentre(control, MainOf(control, point.x, point.y));
    if (target == slider->value || (JMouseButtons() & kModLeftButton) == 0) {
        return;
    }
    SetValueNotifying(control, slider->value + (target > slider->value ? 1 : -1));
    if (!control->Deleted()) {
        slider->repeat = JTimerNew(StepTowardPointer, control, kRepeatMs);
    }
}

void MouseDown(JControl* control, const JMouseEvent& event) {
    Slider* slider = SliderOf(control);
    if (!control->Enabled() || (event.modifiers & kUiNotPlainClick) != 0) {
        return;
    }
    const JRect thumb = ThumbAt(control, ThumbCentre(control));
    const int main = MainOf(control, event.x, event.y);
    if (thumb.Contains(event.x, event.y)) {
        slider->dragging = true;
        slider->thumbCentre = CentreOfValue(control, slider->value);
        slider->grabOffset = main - slider->thumbCentre;
        slider->reported = slider->value;
        slider->valueBefore = slider->value;
        return;
    }
    const int target = ValueAtCentre(control, main);
    if (target != slider->value) {
        SetValueNotifying(control, slider->value + (target > slider->value ? 1 : -1));
        if (!control->Deleted()) {
            slider->repeat = JTimerNew(StepTowardPointer, control, kFirstRepeatMs);
        }
    }
}

void MouseMoved(JControl* control, int x, int y) {
    Slider* slider = SliderOf(control);
    if (!slider->dragging) {
        return;
    }
    const int before = slider->thumbCentre;
    slider->thumbCentre = std::clamp(MainOf(control, x, y) - slider->grabOffset,
                                     TrackFirst(control), TrackLast(control));
    MoveThumb(control, before, slider->thumbCentre);
    const int value = ValueAtCentre(control, slider->thumbCentre);
    if (value != slider->reported) {
        slider->reported = value;
        if (slider->tracking != nullptr) {
            slider->tracking(control, value);
        }
    }
}

void MouseUp(JControl* control, const JMouseEvent& event) {
    Slider* slider = SliderOf(control);
    JTimerCancel(slider->repeat);
    slider->repeat = nullptr;
    if (!slider->dragging) {
        return;
    }
    MouseMoved(control, event.x, event.y);
    if (control->Deleted()) {
        return;
    }
    slider->dragging = false;
    const int value = ValueAtCentre(control, slider->thumbCentre);
    // The thumb settles on the position of its value.
    MoveThumb(control, slider->thumbCentre, CentreOfValue(control, value));
    slider->value = value;
    if (value != slider->valueBefore && slider->change != nullptr) {
        slider->change(control, value);
    }
}

ControlKind MakeKind() {
    ControlKind kind = JControlKindDefaults("slider");
    kind.create = Create;
    kind.destroy = Destroy;
    kind.draw = Draw;
    kind.naturalSize = NaturalSize;
    kind.mouseDown = MouseDown;
    kind.mouseMoved = MouseMoved;
    kind.mouseUp = MouseUp;
    return kind;
}

}  // namespace

const ControlKind* JSliderKind() {
    static const ControlKind kind = MakeKind();
    return &kind;
}

void JSliderSetMaximum(JControl* control, int maximum) {
    Slider* slider = SliderOf(control);
    slider->maximum = std::max(maximum, 0);
    slider->value = std::clamp(slider->value, 0, slider->maximum);
    JControlRedraw(control);
}

void JSliderSetValue(JControl* control, int value) {
    Slider* slider = SliderOf(control);
    value = std::clamp(value, 0, slider->maximum);
    const int before = CentreOfValue(control, slider->value);
    slider->value = value;
    MoveThumb(control, before, CentreOfValue(control, value));
}

int JSliderValue(JControl* control) {
    return SliderOf(control)->value;
}

int JSliderMaximum(JControl* control) {
    return SliderOf(control)->maximum;
}

void JSliderSetVertical(JControl* control, bool vertical) {
    SliderOf(control)->vertical = vertical;
    JControlRedraw(control);
}

void JSliderSetChangeCallback(JControl* control, JSliderCallback callback) {
    SliderOf(control)->change = callback;
}

void JSliderSetTrackingCallback(JControl* control, JSliderCallback callback) {
    SliderOf(control)->tracking = callback;
}

JRect JSliderThumbRect(JControl* control) {
    return ThumbAt(control, ThumbCentre(control));
}
