#include "app/shell/range_controls_window.h"
#include "app/shell/window_parts.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "app/edit/comments.h"
#include "app/edit/deinterlace.h"
#include "app/shell/document_windows.h"
#include "app/shell/frame_number.h"
#include "app/shell/frame_range_slider.h"
#include "app/shell/frame_selection.h"
#include "app/shell/preferences.h"
#include "framework/core/format.h"
#include "framework/core/resources.h"
#include "framework/ui/border_boxes.h"
#include "framework/ui/control_drawing.h"
#include "framework/ui/edit_fields.h"
#include "framework/ui/labels.h"
#include "framework/ui/layout_boxes.h"
#include "framework/ui/main_frame.h"
#include "framework/ui/popup_choices.h"
#include "framework/ui/push_buttons.h"
#include "framework/ui/sliders.h"
#include "framework/ui/spacers.h"
#include "framework/ui/static_texts.h"

namespace {

// Resource texts.
constexpr std::uint16_t kTextTitle = 1400;
constexpr std::uint16_t kTextFirstPanel = 1401;  // the three panels' names follow in order
constexpr std::uint16_t kTextFrames = 1404;
constexpr std::uint16_t kTextTo = 1405;
constexpr std::uint16_t kTextInclusive = 1406;
constexpr std::uint16_t kTextScalingFactor = 1407;
constexpr std::uint16_t kTextFactorSample = 1408;
constexpr std::uint16_t kTextFactorFormat = 1409;
constexpr std::uint16_t kTextFaster = 1410;
constexpr std::uint16_t kTextSlower = 1411;
constexpr std::uint16_t kTextAfterScaling = 1412;
constexpr std::uint16_t kTextMinimum = 1413;
constexpr std::uint16_t kTextMaximum = 1414;
constexpr std::uint16_t kTextMoreChoices = 1415;
constexpr std::uint16_t kTextFewerChoices = 1416;
constexpr std::uint16_t kTextScale = 1417;
constexpr std::uint16_t kTextRemoveComments = 1418;
constexpr std::uint16_t kTextDeinterlace = 1419;
constexpr std::uint16_t kTextFrameSample = 1037;     // "9999"
constexpr std::uint16_t kTextDurationSample = 1084;  // "99:99.99"

constexpr int kChildWindowClass = 201;

// The geometry: the margin round the content, the room between the rows and
// between the controls of a row, the indent of the limits under their
// heading, the least width of the content (so that the range slider keeps a
// usable length on the narrow panels), the range slider's thickness and the
// gap between this window and the document's others.
constexpr int kMargin = 6;
constexpr int kRowGap = 8;
constexpr int kControlGap = 4;
constexpr int kTextGap = 2;  // beside texts that carry their own blanks
constexpr int kIndent = 15;
constexpr int kLeastContentWidth = 300;
constexpr int kRangeSliderThickness = 33;
constexpr int kWindowGap = 5;
constexpr int kLeastFactorSliderLength = 100;
constexpr int kChoiceRoom = 10;  // beside the widest item of the panel choice
constexpr int kButtonRoom = 12;  // beside a button's label

// The factor slider: position p stands for the factor 10^((p - 50) / 50),
// 0.1 to 10 with 1 in the middle.
constexpr int kFactorPositions = 100;
constexpr int kFactorMiddle = 50;
constexpr double kLeastSliderFactor = 0.1;
constexpr double kGreatestSliderFactor = 10.0;

enum class Origin { Other, Slider };

struct RangeControls {
    AppDocument* document = nullptr;
    RangeControlsState state;
    JWindow* window = nullptr;
    JControl* column = nullptr;
    JControl* panelChoice = nullptr;
    JControl* from = nullptr;
    JControl* to = nullptr;
    JControl* slider = nullptr;
    JControl* panel = nullptr;  // the box holding the panel shown
    JControl* factorField = nullptr;
    JControl* factorSlider = nullptr;
    JControl* limits = nullptr;  // "After Scaling:" with both limit fields
    JControl* minimumField = nullptr;
    JControl* maximumField = nullptr;
    JControl* buttonRow = nullptr;
    JControl* buttonGap = nullptr;  // pushes the action button to the right edge
    JControl* choicesButton = nullptr;
    JControl* actionButton = nullptr;
    bool entryRefused = false;  // set when a typed value was refused
};

std::map<const AppDocument*, RangeControls>& Records() {
    static std::map<const AppDocument*, RangeControls> records;
    return records;
}

RangeFrameShower& Shower() {
    static RangeFrameShower shower = nullptr;
    return shower;
}

RangeControls& RecordFor(AppDocument& document) {
    RangeControls& record = Records()[&document];
    record.document = &document;
    return record;
}

const RangeControls* FindRecord(const AppDocument& document) {
    const auto found = Records().find(&document);
    return found != Records().end() ? &found->second : nullptr;
}

bool IsOpen(const AppDocument* document) {
    const auto& open = OpenDocuments();
    return std::any_of(open.begin(), open.end(),
                       [document](const auto& each) { return each.get() == document; });
}

// The record of an open window, or null once the window has gone. A window
// left behind by a document that closed without closing it does nothing.
RangeControls* RecordOfWindow(const JWindow* window) {
    for (auto& [document, record] : Records()) {
        if (record.window == window && window != nullptr) {
            return IsOpen(document) ? &record : nullptr;
        }
    }
    return nullptr;
}

std::int32_t FrameCountOf(const RangeControls& record) {
    return static_cast<std::int32_t>(record.document->gif->frames.size());
}

void DocumentEdited(AppDocument& document) {
    MarkDocumentChanged(document);
    RefreshDocumentWindows(document);
}

void ShowDocumentFrame(RangeControls& record, std::int32_t index) {
    if (Shower() != nullptr) {
        Shower()(*record.document, index);
        return;
    }
    if (SelectFrame(*record.document->gif, index, FrameSource::Other, FrameSelectionHooks{})) {
        RefreshDocumentWindows(*record.document);
    }
}

// Sets a field's text only when it differs, so that an unchanged field is
// not redrawn.
void ShowText(JControl* field, const char* text) {
    if (field != nullptr && std::string(JEditFieldText(field)) != text) {
        JEditFieldSetText(field, text);
    }
}

// --- the range ---

// Both thumbs at once: the slider sets the thumb that holds the lesser or
// the greater value, which may be the other one until both are placed.
void PlaceThumbs(JControl* slider, std::int32_t low, std::int32_t high) {
    FrameRangeSliderSetLow(slider, low);
    FrameRangeSliderSetHigh(slider, high);
    FrameRangeSliderSetLow(slider, low);
}

void ShowRange(RangeControls& record) {
    ShowText(record.from, JFormatTemp("%d%", record.state.start + 1));
    ShowText(record.to, JFormatTemp("%d%", record.state.end + 1));
}

// Stores the ends that changed and shows them. A single end that moved is
// shown in the document's windows; when both move the frame shown stays.
void ApplyRange(RangeControls& record, std::int32_t start, std::int32_t end, Origin origin) {
    RangeControlsState& state = record.state;
    const bool startChanged = start != state.start;
    const bool endChanged = end != state.end;
    state.start = start;
    state.end = end;
    ShowRange(record);
    if (origin != Origin::Slider && (startChanged || endChanged) && record.slider != nullptr) {
        PlaceThumbs(record.slider, start, end);
    }
    if (startChanged != endChanged) {
        ShowDocumentFrame(record, startChanged ? start : end);
    }
}

// The range from a and b in either order, kept to the frames there are.
void SetRange(RangeControls& record, std::int32_t a, std::int32_t b, Origin origin) {
    const std::int32_t last = FrameCountOf(record) - 1;
    const std::int32_t low = std::clamp(std::min(a, b), 0, last);
    const std::int32_t high = std::clamp(std::max(a, b), 0, last);
    ApplyRange(record, low, high, origin);
}

void RangeEntered(JControl* field, const JKeyRecord*) {
    RangeControls* record = RecordOfWindow(field->owner);
    if (record == nullptr) {
        return;
    }
    const bool isFrom = field == record->from;
    const std::int32_t current = isFrom ? record->state.start : record->state.end;
    const std::string text = JEditFieldText(field);
    if (text == JFormatTemp("%d%", current + 1)) {
        return;  // left as it was
    }
    const FrameNumberEntry entry = EnterFrameNumber(text.c_str(), current, FrameCountOf(*record));
    if (!entry.accepted) {
        record->entryRefused = true;
        ShowRange(*record);
        return;
    }
    const std::int32_t other = isFrom ? record->state.end : record->state.start;
    SetRange(*record, entry.index, other, Origin::Other);
    ShowDocumentFrame(*record, entry.index);
}

void ThumbPressed(JControl* slider, int value) {
    if (RangeControls* record = RecordOfWindow(slider->owner)) {
        ShowDocumentFrame(*record, std::min(value, FrameCountOf(*record) - 1));
    }
}

void ThumbMoved(JControl* slider, bool, int low, bool, int high) {
    if (RangeControls* record = RecordOfWindow(slider->owner)) {
        SetRange(*record, low, high, Origin::Slider);
    }
}

// One step of an end, round the animation in either direction.
std::int32_t Stepped(std::int32_t index, int step, std::int32_t count) {
    return ((index + step) % count + count) % count;
}

bool KeyPressed(JWindow* window, const JHandlerEvent& event) {
    RangeControls* record = RecordOfWindow(window);
    if (record == nullptr) {
        return false;
    }
    const std::int32_t count = FrameCountOf(*record);
    const std::int32_t start = record->state.start;
    const std::int32_t end = record->state.end;
    switch (event.key.key) {
        case kKeyLeft:
            SetRange(*record, Stepped(start, -1, count), end, Origin::Other);
            return true;
        case kKeyRight:
            SetRange(*record, Stepped(start, +1, count), end, Origin::Other);
            return true;
        case kKeyUp:
            SetRange(*record, start, Stepped(end, -1, count), Origin::Other);
            return true;
        case kKeyDown:
            SetRange(*record, start, Stepped(end, +1, count), Origin::Other);
            return true;
        default:
            return false;
    }
}

// --- the scaling factor and the limits ---

const char* FactorText(double factor) {
    return JFormatTemp(JResourceText(kTextFactorFormat), factor);
}

int FactorPosition(double factor) {
    if (factor <= kLeastSliderFactor) {
        return 0;
    }
    if (factor >= kGreatestSliderFactor) {
        return kFactorPositions;
    }
    return static_cast<int>(std::log10(factor) * kFactorMiddle + kFactorMiddle + 0.5);
}

double FactorAt(int position) {
    return std::pow(10.0, (position - kFactorMiddle) * (1.0 / kFactorMiddle));
}

void ShowFactor(RangeControls& record, bool moveSlider) {
    ShowText(record.factorField, FactorText(record.state.factor));
    if (moveSlider && record.factorSlider != nullptr) {
        JSliderSetValue(record.factorSlider, FactorPosition(record.state.factor));
    }
}

void FactorEntered(JControl* field, const JKeyRecord*) {
    RangeControls* record = RecordOfWindow(field->owner);
    if (record == nullptr) {
        return;
    }
    const std::string text = JEditFieldText(field);
    // The field shows the factor rounded; reading it back would lose what
    // the slider set.
    if (text == FactorText(record->state.factor)) {
        return;
    }
    double factor = record->state.factor;
    const FactorProblem problem = ReadScalingFactor(text.c_str(), &factor);
    if (problem != FactorProblem::None) {
        record->entryRefused = true;
        TellFactorProblem(problem, text.c_str());
    } else {
        record->state.factor = factor;
    }
    ShowFactor(*record, true);
}

void FactorSlid(JControl* slider, int position) {
    if (RangeControls* record = RecordOfWindow(slider->owner)) {
        record->state.factor = FactorAt(position);
        ShowFactor(*record, false);
    }
}

void ShowLimits(RangeControls& record) {
    ShowText(record.minimumField, FormatDuration(record.state.limits.minimum).c_str());
    ShowText(record.maximumField, FormatDuration(record.state.limits.maximum).c_str());
}

void LimitEntered(JControl* field, const JKeyRecord*) {
    RangeControls* record = RecordOfWindow(field->owner);
    if (record == nullptr) {
        return;
    }
    DurationLimits& limits = record->state.limits;
    const bool isMinimum = field == record->minimumField;
    const std::uint32_t previous = isMinimum ? limits.minimum : limits.maximum;
    const std::string text = JEditFieldText(field);
    if (text == FormatDuration(previous)) {
        return;
    }
    std::uint32_t value = previous;
    const DurationProblem problem = ReadDuration(text.c_str(), &value);
    TellDurationProblem(problem, text.c_str());
    if (problem == DurationProblem::NotADuration) {
        record->entryRefused = true;
    } else if (isMinimum) {
        EnterMinimumDuration(limits, value);
    } else {
        EnterMaximumDuration(limits, value);
    }
    ShowLimits(*record);
}

// --- building ---

// A label right-aligned in the given width, so that the fields after a
// column of such labels line up.
JControl* NewRightAlignedLabel(JControl* parent, const char* text, int width) {
    JControl* label = JControlNewIn(JStaticTextKind(), parent, 0, 0);
    JStaticTextSet(label, text);
    JStaticTextSetStyle(label, 2);
    JControlShow(label);
    JControlResize(label, width, 0);
    return label;
}

// A one-line field as wide as `sample` needs, in a border box that keeps
// that size however long the text typed into it.
JControl* NewField(JControl* parent, const char* sample, JEditEntryHandler entered) {
    JControl* frame = JControlNewIn(JBorderBoxKind(), parent, 0, 0);
    JBorderBoxSetSides(frame, 0, 0, 0, 0);
    JControlShow(frame);
    JControl* field = JControlNewIn(JEditFieldKind(), frame, 0, 0);
    JEditFieldSetCallbacks(field, nullptr, entered);
    JControlShow(field);
    JEditFieldSetText(field, sample);
    int width = 0;
    int height = 0;
    JControlNaturalSize(field, &width, &height);
    JControlResize(frame, width, height);
    JEditFieldSetText(field, "");
    return field;
}

JControl* NewButton(JControl* parent, const char* label, JButtonAction action) {
    JControl* button = JControlNewIn(JPushButtonKind(), parent, 0, 0);
    JButtonSetLabel(button, label);
    JButtonSetAction(button, action);
    JControlShow(button);
    JControlResize(button, 0, 0);
    JControlResize(button, button->width + kButtonRoom, button->height);
    return button;
}

void NewSpacer(JControl* parent, int width, int height) {
    JControl* spacer = JControlNewIn(JSpacerKind(), parent, 0, 0);
    JControlShow(spacer);
    JControlResize(spacer, width, height);
}

// Every layout box from the innermost out takes its natural size again.
void FitBoxes(JControl* box) {
    for (int i = 0; JControl* child = JBoxChildAt(box, i); ++i) {
        if (child->kind == JLayoutBoxKind()) {
            FitBoxes(child);
        }
    }
    JControlResize(box, 0, 0);
}

// The content at its natural size, the range slider and the button row as
// wide as the content, and the window round it with the margin.
void LayOutWindow(RangeControls& record) {
    JControlResize(record.slider, 1, kRangeSliderThickness);
    if (record.buttonGap != nullptr) {
        JControlResize(record.buttonGap, 1, 1);
    }
    if (record.factorSlider != nullptr) {
        JControlResize(record.factorSlider, kLeastFactorSliderLength, record.factorSlider->height);
    }
    FitBoxes(record.column);
    const int width = std::max<int>(record.column->width, kLeastContentWidth);
    JControlResize(record.slider, width, kRangeSliderThickness);
    if (record.buttonGap != nullptr) {
        JControlResize(record.buttonGap, 1 + width - record.buttonRow->width, 1);
    }
    if (JControl* slider = record.factorSlider) {
        JControlResize(slider, slider->width + width - slider->container->width, slider->height);
    }
    FitBoxes(record.column);
    JWindowResize(record.window, record.column->left + record.column->width + kMargin,
                  record.column->top + record.column->height + kMargin);
}

// Takes what is being typed into a field of the window as entered; false
// when that entry was refused.
bool CommitTyping(RangeControls& record) {
    record.entryRefused = false;
    if (JControl* editing = JEditFieldEditing();
        editing != nullptr && editing->owner == record.window) {
        JEditFieldCommit();
    }
    return !record.entryRefused;
}

// Whether a button's press is meant as one. A press that takes the focus
// from a field ends its entry before the button hears of it; when that
// entry was refused, its alert is up as the press arrives, and the user
// meant the value that was refused, not the one the field shows again.
bool PressMeant(RangeControls& record) {
    return JModalFrameworkWindow() == nullptr && CommitTyping(record);
}

// The button keeps the width of its wider label, so that it does not change
// size as it is pressed.
void ShowChoicesLabel(RangeControls& record) {
    JControl* button = record.choicesButton;
    int width = 0;
    for (const std::uint16_t label : {kTextMoreChoices, kTextFewerChoices}) {
        JButtonSetLabel(button, JResourceText(label));
        int labelWidth = 0;
        int height = 0;
        JControlNaturalSize(button, &labelWidth, &height);
        width = std::max(width, labelWidth + kButtonRoom);
    }
    JButtonSetLabel(button,
                    JResourceText(record.state.moreChoices ? kTextFewerChoices : kTextMoreChoices));
    JControlResize(button, width, button->height);
}

// Shows or hides the limits; hidden, they are no limits at all.
void ShowMoreChoices(RangeControls& record, bool more) {
    record.state.moreChoices = more;
    if (more) {
        JControlShow(record.limits);
    } else {
        JControlHide(record.limits);
        record.state.limits = DurationLimits{};
        ShowLimits(record);
    }
    ShowChoicesLabel(record);
}

void ChoicesPressed(JControl* button) {
    RangeControls* record = RecordOfWindow(button->owner);
    if (record == nullptr || !PressMeant(*record)) {
        return;
    }
    const bool more = !record->state.moreChoices;
    ShowMoreChoices(*record, more);
    if (gPreferences.moreScalingChoices != more) {
        gPreferences.moreScalingChoices = more;
        SaveSettings();
    }
    LayOutWindow(*record);
}

std::vector<std::uint32_t> DelaysOf(const GifDocument& gif, std::int32_t first, std::int32_t last) {
    std::vector<std::uint32_t> delays;
    for (std::int32_t i = std::max(first, 0); i <= last && i < std::int32_t(gif.frames.size());
         ++i) {
        delays.push_back(gif.frames[std::size_t(i)]->delay);
    }
    return delays;
}

std::vector<bool> InterlacingOf(const GifDocument& gif, std::int32_t first, std::int32_t last) {
    std::vector<bool> interlaced;
    for (std::int32_t i = std::max(first, 0); i <= last && i < std::int32_t(gif.frames.size());
         ++i) {
        interlaced.push_back(gif.frames[std::size_t(i)]->interlaced);
    }
    return interlaced;
}

void ScalePressed(JControl* button) {
    RangeControls* record = RecordOfWindow(button->owner);
    if (record == nullptr || !PressMeant(*record)) {
        return;
    }
    GifDocument& gif = *record->document->gif;
    const RangeControlsState& state = record->state;
    const std::vector<std::uint32_t> before = DelaysOf(gif, state.start, state.end);
    ScaleDurations(gif, state.start, state.end, state.factor, state.limits.minimum,
                   state.limits.maximum);
    if (DelaysOf(gif, state.start, state.end) != before) {
        DocumentEdited(*record->document);
    }
}

void RemoveCommentsPressed(JControl* button) {
    RangeControls* record = RecordOfWindow(button->owner);
    if (record == nullptr || !PressMeant(*record)) {
        return;
    }
    if (RemoveRangeCommentsCommand(*record->document->gif, record->state.start,
                                   record->state.end)) {
        DocumentEdited(*record->document);
    }
}

void DeinterlacePressed(JControl* button) {
    RangeControls* record = RecordOfWindow(button->owner);
    if (record == nullptr || !PressMeant(*record)) {
        return;
    }
    GifDocument& gif = *record->document->gif;
    const RangeControlsState& state = record->state;
    const std::vector<bool> before = InterlacingOf(gif, state.start, state.end);
    DeinterlaceFrames(gif, state.start, state.end);
    if (InterlacingOf(gif, state.start, state.end) != before) {
        DocumentEdited(*record->document);
    }
}

void NewButtonRow(RangeControls& record, JControl* panel) {
    record.buttonRow = NewBox(panel, kBoxRow, kAlignCentre, 0);
}

void BuildScalePanel(RangeControls& record) {
    JControl* panel = record.panel;
    JControl* factorRow = NewBox(panel, kBoxRow, kAlignCentre, kControlGap);
    NewLabel(factorRow, JResourceText(kTextScalingFactor));
    record.factorField = NewField(factorRow, JResourceText(kTextFactorSample), FactorEntered);

    JControl* sliderRow = NewBox(panel, kBoxRow, kAlignCentre, kControlGap);
    NewLabel(sliderRow, JResourceText(kTextFaster));
    record.factorSlider = JControlNewIn(JSliderKind(), sliderRow, 0, 0);
    JSliderSetVertical(record.factorSlider, false);
    JSliderSetMaximum(record.factorSlider, kFactorPositions);
    JSliderSetTrackingCallback(record.factorSlider, FactorSlid);
    JSliderSetChangeCallback(record.factorSlider, FactorSlid);
    JControlShow(record.factorSlider);
    JControlResize(record.factorSlider, kLeastFactorSliderLength, kSliderThumbBreadth + 4);
    NewLabel(sliderRow, JResourceText(kTextSlower));
    ShowFactor(record, true);

    record.limits = NewBox(panel, kBoxColumn, kAlignStart, kControlGap);
    NewLabel(record.limits, JResourceText(kTextAfterScaling));
    const char* minimum = JResourceText(kTextMinimum);
    const char* maximum = JResourceText(kTextMaximum);
    const int labelWidth = std::max(TextWidth(minimum), TextWidth(maximum));
    const char* sample = JResourceText(kTextDurationSample);
    for (const bool isMinimum : {true, false}) {
        JControl* row = NewBox(record.limits, kBoxRow, kAlignCentre, kControlGap);
        NewSpacer(row, kIndent - kControlGap, 1);
        NewRightAlignedLabel(row, isMinimum ? minimum : maximum, labelWidth);
        (isMinimum ? record.minimumField : record.maximumField) =
            NewField(row, sample, LimitEntered);
    }
    ShowLimits(record);

    NewButtonRow(record, panel);
    record.choicesButton = NewButton(record.buttonRow, "", ChoicesPressed);
    record.buttonGap = JControlNewIn(JSpacerKind(), record.buttonRow, 0, 0);
    JControlShow(record.buttonGap);
    record.actionButton = NewButton(record.buttonRow, JResourceText(kTextScale), ScalePressed);
    JButtonSetDefault(record.actionButton, true);
    ShowMoreChoices(record, gPreferences.moreScalingChoices);
}

// A panel of one button, at the right edge like the Scale button.
void BuildActionPanel(RangeControls& record, std::uint16_t label, JButtonAction action) {
    NewButtonRow(record, record.panel);
    record.buttonGap = JControlNewIn(JSpacerKind(), record.buttonRow, 0, 0);
    JControlShow(record.buttonGap);
    record.actionButton = NewButton(record.buttonRow, JResourceText(label), action);
    JButtonSetDefault(record.actionButton, true);
}

// Throws the panel shown away and builds the one asked for.
void ShowPanel(RangeControls& record, RangePanel panel) {
    CommitTyping(record);
    if (record.panel != nullptr) {
        JControlDelete(record.panel);
    }
    record.panel = nullptr;
    record.factorField = record.factorSlider = record.limits = nullptr;
    record.minimumField = record.maximumField = nullptr;
    record.buttonRow = record.buttonGap = record.choicesButton = record.actionButton = nullptr;

    record.state.panel = panel;
    JChoiceSelect(record.panelChoice, static_cast<int>(panel));
    record.panel = NewBox(record.column, kBoxColumn, kAlignStart, kRowGap);
    switch (panel) {
        case RangePanel::ScaleDurations:
            BuildScalePanel(record);
            break;
        case RangePanel::RemoveComments:
            BuildActionPanel(record, kTextRemoveComments, RemoveCommentsPressed);
            break;
        case RangePanel::Deinterlace:
            BuildActionPanel(record, kTextDeinterlace, DeinterlacePressed);
            break;
    }
    LayOutWindow(record);
}

void PanelChosen(JControl* choice, int selected) {
    if (RangeControls* record = RecordOfWindow(choice->owner)) {
        ShowPanel(*record, static_cast<RangePanel>(selected));
    }
}

void BuildPanelChoice(RangeControls& record) {
    record.panelChoice = JControlNewIn(JPopupChoiceKind(), record.column, 0, 0);
    const char* panels[] = {JResourceText(kTextFirstPanel), JResourceText(kTextFirstPanel + 1),
                            JResourceText(kTextFirstPanel + 2)};
    JChoiceSetTexts(record.panelChoice, 3, panels);
    JChoiceSetCallback(record.panelChoice, PanelChosen);
    JControlShow(record.panelChoice);
    JControlResize(record.panelChoice, 0, 0);
    JControlResize(record.panelChoice, record.panelChoice->width + kChoiceRoom,
                   record.panelChoice->height);
}

void BuildRangeRow(RangeControls& record) {
    JControl* row = NewBox(record.column, kBoxRow, kAlignCentre, kTextGap);
    const char* sample = JResourceText(kTextFrameSample);
    NewLabel(row, JResourceText(kTextFrames));
    record.from = NewField(row, sample, RangeEntered);
    NewLabel(row, JResourceText(kTextTo));
    record.to = NewField(row, sample, RangeEntered);
    NewLabel(row, JResourceText(kTextInclusive));

    record.slider = JControlNewIn(FrameRangeSliderKind(), record.column, 0, 0);
    FrameRangeSliderSetVertical(record.slider, false);
    FrameRangeSliderSetMaximum(record.slider, std::max(FrameCountOf(record) - 1, 1));
    FrameRangeSliderSetCallbacks(record.slider, ThumbPressed, ThumbMoved, ThumbMoved);
    JControlShow(record.slider);
    // One frame leaves nothing to choose; the slider's least maximum would
    // offer a frame that is not there.
    JControlEnable(record.slider, FrameCountOf(record) > 1);
}

// --- the window ---

bool Activated(JWindow* window, const JHandlerEvent&) {
    if (RangeControls* record = RecordOfWindow(window)) {
        DocumentWindowActivated(record->document);
    }
    return true;
}

bool Deactivated(JWindow*, const JHandlerEvent&) {
    DocumentWindowActivated(nullptr);
    return true;
}

bool CloseRequested(JWindow* window, const JHandlerEvent&) {
    if (RangeControls* record = RecordOfWindow(window)) {
        CloseRangeControls(*record->document);
    }
    return true;
}

// Beside the document's windows, at the top of the first; kept inside the
// main window where it fits.
void PlaceWindow(RangeControls& record) {
    JWindow* window = record.window;
    const JRect desk = JDeskRect();
    int outerLeft = desk.left + kWindowGap;
    int outerTop = desk.top + kWindowGap;
    const std::vector<JWindow*>& others = record.document->windows;
    if (!others.empty()) {
        int right = 0;
        for (const JWindow* other : others) {
            right = std::max(right, other->left + other->width + other->borderRight);
        }
        outerLeft = right + kWindowGap;
        outerTop = others.front()->top - others.front()->borderTop;
    }
    const int outerWidth = window->borderLeft + window->width + window->borderRight;
    outerLeft = std::max<int>(desk.left, std::min<int>(outerLeft, desk.right - outerWidth));
    JWindowMoveTo(window, outerLeft + window->borderLeft, outerTop + window->borderTop);
}

void BuildWindow(RangeControls& record) {
    const std::string title = DocumentTitle(*record.document);
    JWindowSelectClass(kChildWindowClass);
    record.window = JWindowNew(nullptr, JFormatTemp(JResourceText(kTextTitle), title.c_str()), 0);
    JWindowSetHandler(record.window, kSlotKeyDown, KeyPressed);
    JWindowSetHandler(record.window, kSlotActivated, Activated);
    JWindowSetHandler(record.window, kSlotDeactivated, Deactivated);
    JWindowSetHandler(record.window, kSlotCloseRequest, CloseRequested);

    record.column = JControlNew(JLayoutBoxKind(), record.window, kMargin, kMargin);
    JBoxSetFramed(record.column, false);
    JBoxSetLayout(record.column, kBoxColumn, kAlignStart);
    JBoxSetPacked(record.column, true);
    JBoxSetSpacing(record.column, kRowGap);
    JControlShow(record.column);
    BuildPanelChoice(record);
    BuildRangeRow(record);
    ApplyRange(record, 0, FrameCountOf(record) - 1, Origin::Other);
    ShowPanel(record, RangePanel::ScaleDurations);
    PlaceWindow(record);
    JWindowShow(record.window);
}

}  // namespace

