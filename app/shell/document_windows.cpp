#include "app/shell/document_windows.h"
#include "app/shell/window_parts.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>

#include "app/edit/background_colour.h"
#include "app/edit/comments.h"
#include "app/edit/deinterlace.h"
#include "app/edit/durations.h"
#include "app/edit/edit_refresh.h"
#include "app/edit/loop_count.h"
#include "app/optimiser/size_text.h"
#include "app/shell/frame_number.h"
#include "app/shell/playback_buttons.h"
#include "app/shell/preview_window.h"
#include "app/shell/range_controls_window.h"
#include "framework/core/format.h"
#include "framework/core/resources.h"
#include "framework/core/strings.h"
#include "framework/ui/border_boxes.h"
#include "framework/ui/check_boxes.h"
#include "framework/ui/colour_buttons.h"
#include "framework/ui/control_drawing.h"
#include "framework/ui/edit_fields.h"
#include "framework/ui/labels.h"
#include "framework/ui/main_frame.h"
#include "framework/ui/popup_choices.h"
#include "framework/ui/sliders.h"

namespace {

// Texts.
constexpr std::uint16_t kTextSize = 1019;
constexpr std::uint16_t kTextStartingComment = 1020;
constexpr std::uint16_t kTextOneFrame = 1022;
constexpr std::uint16_t kTextFrames = 1023;
constexpr std::uint16_t kTextFrameLabel = 1024;
constexpr std::uint16_t kTextOneColour = 1035;
constexpr std::uint16_t kTextColours = 1036;
constexpr std::uint16_t kTextFrameNumberWidth = 1037;
constexpr std::uint16_t kTextStartTime = 1038;
constexpr std::uint16_t kTextStartTimeWidth = 1039;
constexpr std::uint16_t kTextDuration = 1040;
constexpr std::uint16_t kTextPlayOnce = 1041;  // Loop, Loop forever follow
constexpr std::uint16_t kTextLoopCountWidth = 1046;
constexpr std::uint16_t kTextUserInput = 1047;
constexpr std::uint16_t kTextDurationWidth = 1084;
constexpr std::uint16_t kTextBackgroundColour = 1085;
constexpr std::uint16_t kTextColourWidth = 1092;
constexpr std::uint16_t kTextEndingComment = 1093;
constexpr std::uint16_t kTextComment = 1094;
constexpr std::uint16_t kTextInterlaced = 1109;
constexpr std::uint16_t kTextAnimationTitle = 1166;
constexpr std::uint16_t kTextFrameTitle = 1167;

constexpr int kMargin = 6;
constexpr int kGap = 5;
constexpr int kContentWidth = 300;
constexpr int kCommentHeight = 64;
constexpr int kDividerRule = 11;
constexpr int kFieldPadding = 12;

// A titled divider, drawn by its window: a short rule, the title, and a rule
// on to the right edge.
struct Divider {
    int top = 0;
    std::uint16_t title = 0;
};

struct AnimationControls {
    JWindow* window = nullptr;
    JControl* size = nullptr;
    JControl* frames = nullptr;
    JControl* loopChoice = nullptr;
    JControl* loopCount = nullptr;
    JControl* loopLabel = nullptr;
    JControl* colours = nullptr;
    JControl* colourButton = nullptr;
    JControl* colourField = nullptr;
    JControl* startComment = nullptr;
    JControl* endComment = nullptr;
    std::vector<Divider> dividers;
};

struct FrameControls {
    JWindow* window = nullptr;
    JControl* number = nullptr;  // these three only with two frames or more
    JControl* startTime = nullptr;
    JControl* slider = nullptr;
    JControl* duration = nullptr;
    JControl* userInput = nullptr;
    JControl* interlaced = nullptr;
    JControl* comment = nullptr;
    std::vector<Divider> dividers;
};

struct DocumentWindows {
    AppDocument* document = nullptr;
    std::unique_ptr<PreviewWindow> preview;
    AnimationControls animation;
    FrameControls frame;
};

std::map<const AppDocument*, std::unique_ptr<DocumentWindows>>& AllWindows() {
    static std::map<const AppDocument*, std::unique_ptr<DocumentWindows>> windows;
    return windows;
}

DocumentWindows* WindowsOf(const JWindow* window) {
    const AppDocument* document = DocumentOfWindow(window);
    auto found = AllWindows().find(document);
    return found != AllWindows().end() ? found->second.get() : nullptr;
}

DocumentWindows* WindowsOf(const GifDocument& gif) {
    for (auto& [document, windows] : AllWindows()) {
        if (document->gif.get() == &gif) {
            return windows.get();
        }
    }
    return nullptr;
}

DocumentWindows* WindowsOf(const JControl* control) {
    return WindowsOf(control->owner);
}

template <typename... Values>
std::string Format(std::uint16_t text, const Values&... values) {
    return JFormatString(JResourceText(text), values...);
}

// --- building controls ---

JControl* NewLabel(JWindow* window, int left, int top, const std::string& text) {
    JControl* label = JControlNew(JLabelKind(), window, left, top);
    JLabelSetFramed(label, false);
    JLabelSetText(label, text.c_str());
    JControlShow(label);
    JControlResize(label, 0, 0);
    return label;
}

// Rewrites a label when its text differs, keeping it wide enough.
void SetLabel(JControl* label, const std::string& text) {
    if (label != nullptr && text != JLabelText(label)) {
        JLabelSetText(label, text.c_str());
        JControlResize(label, 0, 0);
    }
}

void SetField(JControl* field, const std::string& text) {
    if (field != nullptr && text != JEditFieldText(field)) {
        JEditFieldSetText(field, text.c_str());
    }
}

JControl* NewField(JWindow* window, int left, int top, int width, JEditEntryHandler entered) {
    JControl* field = JControlNew(JEditFieldKind(), window, left, top);
    JEditFieldSetCallbacks(field, nullptr, entered);
    JControlShow(field);
    int naturalWidth = 0;
    int height = 0;
    JControlNaturalSize(field, &naturalWidth, &height);
    JControlResize(field, width, height);
    return field;
}

// A comment field keeps the size of the box around it and scrolls, rather
// than growing over the controls below it as a field grows with its text.
JControl* NewCommentField(JWindow* window, int top, JEditEntryHandler entered) {
    JControl* frame = JControlNew(JBorderBoxKind(), window, kMargin, top);
    JBorderBoxSetSides(frame, 0, 0, 0, 0);
    JControlShow(frame);
    JControl* field = JControlNewIn(JEditFieldKind(), frame, 0, 0);
    JEditFieldSetMultiLine(field, true);
    JEditFieldSetCallbacks(field, nullptr, entered);
    JControlShow(field);
    JControlResize(frame, kContentWidth, kCommentHeight);
    return field;
}

JControl* NewCheckBox(JWindow* window, int left, int top, std::uint16_t text,
                      JCheckCallback changed) {
    JControl* box = JControlNew(JCheckBoxKind(), window, left, top);
    JCheckSetLabel(box, JResourceText(text));
    JCheckSetCallback(box, changed);
    JControlShow(box);
    JControlResize(box, 0, 0);
    return box;
}

int Below(const JControl* control) {
    return control->top + control->height + kGap;
}

int LineHeight() {
    int width = 0;
    int height = 0;
    JUiMeasureText("Ag", &width, &height);
    return height;
}

bool DrawDividers(const std::vector<Divider>& dividers, const JWindow* window) {
    const int lineHeight = LineHeight();
    JSetFontStyle(0);  // as the titles are measured
    for (const Divider& divider : dividers) {
        const char* title = JResourceText(divider.title);
        const int middle = divider.top + lineHeight / 2;
        JUiDrawText(kMargin + kDividerRule + 4, divider.top, title, JUiBlack(), true);
        const int titleEnd = kMargin + kDividerRule + 8 + TextWidth(title);
        for (int line = 0; line < 2; ++line) {
            JSetForeColour(line == 0 ? JColourFromRgb(0x808080) : JColourFromRgb(0xFFFFFF));
            JFillRect(kMargin, middle + line, kMargin + kDividerRule, middle + line + 1);
            JFillRect(titleEnd, middle + line, window->width - kMargin, middle + line + 1);
        }
    }
    return true;
}

// --- what the windows show ---

std::string FramesLine(const GifDocument& gif) {
    return Format(gif.frameCount == 1 ? kTextOneFrame : kTextFrames, gif.frameCount,
                  FormatDuration(gif.totalDuration).c_str());
}

std::string SizeLine(const GifDocument& gif) {
    char size[32];
    FormatFileSize(gif.fileSize, size, sizeof size);
    return Format(kTextSize, int(gif.screenWidth), int(gif.screenHeight), size);
}

void ShowLoopRow(AnimationControls& controls, const GifDocument& gif) {
    JChoiceSelect(controls.loopChoice, static_cast<int>(ShownLoopChoice(gif)));
    if (ShowsLoopCount(gif)) {
        SetField(controls.loopCount, std::to_string(gif.loopCount));
        SetLabel(controls.loopLabel, LoopCountLabel(gif.loopCount));
        JControlShow(controls.loopCount);
        JControlShow(controls.loopLabel);
    } else {
        JControlHide(controls.loopCount);
        JControlHide(controls.loopLabel);
    }
}

JColour ColourOf(const Rgb& rgb) {
    return JColour{static_cast<std::uint16_t>(rgb.red * 257),
                   static_cast<std::uint16_t>(rgb.green * 257),
                   static_cast<std::uint16_t>(rgb.blue * 257)};
}

void ShowBackground(AnimationControls& controls, const GifDocument& gif) {
    JColourButtonSetColour(controls.colourButton, ColourOf(gif.backgroundColour), 1);
    SetField(controls.colourField, BackgroundColourText(gif.backgroundColour));
}

void ShowAnimation(DocumentWindows& windows) {
    AnimationControls& controls = windows.animation;
    const GifDocument& gif = *windows.document->gif;
    SetLabel(controls.size, SizeLine(gif));
    SetLabel(controls.frames, FramesLine(gif));
    ShowLoopRow(controls, gif);
    const int colours = static_cast<int>(gif.colours.size());
    SetLabel(controls.colours, Format(colours == 1 ? kTextOneColour : kTextColours, colours));
    ShowBackground(controls, gif);
    SetField(controls.startComment, gif.startComment);
    SetField(controls.endComment, gif.endComment);
}

std::uint32_t StartTimeOf(const GifDocument& gif, std::int32_t index) {
    std::uint32_t start = 0;
    for (std::int32_t i = 0; i < index && i < gif.frameCount; ++i) {
        start += gif.frames[static_cast<std::size_t>(i)]->delay;
    }
    return start;
}

void ShowFrameDetails(DocumentWindows& windows, std::int32_t index, FrameSource source) {
    FrameControls& controls = windows.frame;
    const GifDocument& gif = *windows.document->gif;
    if (controls.window == nullptr || index < 0 || index >= gif.frameCount) {
        return;
    }
    const GifFrame& frame = *gif.frames[static_cast<std::size_t>(index)];
    SetField(controls.number, std::to_string(index + 1));
    SetLabel(controls.startTime,
             Format(kTextStartTime, FormatDuration(StartTimeOf(gif, index)).c_str()));
    if (controls.slider != nullptr && source != FrameSource::Slider) {
        JSliderSetValue(controls.slider, index);
    }
    SetField(controls.duration, FormatDuration(frame.delay));
    if (JCheckGet(controls.userInput) != (frame.userInput ? 1 : 0)) {
        JCheckSet(controls.userInput, frame.userInput ? 1 : 0, false);
    }
    if (JCheckGet(controls.interlaced) != (frame.interlaced ? 1 : 0)) {
        JCheckSet(controls.interlaced, frame.interlaced ? 1 : 0, false);
    }
    SetField(controls.comment, frame.comment);
}

GifFrame* ShownFrame(DocumentWindows& windows) {
    GifDocument& gif = *windows.document->gif;
    const std::int32_t index = gif.currentFrame;
    return index >= 0 && index < gif.frameCount ? gif.frames[static_cast<std::size_t>(index)].get()
                                                : nullptr;
}

void Changed(DocumentWindows& windows) {
    MarkDocumentChanged(*windows.document);
}

// The edits' own refresh: whatever an edit changed is shown again.
void RefreshShown(GifDocument& gif, ShownValue value) {
    DocumentWindows* windows = WindowsOf(gif);
    if (windows == nullptr) {
        return;
    }
    switch (value) {
        case ShownValue::TotalDuration:
            SetLabel(windows->animation.frames, FramesLine(gif));
            break;
        case ShownValue::Loop:
            ShowLoopRow(windows->animation, gif);
            break;
        case ShownValue::BackgroundColour:
            ShowBackground(windows->animation, gif);
            if (windows->preview != nullptr) {
                InvalidatePreview(*windows->preview);
            }
            break;
        case ShownValue::FrameDuration:
        case ShownValue::FrameStartTime:
        case ShownValue::FrameInterlaced:
            ShowFrameDetails(*windows, gif.currentFrame, FrameSource::Other);
            break;
    }
}

// --- the animation controls' handlers ---

void LoopChosen(JControl* choice, int selected) {
    if (DocumentWindows* windows = WindowsOf(choice)) {
        SetLoopMode(*windows->document->gif, static_cast<LoopChoice>(selected));
        ShowLoopRow(windows->animation, *windows->document->gif);
        Changed(*windows);
    }
}

void LoopCountEntered(JControl* field, const JKeyRecord*) {
    if (DocumentWindows* windows = WindowsOf(field)) {
        GifDocument& gif = *windows->document->gif;
        const std::uint16_t before = gif.loopCount;
        EnterLoopCount(gif, JEditFieldText(field));
        ShowLoopRow(windows->animation, gif);
        if (gif.loopCount != before) {
            Changed(*windows);
        }
    }
}

void ColourChosen(JControl* button, JColour colour, int) {
    DocumentWindows* windows = WindowsOf(button);
    if (windows == nullptr) {
        return;
    }
    const auto eight = [](std::uint16_t c) {
        return static_cast<std::uint8_t>((c - (c >> 8)) >> 8);
    };
    GifDocument& gif = *windows->document->gif;
    const Rgb chosen{eight(colour.red), eight(colour.green), eight(colour.blue)};
    if (!(chosen == gif.backgroundColour)) {
        SetBackgroundColour(gif, chosen);
        Changed(*windows);
    }
    RefreshShown(gif, ShownValue::BackgroundColour);
}

void ColourEntered(JControl* field, const JKeyRecord*) {
    if (DocumentWindows* windows = WindowsOf(field)) {
        GifDocument& gif = *windows->document->gif;
        const Rgb before = gif.backgroundColour;
        EnterBackgroundColour(gif, JEditFieldText(field));
        if (!(before == gif.backgroundColour)) {
            Changed(*windows);
        }
        RefreshShown(gif, ShownValue::BackgroundColour);
    }
}

void StartCommentEntered(JControl* field, const JKeyRecord*) {
    if (DocumentWindows* windows = WindowsOf(field)) {
        if (SetStartComment(*windows->document->gif, JEditFieldText(field))) {
            Changed(*windows);
        }
    }
}

void EndCommentEntered(JControl* field, const JKeyRecord*) {
    if (DocumentWindows* windows = WindowsOf(field)) {
        if (SetEndComment(*windows->document->gif, JEditFieldText(field))) {
            Changed(*windows);
        }
    }
}

// --- the frame controls' handlers ---

void SelectShown(DocumentWindows& windows, std::int32_t index, FrameSource source) {
    if (windows.preview != nullptr) {
        SelectPreviewFrame(*windows.preview, index, source);
    }
}

void FrameNumberEntered(JControl* field, const JKeyRecord*) {
    if (DocumentWindows* windows = WindowsOf(field)) {
        const GifDocument& gif = *windows->document->gif;
        const FrameNumberEntry entry =
            EnterFrameNumber(JEditFieldText(field), gif.currentFrame, gif.frameCount);
        if (entry.accepted) {
            SelectShown(*windows, entry.index, FrameSource::Other);
        }
        SetField(field, std::to_string(windows->document->gif->currentFrame + 1));
    }
}

void SliderMoved(JControl* slider, int value) {
    if (DocumentWindows* windows = WindowsOf(slider)) {
        SelectShown(*windows, value, FrameSource::Slider);
    }
}

void DurationEntered(JControl* field, const JKeyRecord*) {
    DocumentWindows* windows = WindowsOf(field);
    GifFrame* frame = windows != nullptr ? ShownFrame(*windows) : nullptr;
    if (frame == nullptr) {
        return;
    }
    GifDocument& gif = *windows->document->gif;
    if (EnterFrameDuration(gif, gif.currentFrame, JEditFieldText(field))) {
        Changed(*windows);
    }
    SetField(field, FormatDuration(frame->delay));
    SetLabel(windows->animation.frames, FramesLine(gif));
}

void UserInputChanged(JControl* box, int checked) {
    DocumentWindows* windows = WindowsOf(box);
    if (GifFrame* frame = windows != nullptr ? ShownFrame(*windows) : nullptr) {
        if (frame->userInput != (checked != 0)) {
            frame->userInput = checked != 0;
            Changed(*windows);
        }
    }
}

void InterlacedChanged(JControl* box, int checked) {
    DocumentWindows* windows = WindowsOf(box);
    GifFrame* frame = windows != nullptr ? ShownFrame(*windows) : nullptr;
    if (frame == nullptr) {
        return;
    }
    GifDocument& gif = *windows->document->gif;
    const bool before = frame->interlaced;
    SetFrameInterlaced(gif, gif.currentFrame, checked != 0, true);
    if (frame->interlaced != before) {
        Changed(*windows);
    }
    JCheckSet(box, frame->interlaced ? 1 : 0, false);
    if (windows->preview != nullptr) {
        InvalidatePreview(*windows->preview);
    }
}

void FrameCommentEntered(JControl* field, const JKeyRecord*) {
    DocumentWindows* windows = WindowsOf(field);
    if (GifFrame* frame = windows != nullptr ? ShownFrame(*windows) : nullptr) {
        const std::string text = JEditFieldText(field);
        if (frame->comment != text) {
            frame->comment = text;
            Changed(*windows);
        }
    }
}

// --- the handlers every window of a document shares ---

bool KeyPressed(JWindow* window, const JHandlerEvent& event) {
    DocumentWindows* windows = WindowsOf(window);
    return windows != nullptr && windows->preview != nullptr &&
           PreviewKey(*windows->preview, event.key);
}

bool Activated(JWindow* window, const JHandlerEvent&) {
    DocumentWindowActivated(DocumentOfWindow(window));
    return true;
}

bool Deactivated(JWindow*, const JHandlerEvent&) {
    DocumentWindowActivated(nullptr);
    return true;
}

// The document closes as a whole; the window goes with it.
bool CloseRequested(JWindow* window, const JHandlerEvent&) {
    if (AppDocument* document = DocumentOfWindow(window)) {
        CloseDocument(*document);
    }
    return false;
}

bool DrawAnimation(JWindow* window, const JHandlerEvent&) {
    if (DocumentWindows* windows = WindowsOf(window)) {
        DrawDividers(windows->animation.dividers, window);
    }
    return true;
}

bool DrawFrame(JWindow* window, const JHandlerEvent&) {
    if (DocumentWindows* windows = WindowsOf(window)) {
        DrawDividers(windows->frame.dividers, window);
    }
    return true;
}

JWindow* NewControlsWindow(const std::string& title, JWindowHandler draw) {
    JWindow* window = JWindowNew(nullptr, title.c_str(), 0);
    JWindowSetHandler(window, kSlotDraw, draw);
    JWindowSetHandler(window, kSlotKeyDown, KeyPressed);
    JWindowSetHandler(window, kSlotActivated, Activated);
    JWindowSetHandler(window, kSlotDeactivated, Deactivated);
    JWindowSetHandler(window, kSlotCloseRequest, CloseRequested);
    return window;
}

// Sized to its controls plus the margin.
void FitWindow(JWindow* window) {
    int right = 0;
    int bottom = 0;
    for (const JControl* control : window->controls) {
        right = std::max(right, control->left + control->width);
        bottom = std::max(bottom, control->top + control->height);
    }
    JWindowResize(window, std::max(right, kMargin + kContentWidth) + kMargin, bottom + kMargin);
}

int FieldWidth(std::uint16_t sample) {
    return TextWidth(JResourceText(sample)) + kFieldPadding;
}

// --- building the windows ---

void BuildAnimationControls(DocumentWindows& windows) {
    AnimationControls& controls = windows.animation;
    const AppDocument& document = *windows.document;
    controls.window = NewControlsWindow(
        Format(kTextAnimationTitle, DocumentTitle(document).c_str()), DrawAnimation);
    JWindow* window = controls.window;
    controls.size = NewLabel(window, kMargin, kMargin, SizeLine(*document.gif));
    controls.frames = NewLabel(window, kMargin, Below(controls.size), FramesLine(*document.gif));

    controls.loopChoice = JControlNew(JPopupChoiceKind(), window, kMargin, Below(controls.frames));
    const char* loopTexts[] = {JResourceText(kTextPlayOnce), JResourceText(kTextPlayOnce + 1),
                               JResourceText(kTextPlayOnce + 2)};
    JChoiceSetTexts(controls.loopChoice, 3, loopTexts);
    JChoiceSetCallback(controls.loopChoice, LoopChosen);
    JControlShow(controls.loopChoice);
    JControlResize(controls.loopChoice, 0, 0);
    JControlResize(controls.loopChoice, controls.loopChoice->width + 10,
                   controls.loopChoice->height);
    const int loopLeft = controls.loopChoice->left + controls.loopChoice->width + kGap;
    controls.loopCount = NewField(window, loopLeft, controls.loopChoice->top,
                                  FieldWidth(kTextLoopCountWidth), LoopCountEntered);
    controls.loopLabel = NewLabel(window, loopLeft + controls.loopCount->width + kGap,
                                  controls.loopChoice->top + 3, "times");

    controls.colours =
        NewLabel(window, kMargin, Below(controls.loopChoice),
                 Format(kTextColours, static_cast<int>(document.gif->colours.size())));
    controls.colourButton =
        JControlNew(JColourButtonKind(), window, kMargin, Below(controls.colours));
    JColourButtonSetMode(controls.colourButton, true);
    JColourButtonSetCallback(controls.colourButton, ColourChosen);
    JControlShow(controls.colourButton);
    JControlResize(controls.colourButton, 0, 0);
    JControl* colourLabel =
        NewLabel(window, kMargin + controls.colourButton->width + kGap,
                 controls.colourButton->top + 2, JResourceText(kTextBackgroundColour));
    controls.colourField =
        NewField(window, colourLabel->left + colourLabel->width + kGap, controls.colourButton->top,
                 FieldWidth(kTextColourWidth), ColourEntered);

    int top = std::max(Below(controls.colourButton), Below(controls.colourField));
    controls.dividers.push_back(Divider{top, kTextStartingComment});
    controls.startComment = NewCommentField(window, top + LineHeight() + 2, StartCommentEntered);
    top = Below(controls.startComment);
    controls.dividers.push_back(Divider{top, kTextEndingComment});
    controls.endComment = NewCommentField(window, top + LineHeight() + 2, EndCommentEntered);
    FitWindow(window);
}

void BuildFrameControls(DocumentWindows& windows) {
    FrameControls& controls = windows.frame;
    const AppDocument& document = *windows.document;
    const GifDocument& gif = *document.gif;
    controls.window =
        NewControlsWindow(Format(kTextFrameTitle, DocumentTitle(document).c_str()), DrawFrame);
    JWindow* window = controls.window;
    int top = kMargin;
    if (gif.frameCount >= 2) {
        JControl* label = NewLabel(window, kMargin, top + 3, JResourceText(kTextFrameLabel));
        controls.number = NewField(window, label->left + label->width, top,
                                   FieldWidth(kTextFrameNumberWidth), FrameNumberEntered);
        controls.startTime =
            NewLabel(window, controls.number->left + controls.number->width + kGap, top + 3,
                     Format(kTextStartTime, JResourceText(kTextStartTimeWidth)));
        controls.slider = JControlNew(JSliderKind(), window, kMargin, Below(controls.number));
        JSliderSetVertical(controls.slider, false);
        JSliderSetMaximum(controls.slider, gif.frameCount - 1);
        JSliderSetChangeCallback(controls.slider, SliderMoved);
        JSliderSetTrackingCallback(controls.slider, SliderMoved);
        JControlShow(controls.slider);
        JControlResize(controls.slider, kContentWidth, kSliderThumbBreadth);
        const PlaybackButtons buttons = AddPlaybackButtons(
            window, nullptr, windows.preview->playback, kMargin, Below(controls.slider));
        top = Below(buttons[0]);
    }
    JControl* label = NewLabel(window, kMargin, top + 3, JResourceText(kTextDuration));
    controls.duration = NewField(window, label->left + label->width, top,
                                 FieldWidth(kTextDurationWidth), DurationEntered);
    controls.userInput =
        NewCheckBox(window, controls.duration->left + controls.duration->width + 2 * kGap, top + 2,
                    kTextUserInput, UserInputChanged);
    controls.interlaced =
        NewCheckBox(window, kMargin, Below(controls.duration), kTextInterlaced, InterlacedChanged);
    top = Below(controls.interlaced);
    controls.dividers.push_back(Divider{top, kTextComment});
    controls.comment = NewCommentField(window, top + LineHeight() + 2, FrameCommentEntered);
    FitWindow(window);
}

// The preview is made narrower when the controls would not fit beside it
// on the main window, so that they are never placed out of reach.
void LeaveRoomForControls(JWindow* preview, const JWindow* animation) {
    constexpr int kNarrowestPreview = 160;
    const JRect desk = JDeskRect();
    const int controlsWidth = animation->borderLeft + animation->width + animation->borderRight;
    const int previewBorders = preview->borderLeft + preview->borderRight;
    const int room =
        desk.right - kGap - controlsWidth - kGap - (preview->left - preview->borderLeft);
    if (preview->width + previewBorders > room) {
        JWindowResize(preview, std::max(kNarrowestPreview, room - previewBorders), preview->height);
    }
}

// Beside the preview, the frame controls below the animation controls.
void PlaceWindows(DocumentWindows& windows) {
    JWindow* animation = windows.animation.window;
    if (windows.preview != nullptr && windows.preview->window != nullptr) {
        JWindow* preview = windows.preview->window;
        LeaveRoomForControls(preview, animation);
        const int outerWidth = preview->borderLeft + preview->width + preview->borderRight;
        JWindowMoveTo(
            animation,
            preview->left - preview->borderLeft + outerWidth + kGap + animation->borderLeft,
            preview->top);
    } else {
        JWindowMoveTo(animation, kGap + animation->borderLeft, kGap + animation->borderTop);
    }
    if (JWindow* frame = windows.frame.window) {
        const int outerHeight = animation->borderTop + animation->height + animation->borderBottom;
        JWindowMoveTo(
            frame, animation->left,
            animation->top - animation->borderTop + outerHeight + kGap + frame->borderTop);
    }
}

// The range controls show a frame as the document's own windows do.
void ShowFrameFromRange(AppDocument& document, std::int32_t index) {
    auto found = AllWindows().find(&document);
    if (found != AllWindows().end()) {
        SelectShown(*found->second, index, FrameSource::Other);
    }
}

void InstallRefresh() {
    static bool installed = false;
    if (!installed) {
        SetShownValueRefresh(RefreshShown);
        SetRangeFrameShower(ShowFrameFromRange);
        installed = true;
    }
}

}  // namespace

