#include "app/shell/preferences_dialog.h"
#include "app/shell/window_parts.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <memory>

#include "app/shell/compatibility_chart.h"
#include "app/shell/preferences.h"
#include "framework/core/format.h"
#include "framework/core/string_lists.h"
#include "framework/core/strings.h"
#include "framework/ui/border_boxes.h"
#include "framework/ui/check_boxes.h"
#include "framework/ui/edit_fields.h"
#include "framework/ui/labels.h"
#include "framework/ui/layout_boxes.h"
#include "framework/ui/main_frame.h"
#include "framework/ui/popup_choices.h"
#include "framework/ui/push_buttons.h"
#include "framework/ui/spacers.h"

namespace {

// Application text indexes.
constexpr std::uint16_t kTextTitle = 140;
constexpr std::uint16_t kTextOptimizationPage = 141;
constexpr std::uint16_t kTextMayImprove = 142;
constexpr std::uint16_t kTextCommentsPage = 146;
constexpr std::uint16_t kTextCommentLabel = 147;
constexpr std::uint16_t kTextBandBefore = 203;
constexpr std::uint16_t kTextBandAfter = 204;
constexpr std::uint16_t kTextFirstBand = 205;
constexpr std::uint16_t kTextStartupPage = 241;
constexpr std::uint16_t kTextCompatibility = 248;
constexpr std::uint16_t kTextUserName = 359;
// Out-of-memory list text 5 (string 2205): the dialog's width and height.
constexpr std::uint16_t kTextDialogSize = 5;
constexpr int kDefaultWidth = 430;
constexpr int kDefaultHeight = 250;

constexpr int kChildWindowClass = 203;

// The dialog's geometry: the selector's margin above and below, the page's
// left edge, the indent of the options under their heading, the button's
// distance from the corner, and the room between the lines of a page.
constexpr int kSelectorMargin = 8;
constexpr int kPageLeft = 15;
constexpr int kOptionIndent = 15;
constexpr int kCornerMargin = 10;
constexpr int kLineGap = 6;
constexpr int kUserNameWidth = 200;
constexpr int kChoiceRoom = 10;

struct FlagEntry {
    PreferenceFlag flag;
    bool Preferences::*member;
    std::uint16_t label;
    PreferencesControl control;
};

// In the order of PreferenceFlag.
constexpr FlagEntry kFlags[] = {
    {PreferenceFlag::OmitFrameTerminators, &Preferences::omitFrameTerminators, 144,
     PreferencesControl::OmitFrameTerminators},
    {PreferenceFlag::ExcludeOrigin, &Preferences::excludeOrigin, 145,
     PreferencesControl::ExcludeOrigin},
    {PreferenceFlag::SmallFirstFrame, &Preferences::smallFirstFrameRectangle, 201,
     PreferencesControl::SmallFirstFrame},
    {PreferenceFlag::InterframeTransparency, &Preferences::useInterframeTransparency, 202,
     PreferencesControl::InterframeTransparency},
    {PreferenceFlag::MergeUnchangedFrames, &Preferences::mergeUnchangedFrames, 350,
     PreferencesControl::MergeUnchangedFrames},
    {PreferenceFlag::Thorough, &Preferences::thorough, 351, PreferencesControl::Thorough},
    {PreferenceFlag::ShowDepthWarning, &Preferences::showDepthWarning, 242,
     PreferencesControl::ShowDepthWarning},
};
constexpr std::size_t kFlagCount = std::size(kFlags);

constexpr std::size_t IndexOf(PreferenceFlag flag) {
    return static_cast<std::size_t>(flag);
}

// The options of the first page, in the order shown: what the compression
// may do, then how hard it tries.
constexpr PreferenceFlag kCompressionFlags[] = {
    PreferenceFlag::OmitFrameTerminators, PreferenceFlag::ExcludeOrigin,
    PreferenceFlag::SmallFirstFrame,      PreferenceFlag::InterframeTransparency,
    PreferenceFlag::MergeUnchangedFrames, PreferenceFlag::Thorough,
};

struct Dialog {
    JWindow* window = nullptr;
    PreferencesDialogHost host;
    PreferencesPage page = PreferencesPage::Optimization;
    JControl* selector = nullptr;
    JControl* rule = nullptr;  // under the selector
    int pageTop = 0;
    // The page's controls: all of them in one box, and the button in the corner.
    JControl* pageBox = nullptr;
    JControl* compatibility = nullptr;
    std::array<JControl*, kFlagCount> flagBoxes{};
    JControl* band = nullptr;
    JControl* userName = nullptr;
    JControl* commentTemplate = nullptr;
};

std::unique_ptr<Dialog>& TheDialog() {
    static std::unique_ptr<Dialog> dialog;
    return dialog;
}

// --- changes ---

// After every change made in the dialog or the chart.
void PreferencesChanged() {
    SaveSettings();
    RefreshCompatibilityChart();
}

// Takes the field's text as the preference when it differs; true when it did.
bool TakeText(JControl* field, char** preference) {
    if (field == nullptr) {
        return false;
    }
    const char* text = JEditFieldText(field);
    if (*preference != nullptr && JStrEqual(text, *preference)) {
        return false;
    }
    if (*preference != nullptr) {
        JStrFree(*preference);
    }
    *preference = JStrDup(text);
    return true;
}

// The comment page's fields, as they are now.
void CommitTexts(Dialog& dialog) {
    const bool changedTemplate = TakeText(dialog.commentTemplate, &gPreferences.commentTemplate);
    const bool changedName = TakeText(dialog.userName, &gPreferences.userName);
    if (changedTemplate || changedName) {
        SaveSettings();
    }
}

void TextEntered(JControl*, const JKeyRecord*) {
    if (const auto& dialog = TheDialog()) {
        CommitTexts(*dialog);
    }
}

void FlagBoxChanged(JControl* box, int checked);

// The property that holds a box's flag is keyed by the boxes' handler.
std::uintptr_t FlagKey() {
    return reinterpret_cast<std::uintptr_t>(&FlagBoxChanged);
}

void FlagBoxChanged(JControl* box, int checked) {
    SetPreferenceFlag(static_cast<PreferenceFlag>(JControlGetProperty(box, FlagKey())),
                      checked != 0);
    PreferencesChanged();
}

void BandChosen(JControl*, int selected) {
    SetTransparencyBandPreference(static_cast<std::uint8_t>(selected));
    PreferencesChanged();
}

void CompatibilityPressed(JControl*) {
    if (const auto& dialog = TheDialog()) {
        OpenCompatibilityChart(dialog->window, dialog->host.windowsChanged);
    }
}

// --- building the pages ---

void NewSpacer(JControl* parent, int width, int height) {
    JControl* spacer = JControlNewIn(JSpacerKind(), parent, 0, 0);
    JControlShow(spacer);
    JControlResize(spacer, width, height);
}

// A pop-up choice a little wider than its widest item, so that the item
// shown does not run into the arrow.
void SizeChoice(JControl* choice) {
    JControlResize(choice, 0, 0);
    JControlResize(choice, choice->width + kChoiceRoom, choice->height);
}

JControl* NewFlagBox(Dialog& dialog, JControl* parent, PreferenceFlag flag) {
    const FlagEntry& entry = kFlags[IndexOf(flag)];
    JControl* box = JControlNewIn(JCheckBoxKind(), parent, 0, 0);
    JCheckSetLabel(box, IJString(entry.label));
    JCheckSet(box, gPreferences.*(entry.member) ? 1 : 0, false);
    JControlSetProperty(box, FlagKey(), static_cast<std::intptr_t>(flag));
    JCheckSetCallback(box, FlagBoxChanged);
    JControlShow(box);
    JControlResize(box, 0, 0);
    dialog.flagBoxes[IndexOf(flag)] = box;
    return box;
}

// An edit field that keeps the size of the border box around it instead of
// growing with its text past the dialog's edge.
JControl* NewFramedField(JControl* parent, int width, int height, bool multiLine,
                         const char* text) {
    JControl* frame = JControlNewIn(JBorderBoxKind(), parent, 0, 0);
    JBorderBoxSetSides(frame, 0, 0, 0, 0);
    JControlShow(frame);
    JControl* field = JControlNewIn(JEditFieldKind(), frame, 0, 0);
    JEditFieldSetMultiLine(field, multiLine);
    JEditFieldSetCallbacks(field, nullptr, TextEntered);
    JControlShow(field);
    if (height == 0) {  // one line
        int naturalWidth = 0;
        JControlNaturalSize(field, &naturalWidth, &height);
    }
    JControlResize(frame, width, height);
    // Set once the field has its size, so that it scrolls for that size.
    JEditFieldSetText(field, text != nullptr ? text : "");
    return field;
}

JControl* NewPageBox(Dialog& dialog) {
    JControl* page = JControlNew(JLayoutBoxKind(), dialog.window, kPageLeft, dialog.pageTop);
    JBoxSetFramed(page, false);
    JBoxSetLayout(page, kBoxColumn, kAlignStart);
    JBoxSetPacked(page, true);
    JBoxSetSpacing(page, kLineGap);
    JControlShow(page);
    return page;
}

void PlaceCompatibilityButton(Dialog& dialog) {
    if (JControl* button = dialog.compatibility) {
        JControlMove(button, dialog.window->width - kCornerMargin - button->width,
                     dialog.window->height - kCornerMargin - button->height);
    }
}

void BuildOptimizationPage(Dialog& dialog, JControl* page) {
    NewLabel(page, IJString(kTextMayImprove));
    JControl* indented = NewBox(page, kBoxRow, kAlignStart, 0);
    NewSpacer(indented, kOptionIndent, 1);
    JControl* options = NewBox(indented, kBoxColumn, kAlignStart, 0);
    for (PreferenceFlag flag : kCompressionFlags) {
        NewFlagBox(dialog, options, flag);
    }
    JControlResize(options, 0, 0);
    JControlResize(indented, 0, 0);

    JControl* bandRow = NewBox(page, kBoxRow, kAlignCentre, 4);
    NewLabel(bandRow, IJString(kTextBandBefore));
    dialog.band = JControlNewIn(JPopupChoiceKind(), bandRow, 0, 0);
    const char* bands[kTransparencyBandCount];
    for (std::uint8_t band = 0; band < kTransparencyBandCount; ++band) {
        bands[band] = IJString(kTextFirstBand + band);
    }
    JChoiceSetTexts(dialog.band, kTransparencyBandCount, bands);
    JChoiceSelect(dialog.band,
                  std::min<int>(gPreferences.transparencyBand, kTransparencyBandCount - 1));
    JChoiceSetCallback(dialog.band, BandChosen);
    JControlShow(dialog.band);
    SizeChoice(dialog.band);
    NewLabel(bandRow, IJString(kTextBandAfter));
    JControlResize(bandRow, 0, 0);

    dialog.compatibility = JControlNew(JPushButtonKind(), dialog.window, 0, 0);
    JButtonSetLabel(dialog.compatibility, IJString(kTextCompatibility));
    JButtonSetAction(dialog.compatibility, CompatibilityPressed);
    JControlShow(dialog.compatibility);
    JControlResize(dialog.compatibility, 0, 0);
    PlaceCompatibilityButton(dialog);
}

void BuildCommentsPage(Dialog& dialog, JControl* page) {
    const int width = dialog.window->width - 2 * kPageLeft;
    JControl* nameRow = NewBox(page, kBoxRow, kAlignCentre, 4);
    NewLabel(nameRow, IJString(kTextUserName));
    dialog.userName = NewFramedField(nameRow, kUserNameWidth, 0, false, gPreferences.userName);
    JControlResize(nameRow, 0, 0);
    NewLabel(page, IJString(kTextCommentLabel));
    JControlResize(page, 0, 0);
    // The template fills the rest of the page.
    const int top = page->top + page->height + kLineGap;
    const int height = dialog.window->height - kPageLeft - top;
    dialog.commentTemplate =
        NewFramedField(page, width, std::max(height, 1), true, gPreferences.commentTemplate);
}

void BuildStartupPage(Dialog& dialog, JControl* page) {
    NewFlagBox(dialog, page, PreferenceFlag::ShowDepthWarning);
}

// Throws the page shown away (taking what its fields hold first) and builds
// the page asked for.
void ShowPage(Dialog& dialog, PreferencesPage page) {
    if (JControl* editing = JEditFieldEditing();
        editing != nullptr && editing->owner == dialog.window) {
        JEditFieldCommit();
    }
    CommitTexts(dialog);
    if (dialog.pageBox != nullptr) {
        JControlDelete(dialog.pageBox);
    }
    if (dialog.compatibility != nullptr) {
        JControlDelete(dialog.compatibility);
    }
    dialog.pageBox = nullptr;
    dialog.compatibility = nullptr;
    dialog.flagBoxes.fill(nullptr);
    dialog.band = nullptr;
    dialog.userName = nullptr;
    dialog.commentTemplate = nullptr;

    dialog.page = page;
    dialog.pageBox = NewPageBox(dialog);
    switch (page) {
        case PreferencesPage::Optimization:
            BuildOptimizationPage(dialog, dialog.pageBox);
            break;
        case PreferencesPage::Comments:
            BuildCommentsPage(dialog, dialog.pageBox);
            break;
        case PreferencesPage::Startup:
            BuildStartupPage(dialog, dialog.pageBox);
            break;
    }
    JControlResize(dialog.pageBox, 0, 0);
}

void PageChosen(JControl*, int selected) {
    if (const auto& dialog = TheDialog()) {
        ShowPage(*dialog, static_cast<PreferencesPage>(selected));
    }
}

// --- the window ---

// The record goes with the window, however the window goes.
void ForgetDialog(JControl*, void*) {
    const auto windowsChanged = TheDialog()->host.windowsChanged;
    TheDialog().reset();
    if (windowsChanged != nullptr) {
        windowsChanged();
    }
}

bool MayClose(JWindow*, const JHandlerEvent&) {
    return true;
}

bool BeforeDestroy(JWindow*, const JHandlerEvent&) {
    if (const auto& dialog = TheDialog()) {
        if (JControl* editing = JEditFieldEditing();
            editing != nullptr && editing->owner == dialog->window) {
            JEditFieldCommit();
        }
        CommitTexts(*dialog);
    }
    CloseCompatibilityChart();
    return true;
}

void BuildSelector(Dialog& dialog) {
    dialog.selector = JControlNew(JPopupChoiceKind(), dialog.window, 0, kSelectorMargin);
    const char* pages[] = {IJString(kTextOptimizationPage), IJString(kTextCommentsPage),
                           IJString(kTextStartupPage)};
    JChoiceSetTexts(dialog.selector, static_cast<int>(std::size(pages)), pages);
    JChoiceSetCallback(dialog.selector, PageChosen);
    JControlAddReleaseHook(dialog.selector, ForgetDialog, nullptr);
    JControlShow(dialog.selector);
    SizeChoice(dialog.selector);

    // An etched line across the dialog parts the selector from its page.
    const int ruleTop = dialog.selector->top + dialog.selector->height + kSelectorMargin;
    dialog.rule = JControlNew(JBorderBoxKind(), dialog.window, 0, ruleTop);
    JBorderBoxSetSides(dialog.rule, 0, 3, 0, 6);
    JControlShow(dialog.rule);
    JControlResize(dialog.rule, kDefaultWidth, 2);
    dialog.pageTop = ruleTop + 2 + 2 * kSelectorMargin;
}

// The size string 2205 gives, grown when the first page needs more room.
void SizeDialog(Dialog& dialog) {
    int width = kDefaultWidth;
    int height = kDefaultHeight;
    if (!JScan(IJStringOutOfMemory(kTextDialogSize), "%d% %d%", &width, &height) || width <= 0 ||
        height <= 0) {
        width = kDefaultWidth;
        height = kDefaultHeight;
    }
    const JControl* page = dialog.pageBox;
    const int pageBottom = page->top + page->height;
    if (dialog.compatibility != nullptr) {
        height =
            std::max(height, pageBottom + kLineGap + dialog.compatibility->height + kCornerMargin);
    }
    width = std::max(width, page->left + page->width + kPageLeft);
    JWindowResize(dialog.window, width, height);
    JControlMove(dialog.selector, (width - dialog.selector->width) / 2, dialog.selector->top);
    JControlResize(dialog.rule, width, dialog.rule->height);
    PlaceCompatibilityButton(dialog);
}

void CentreInMainWindow(JWindow* window) {
    const JRect desk = JDeskRect();
    JWindowMoveTo(
        window, desk.left + std::max<int>(window->borderLeft, (desk.Width() - window->width) / 2),
        desk.top + std::max<int>(window->borderTop, (desk.Height() - window->height) / 3));
}

}  // namespace