void OpenRangeControls(AppDocument& document) {
    if (document.gif == nullptr || document.gif->frames.empty()) {
        return;
    }
    RangeControls& record = RecordFor(document);
    if (record.window != nullptr) {
        JBringToFront(record.window->platform);
        return;
    }
    BuildWindow(record);
}

void CloseRangeControls(AppDocument& document) {
    const auto found = Records().find(&document);
    if (found == Records().end()) {
        return;
    }
    JWindow* window = found->second.window;
    // Destroyed, the window hears nothing more: its document stops being
    // the active one here.
    if (window != nullptr && window->active) {
        DocumentWindowActivated(nullptr);
    }
    Records().erase(found);
    if (window != nullptr) {
        JWindowDestroy(window);
    }
}

void ResetRangeControls(AppDocument& document) {
    CloseRangeControls(document);
}

void SetRangeFrameShower(RangeFrameShower shower) {
    Shower() = shower;
}

RangeControlsState RangeControlsOf(const AppDocument& document) {
    const RangeControls* record = FindRecord(document);
    return record != nullptr ? record->state : RangeControlsState{};
}

JWindow* RangeControlsWindow(const AppDocument& document) {
    const RangeControls* record = FindRecord(document);
    return record != nullptr ? record->window : nullptr;
}

JControl* RangeControlsControl(const AppDocument& document, RangeControl which) {
    const RangeControls* record = FindRecord(document);
    if (record == nullptr || record->window == nullptr) {
        return nullptr;
    }
    const bool limitsShown = record->state.moreChoices;
    switch (which) {
        case RangeControl::PanelChoice:
            return record->panelChoice;
        case RangeControl::FromField:
            return record->from;
        case RangeControl::ToField:
            return record->to;
        case RangeControl::RangeSlider:
            return record->slider;
        case RangeControl::FactorField:
            return record->factorField;
        case RangeControl::FactorSlider:
            return record->factorSlider;
        case RangeControl::MinimumField:
            return limitsShown ? record->minimumField : nullptr;
        case RangeControl::MaximumField:
            return limitsShown ? record->maximumField : nullptr;
        case RangeControl::ChoicesButton:
            return record->choicesButton;
        case RangeControl::ActionButton:
            return record->actionButton;
    }
    return nullptr;
}