void OpenDocumentWindows(AppDocument& document) {
    InstallRefresh();
    ResetRangeControls(document);
    auto owned = std::make_unique<DocumentWindows>();
    DocumentWindows& windows = *owned;
    windows.document = &document;
    AllWindows()[&document] = std::move(owned);

    PreviewLinks links;
    links.showFrameDetails = [&windows](std::int32_t index, FrameSource source) {
        ShowFrameDetails(windows, index, source);
    };
    links.closeDocument = [&document]() { CloseDocument(document); };
    links.activated = [&document](bool active) {
        DocumentWindowActivated(active ? &document : nullptr);
    };
    windows.preview = OpenPreviewWindow(*document.gif, std::move(links));
    if (windows.preview != nullptr) {
        document.windows.push_back(windows.preview->window);
    }
    BuildAnimationControls(windows);
    document.windows.push_back(windows.animation.window);
    if (document.gif->frameCount >= 1 && windows.preview != nullptr) {
        BuildFrameControls(windows);
        document.windows.push_back(windows.frame.window);
    }
    PlaceWindows(windows);
    ShowAnimation(windows);
    ShowFrameDetails(windows, std::max(0, document.gif->currentFrame), FrameSource::Other);
    JWindowShow(windows.animation.window);
    if (windows.frame.window != nullptr) {
        JWindowShow(windows.frame.window);
    }
    if (windows.preview != nullptr) {
        JWindowShow(windows.preview->window);  // in front
    }
}