void OpenPreferencesDialog(const PreferencesDialogHost& host) {
    if (const auto& open = TheDialog()) {
        JBringToFront(open->window->platform);
        return;
    }
    TheDialog() = std::make_unique<Dialog>();
    Dialog& dialog = *TheDialog();
    dialog.host = host;
    JWindowSelectClass(kChildWindowClass);
    dialog.window = JWindowNew(nullptr, IJString(kTextTitle), kWindowNoMinimise);
    JWindowSetHandler(dialog.window, kSlotCloseRequest, MayClose);
    JWindowSetHandler(dialog.window, kSlotBeforeDestroy, BeforeDestroy);
    JWindowResize(dialog.window, kDefaultWidth, kDefaultHeight);
    BuildSelector(dialog);
    ShowPage(dialog, PreferencesPage::Optimization);
    SizeDialog(dialog);
    CentreInMainWindow(dialog.window);
    JWindowShow(dialog.window);
    if (host.windowsChanged != nullptr) {
        host.windowsChanged();
    }
}

void ClosePreferencesDialog() {
    if (const auto& dialog = TheDialog()) {
        JWindowClose(dialog->window);
    }
}

void SetPreferenceFlag(PreferenceFlag flag, bool on) {
    const FlagEntry& entry = kFlags[IndexOf(flag)];
    gPreferences.*(entry.member) = on;
    if (const auto& dialog = TheDialog()) {
        if (JControl* box = dialog->flagBoxes[IndexOf(flag)]) {
            JCheckSet(box, on ? 1 : 0, false);
        }
    }
}

void SetTransparencyBandPreference(std::uint8_t band) {
    gPreferences.transparencyBand = std::min<std::uint8_t>(band, kTransparencyBandCount - 1);
    if (const auto& dialog = TheDialog(); dialog && dialog->band != nullptr) {
        JChoiceSelect(dialog->band, gPreferences.transparencyBand);
    }
}

JWindow* PreferencesDialogWindow() {
    const auto& dialog = TheDialog();
    return dialog ? dialog->window : nullptr;
}

JControl* PreferencesDialogControl(PreferencesControl which) {
    const auto& dialog = TheDialog();
    if (!dialog) {
        return nullptr;
    }
    for (const FlagEntry& entry : kFlags) {
        if (entry.control == which) {
            return dialog->flagBoxes[IndexOf(entry.flag)];
        }
    }
    switch (which) {
        case PreferencesControl::PageSelector:
            return dialog->selector;
        case PreferencesControl::TransparencyBand:
            return dialog->band;
        case PreferencesControl::Compatibility:
            return dialog->compatibility;
        case PreferencesControl::UserName:
            return dialog->userName;
        case PreferencesControl::CommentTemplate:
            return dialog->commentTemplate;
        default:
            return nullptr;
    }
}

PreferencesPage PreferencesDialogPage() {
    const auto& dialog = TheDialog();
    return dialog ? dialog->page : PreferencesPage::Optimization;
}