void CloseDocumentWindows(AppDocument& document) {
    auto found = AllWindows().find(&document);
    if (found == AllWindows().end()) {
        return;
    }
    CloseRangeControls(document);
    std::unique_ptr<DocumentWindows> windows = std::move(found->second);
    AllWindows().erase(found);
    document.windows.clear();
    windows->preview.reset();  // stops playback, then the window goes
    for (JWindow* window : {windows->animation.window, windows->frame.window}) {
        if (window != nullptr) {
            JWindowDestroy(window);
        }
    }
}

void RefreshDocumentWindows(AppDocument& document) {
    auto found = AllWindows().find(&document);
    if (found == AllWindows().end()) {
        return;
    }
    DocumentWindows& windows = *found->second;
    const std::string name = DocumentTitle(document);
    if (windows.preview != nullptr) {
        JWindowSetTitle(windows.preview->window, name.c_str());
    }
    JWindowSetTitle(windows.animation.window, Format(kTextAnimationTitle, name.c_str()).c_str());
    if (windows.frame.window != nullptr) {
        JWindowSetTitle(windows.frame.window, Format(kTextFrameTitle, name.c_str()).c_str());
    }
    ShowAnimation(windows);
    ShowFrameDetails(windows, document.gif->currentFrame, FrameSource::Other);
}

PreviewWindow* DocumentPreview(const AppDocument& document) {
    auto found = AllWindows().find(&document);
    return found != AllWindows().end() ? found->second->preview.get() : nullptr;
}

JWindow* DocumentAnimationControls(const AppDocument& document) {
    auto found = AllWindows().find(&document);
    return found != AllWindows().end() ? found->second->animation.window : nullptr;
}

JWindow* DocumentFrameControls(const AppDocument& document) {
    auto found = AllWindows().find(&document);
    return found != AllWindows().end() ? found->second->frame.window : nullptr;
}

JControl* DocumentControl(const AppDocument& document, DocumentControlId id) {
    auto found = AllWindows().find(&document);
    if (found == AllWindows().end()) {
        return nullptr;
    }
    const DocumentWindows& windows = *found->second;
    switch (id) {
        case DocumentControlId::FramesLine:
            return windows.animation.frames;
        case DocumentControlId::LoopChoice:
            return windows.animation.loopChoice;
        case DocumentControlId::LoopCount:
            return windows.animation.loopCount;
        case DocumentControlId::BackgroundField:
            return windows.animation.colourField;
        case DocumentControlId::StartComment:
            return windows.animation.startComment;
        case DocumentControlId::EndComment:
            return windows.animation.endComment;
        case DocumentControlId::FrameNumber:
            return windows.frame.number;
        case DocumentControlId::StartTime:
            return windows.frame.startTime;
        case DocumentControlId::FrameSlider:
            return windows.frame.slider;
        case DocumentControlId::Duration:
            return windows.frame.duration;
        case DocumentControlId::Interlaced:
            return windows.frame.interlaced;
        case DocumentControlId::FrameComment:
            return windows.frame.comment;
    }
    return nullptr;
}
