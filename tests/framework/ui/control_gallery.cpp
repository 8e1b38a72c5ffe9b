// Every framework control in two windows: the standard controls and the
// pop-up and value controls. "--headless DIR" plays a script of clicks,
// drags and keys on the headless backend and writes DIR/NN-step.png after
// each step; otherwise the frame opens in a desktop window and runs the
// framework's main loop until it is closed or "--seconds N" have passed.
// "--open-dialog DIR" shows the Open dialog in DIR and prints the file chosen.
// "--state FILE" writes what the controls hold at the end, and the
// positions of a check box and the edit field are printed at the start, so
// that a test can click them through the display server.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "framework/core/core_startup.h"
#include "framework/core/strings.h"
#include "framework/platform/draw/headless.h"
#include "framework/platform/draw/png_file.h"
#include "framework/platform/platform.h"
#include "framework/ui/alert_windows.h"
#include "framework/ui/alerts.h"
#include "framework/ui/border_boxes.h"
#include "framework/ui/check_boxes.h"
#include "framework/ui/colour_buttons.h"
#include "framework/ui/control_drawing.h"
#include "framework/ui/custom_buttons.h"
#include "framework/ui/edit_fields.h"
#include "framework/ui/edit_target.h"
#include "framework/ui/event_loop.h"
#include "framework/ui/file_dialogs.h"
#include "framework/ui/framework_startup.h"
#include "framework/ui/labels.h"
#include "framework/ui/layout_boxes.h"
#include "framework/ui/main_frame.h"
#include "framework/ui/menus.h"
#include "framework/ui/popup_choices.h"
#include "framework/ui/progress_bars.h"
#include "framework/ui/progress_windows.h"
#include "framework/ui/push_buttons.h"
#include "framework/ui/scroll_bars.h"
#include "framework/ui/sliders.h"
#include "framework/ui/spacers.h"
#include "framework/ui/static_texts.h"
#include "framework/ui/timers.h"
#include "tests/framework/ui/settle.h"
#include "tests/tool_options.h"

#if defined(__SANITIZE_ADDRESS__)
// On the desktop, the system's display and bus libraries keep allocations
// to the end that are not ours; the framework's own leaks are checked by
// its headless tests.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0";
}
#endif

namespace {

struct Gallery {
    JWindow* standard = nullptr;
    JWindow* values = nullptr;
    JControl* loop = nullptr;  // the check box the desktop test clicks
    JControl* interlace = nullptr;
    JControl* name = nullptr;
    JControl* delay = nullptr;
    JControl* choice = nullptr;
    JControl* longChoice = nullptr;
    JControl* colour = nullptr;
    JControl* slider = nullptr;
    JControl* vertical = nullptr;
    JControl* sliderLabel = nullptr;
    JControl* progress = nullptr;
    JControl* status = nullptr;
    JControl* play = nullptr;
    int keys = 0;
    int playPresses = 0;
    std::string lastDelay = "10";
};

Gallery& G() {
    static Gallery gallery;
    return gallery;
}

// --- building blocks ---

JControl* Box(JControl* parent, JWindow* window, int orientation, int alignment) {
    JControl* box = parent != nullptr ? JControlNewIn(JLayoutBoxKind(), parent, 0, 0)
                                      : JControlNew(JLayoutBoxKind(), window, 0, 0);
    JBoxSetFramed(box, false);
    JBoxSetLayout(box, orientation, alignment);
    JBoxSetSpreadAround(box, false);
    JBoxSetPacked(box, true);
    JBoxSetSpacing(box, 6);
    JControlShow(box);
    return box;
}

JControl* Label(JControl* parent, const char* text) {
    JControl* label = JControlNewIn(JLabelKind(), parent, 0, 0);
    JLabelSetFramed(label, false);
    JLabelSetText(label, text);
    JControlResize(label, 0, 0);
    JControlShow(label);
    return label;
}

JControl* Add(const ControlKind* kind, JControl* parent, int width = 0, int height = 0) {
    JControl* control = JControlNewIn(kind, parent, 0, 0);
    JControlShow(control);
    if (width != 0 || height != 0) {
        JControlResize(control, width, height);
    }
    return control;
}

JControl* Check(JControl* parent, const char* label, int state) {
    JControl* check = JControlNewIn(JCheckBoxKind(), parent, 0, 0);
    JCheckSetLabel(check, label);
    if (state == 2) {
        JCheckSetMixed(check, true);
    } else {
        JCheckSet(check, state, false);
    }
    JControlResize(check, 0, 0);
    JControlShow(check);
    return check;
}

void SetStatus(const char* text) {
    JStaticTextSet(G().status, text);
}

// --- the standard controls window ---

void DelayEntered(JControl* field, const JKeyRecord*) {
    // The typed value must be a whole number of hundredths: otherwise the
    // last valid one comes back.
    const char* text = JEditFieldText(field);
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (text[0] == '\0' || *end != '\0' || value < 0 || value > 65535) {
        JBeep();
        JEditFieldSetText(field, G().lastDelay.c_str());
        SetStatus("Delay must be 0 to 65535");
        return;
    }
    G().lastDelay = text;
    SetStatus("Delay accepted");
}

bool CountKey(JWindow*, const JHandlerEvent&) {
    ++G().keys;
    SetStatus("Key pressed");
    return true;
}

void LoopChanged(JControl*, int checked) {
    SetStatus(checked ? "Loop forever: on" : "Loop forever: off");
}

void BuildStandard() {
    JWindow* window = JWindowNew(nullptr, "Standard controls", kWindowSizing);
    G().standard = window;
    JWindowSetHandler(window, kSlotKeyDown, CountKey);
    JControl* column = Box(nullptr, window, kBoxColumn, kAlignStart);
    JBoxSetSpacing(column, 8);

    JControl* nameRow = Box(column, window, kBoxRow, kAlignCentre);
    Label(nameRow, "Name:");
    G().name = Add(JEditFieldKind(), nameRow, 150, 0);
    JEditFieldSetText(G().name, "bouncing-ball.gif");
    JControlResize(G().name, 150, 0);
    JControl* delayRow = Box(column, window, kBoxRow, kAlignCentre);
    Label(delayRow, "Delay (1/100 s):");
    G().delay = Add(JEditFieldKind(), delayRow, 60, 0);
    JEditFieldSetText(G().delay, "10");
    JEditFieldSetCallbacks(G().delay, nullptr, DelayEntered);

    G().loop = Check(column, "Loop forever", 0);
    JCheckSetCallback(G().loop, LoopChanged);
    G().interlace = Check(column, "Interlaced", 1);
    Check(column, "Some frames transparent", 2);
    JControlEnable(Check(column, "Deinterlace on save", 0), false);

    // A filled, framed row box in a sunken border box, spread around.
    JControl* border = JControlNewIn(JBorderBoxKind(), column, 0, 0);
    JBorderBoxSetSides(border, 4, 4, 5, 5);
    JBorderBoxSetFilled(border, true);
    JControlShow(border);
    JControl* spread = JControlNewIn(JLayoutBoxKind(), border, 0, 0);
    JBoxSetFilled(spread, true);
    JBoxSetFill(spread, JColour{0xFFFF, 0xFFFF, 0xE000});
    JControlShow(spread);
    for (const char* text : {"Packed", "or", "spread around"}) {
        Label(spread, text);
    }
    JControlResize(border, 240, 30);

    JControl* buttons = Box(column, window, kBoxRow, kAlignCentre);
    JControl* ok = Add(JPushButtonKind(), buttons);
    JButtonSetLabel(ok, "OK");
    JButtonSetDefault(ok, true);
    JControlResize(ok, 0, 0);
    JControl* cancel = Add(JPushButtonKind(), buttons);
    JButtonSetLabel(cancel, "Cancel");
    JControlResize(cancel, 0, 0);
    JControl* spacer = Add(JSpacerKind(), buttons, 20, 10);
    (void)spacer;
    JControl* status = JControlNewIn(JStaticTextKind(), column, 0, 0);
    JStaticTextSet(status, "Ready");
    JControlResize(status, 240, 0);
    JControlShow(status);
    G().status = status;

    JControlResize(buttons, 0, 0);
    JControlResize(nameRow, 0, 0);
    JControlResize(delayRow, 0, 0);
    JControlResize(column, 0, 0);
    JControlMove(column, 10, 10);
    JWindowMoveTo(window, 12, 12 + window->borderTop);
    JWindowResize(window, column->width + 20, column->height + 20);
}

// --- the pop-up and value controls window ---

void SliderMoved(JControl*, int value) {
    char text[32];
    std::snprintf(text, sizeof text, "Frame %d", value);
    JLabelSetText(G().sliderLabel, text);
    JProgressSetValue(G().progress, value);
}

// The playback buttons' faces: a triangle, a square or two bars.
void DrawFace(JControl* button, const JRect& content, std::intptr_t shape, bool) {
    const int cx = (content.left + content.right) / 2;
    const int cy = (content.top + content.bottom) / 2;
    JSetForeColour(button->Enabled() ? JUiBlack() : JUiShadow());
    if (shape == 0) {
        const JPoint triangle[] = {{cx - 3, cy - 5}, {cx - 3, cy + 5}, {cx + 3, cy}};
        JFillPolygon(triangle, 3);
    } else if (shape == 1) {
        JFillRect(cx - 4, cy - 4, cx + 4, cy + 4);
    } else {
        JFillRect(cx - 4, cy - 5, cx - 1, cy + 5);
        JFillRect(cx + 1, cy - 5, cx + 4, cy + 5);
    }
}

void MeasureFace(JControl*, std::intptr_t, int* width, int* height) {
    *width = 16;
    *height = 14;
}

void Played(JControl*) {
    ++G().playPresses;
    SetStatus("Play pressed");
}

void BuildValues() {
    JWindow* window = JWindowNew(nullptr, "Pop-up and value controls", kWindowSizing);
    G().values = window;
    JControl* column = Box(nullptr, window, kBoxColumn, kAlignStart);
    JBoxSetSpacing(column, 8);

    JControl* choiceRow = Box(column, window, kBoxRow, kAlignCentre);
    Label(choiceRow, "Band:");
    G().choice = Add(JPopupChoiceKind(), choiceRow);
    const char* bands[] = {"None", "Low", "Medium", "High", "Ultra high"};
    JChoiceSetTexts(G().choice, 5, bands);
    JChoiceSelect(G().choice, 2);
    JControlResize(G().choice, 0, 0);
    JControlResize(choiceRow, 0, 0);

    JControl* longRow = Box(column, window, kBoxRow, kAlignCentre);
    Label(longRow, "Frame:");
    G().longChoice = Add(JPopupChoiceKind(), longRow);
    std::string names[60];
    const char* pointers[60];
    for (int i = 0; i < 60; ++i) {
        names[i] = "Frame " + std::to_string(i + 1);
        pointers[i] = names[i].c_str();
    }
    JChoiceSetTexts(G().longChoice, 60, pointers);
    JChoiceSelect(G().longChoice, 29);
    JControlResize(G().longChoice, 0, 0);
    JControlResize(longRow, 0, 0);

    JControl* colourRow = Box(column, window, kBoxRow, kAlignCentre);
    Label(colourRow, "Background:");
    G().colour = Add(JColourButtonKind(), colourRow);
    JControlResize(G().colour, 0, 0);
    JColourButtonSetColour(G().colour, JColour{0x5555, 0xAAAA, 0xFFFF}, 1);
    JControl* blackWhite = Add(JColourButtonKind(), colourRow);
    JColourButtonSetBlackWhite(blackWhite, true);
    JControlResize(blackWhite, 0, 0);
    JControlResize(colourRow, 0, 0);

    JControl* playRow = Box(column, window, kBoxRow, kAlignCentre);
    for (int shape = 0; shape < 3; ++shape) {
        JControl* button = Add(JCustomButtonKind(), playRow);
        JCustomButtonSetHooks(button, DrawFace, MeasureFace, shape);
        JCustomButtonSetDefault(button, shape == 0);
        if (shape == 0) {
            JCustomButtonSetAction(button, Played);
            G().play = button;
        }
        JControlResize(button, 0, 0);
    }
    JControlResize(playRow, 0, 0);

    G().progress = Add(JProgressBarKind(), column, 200, 12);
    JProgressSetMaximum(G().progress, 100);
    JProgressSetValue(G().progress, 40);

    JControl* sliderRow = Box(column, window, kBoxRow, kAlignCentre);
    G().slider = Add(JSliderKind(), sliderRow);
    JSliderSetVertical(G().slider, false);
    JSliderSetMaximum(G().slider, 100);
    JControlResize(G().slider, 150, 24);
    JSliderSetValue(G().slider, 40);
    JSliderSetTrackingCallback(G().slider, SliderMoved);
    JSliderSetChangeCallback(G().slider, SliderMoved);
    G().sliderLabel = Label(sliderRow, "Frame 40");
    JControlResize(G().sliderLabel, 70, 0);
    G().vertical = Add(JSliderKind(), sliderRow, 24, 70);
    JControl* bar = Add(JScrollBarKind(), sliderRow, JScrollBarWidth(), 70);
    JScrollSetMaximum(bar, 10);
    JScrollSetValue(bar, 3);
    JControlResize(sliderRow, 0, 0);

    JControlResize(column, 0, 0);
    JControlMove(column, 10, 10);
    JWindowMoveTo(window, 330, 12 + window->borderTop);
    JWindowResize(window, column->width + 20, column->height + 20);
}

// --- running ---

JPoint ControlCentreOnScreen(const JControl* control) {
    const JPoint frame = JClientToFrame(
        control->owner->platform,
        JPoint{control->left + control->width / 2, control->top + control->height / 2});
    const JRect bounds = JFrameBounds();
    return JPoint{bounds.left + frame.x, bounds.top + frame.y};
}

void WriteState(const char* path) {
    FILE* file = std::fopen(path, "w");
    if (file == nullptr) {
        return;
    }
    std::fprintf(file, "loop=%d\n", JCheckGet(G().loop));
    std::fprintf(file, "keys=%d\n", G().keys);
    std::fprintf(file, "name=%s\n", JEditFieldText(G().name));
    std::fprintf(file, "band=%d\n", JChoiceSelectedIndex(G().choice));
    std::fprintf(file, "slider=%d\n", JSliderValue(G().slider));
    std::fclose(file);
}

void Stop(void*) {
    JQuit();
}

void QuitChosen(JUiMenuItem*, void*) {
    JQuit();
}

// A File menu with a shortcut, a checked item, a disabled one and a
// separator, and the standard Edit menu after it.
void BuildMenus() {
    JUiMenuBar* bar = JUiMenuBarNew();
    JUiMenu* file = JUiMenuFromEncoded("FFile");
    JUiMenuAddItem(file, JUiItemFromEncoded("OOOpen..."));
    JUiMenuItem* save = JUiItemFromEncoded("SSSave");
    JUiItemSetEnabled(save, false);
    JUiMenuAddItem(file, save);
    JUiMenuAddItem(file, JUiItemFromEncoded(" ASave as..."));
    JUiMenuItem* loop = JUiItemFromEncoded(" LLoop forever");
    JUiItemSetChecked(loop, true);
    JUiMenuAddItem(file, loop);
    JUiMenuAddItem(file, JUiSeparatorNew());
    JUiMenuItem* quit = JUiItemFromEncoded("QQQuit");
    JUiItemSetHandler(quit, QuitChosen, nullptr);
    JUiMenuAddItem(file, quit);
    JUiMenuBarAdd(bar, nullptr, file);
    JUiMenuSetEnabled(file, true);
    JSetStandardMenuTitle(kStandardFileTitle, 'F', "File");
    JSetStandardMenuTitle(kStandardEditTitle, 'E', "Edit");
    JSetStandardEditItem(kStandardCut, 'X', 't', "Cut");
    JSetStandardEditItem(kStandardCopy, 'C', 'C', "Copy");
    JSetStandardEditItem(kStandardPaste, 'V', 'P', "Paste");
    JUiMenuBarInstall(bar);
    JAddStandardEditMenu(kEditCut | kEditCopy | kEditPaste);
}

std::string ShotDirectory;
int ShotNumber = 1;

// Steps until the input given so far is handled.
void Settle() {
    SettleEvents(4000);
}

bool Shoot(const char* name) {
    Settle();
    JComposeFrame();
    char file[96];
    std::snprintf(file, sizeof file, "/%02d-%s.png", ShotNumber++, name);
    const std::string path = ShotDirectory + file;
    std::printf("%s\n", path.c_str());
    return JWritePng(JHeadlessFramePixels(), path.c_str());
}

JPoint InFrame(const JControl* control, int dx, int dy) {
    return JClientToFrame(control->owner->platform, JPoint{control->left + dx, control->top + dy});
}

void Click(JPoint point) {
    JHeadlessMovePointer(point.x, point.y);
    JHeadlessClick(point.x, point.y);
}

// --- the file dialogs ---

// A folder as a user might keep animations, for the dialogs to list.
std::string MakeSampleFolder() {
    char pattern[] = "/tmp/pindle-gallery-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (made == nullptr) {
        return "/tmp/";
    }
    const std::string folder = std::string(made) + "/";
    for (const char* name : {"drafts", "originals"}) {
        JCreateDirectory((folder + name).c_str());
    }
    for (const char* name : {"bouncing-ball.gif", "Banner.GIF", "loading-spinner.gif", "notes.txt",
                             "screenshot.png", "weather-map.gif"}) {
        if (FILE* file = std::fopen((folder + name).c_str(), "w")) {
            std::fclose(file);
        }
    }
    return folder;
}

// What the user does in the dialog, one step each time it waits for input.
struct DialogTour {
    std::vector<std::function<void(JWnd)>> steps;
    std::size_t next = 0;
    bool ok = true;
};
DialogTour* gTour = nullptr;

void TakeTourStep(JWnd front) {
    if (JHeadlessPendingEvents() > 0) {
        return;
    }
    if (gTour == nullptr || gTour->next >= gTour->steps.size()) {
        JHeadlessPressKey(kKeyEscape);
        return;
    }
    gTour->steps[gTour->next++](front);
}

std::function<void(JWnd)> ShootStep(const char* name) {
    return [name](JWnd front) {
        JComposeFrame();
        char file[96];
        std::snprintf(file, sizeof file, "/%02d-%s.png", ShotNumber++, name);
        const std::string path = ShotDirectory + file;
        std::printf("%s\n", path.c_str());
        gTour->ok = gTour->ok && JWritePng(JHeadlessFramePixels(), path.c_str());
        TakeTourStep(front);
    };
}

std::function<void(JWnd)> TypeStep(const char* text) {
    return [text](JWnd) {
        JHeadlessTypeText(text);
        JHeadlessPressKey(kKeyReturn);
    };
}

void ClickChild(JWnd front, int id, int index) {
    const JWnd child = JWindowChildWithId(front, id);
    JRect area = JWindowClientRect(child);
    if (index >= 0) {
        area = JListBoxItemRect(child, index);
    }
    const JPoint point =
        JClientToFrame(child, JPoint{area.left + 12, (area.top + area.bottom) / 2});
    Click(point);
}

bool ShootFileDialogs() {
    const std::string folder = MakeSampleFolder();
    DialogTour tour;
    gTour = &tour;
    JSetModalIdleHook(TakeTourStep);
    tour.steps = {[](JWnd front) { ClickChild(front, kFileDialogFiles, 1); },
                  ShootStep("open-dialog"), [](JWnd) { JHeadlessPressKey(kKeyEscape); }};
    JFileSpecFree(JOpenFileDialog({kFileTypeGif}, folder.c_str()));
    tour.steps = {TypeStep("anim"),
                  ShootStep("save-missing-extension"),
                  [](JWnd) { JHeadlessPressKey(kKeyReturn); },
                  ShootStep("save-dialog"),
                  [](JWnd front) { ClickChild(front, kFileDialogCreateDirectory, -1); },
                  [](JWnd) { JHeadlessTypeText("best of 2026"); },
                  ShootStep("create-directory"),
                  [](JWnd) { JHeadlessPressKey(kKeyEscape); },
                  [](JWnd) { JHeadlessPressKey(kKeyEscape); }};
    tour.next = 0;
    JFileSpecFree(JSaveFileDialog(kFileTypeGif, folder.c_str()));
    JSetModalIdleHook(nullptr);
    gTour = nullptr;
    std::filesystem::remove_all(folder);
    return tour.ok;
}

// Shows the Open dialog in `folder` over the gallery, prints where its name
// field is on the screen, and prints the chosen path (or that none was).
void PrintNameFieldOnce(JWnd front) {
    static bool printed = false;
    const JWnd field = JWindowChildWithId(front, kFileDialogName);
    if (printed || field == kNoWindow) {
        return;
    }
    printed = true;
    const JPoint point = JClientToFrame(field, JPoint{20, 8});
    const JRect frame = JFrameBounds();
    std::printf("field %d %d\n", frame.left + point.x, frame.top + point.y);
    std::fflush(stdout);
}

void RunOpenDialog(const char* folder) {
    JSetModalIdleHook(PrintNameFieldOnce);
    FileSpec* chosen = JOpenFileDialog({kFileTypeGif}, folder);
    if (chosen == nullptr) {
        std::printf("cancelled\n");
        return;
    }
    char* path = JFileSpecPathDup(chosen);
    std::printf("chosen %s\n", path);
    JStrFree(path);
    JFileSpecFree(chosen);
}

bool RunHeadless(const std::string& directory) {
    ShotDirectory = directory;
    bool ok = Shoot("start");
    Click(InFrame(G().loop, 9, G().loop->height / 2));
    ok = ok && Shoot("check-box-clicked");
    Click(InFrame(G().delay, 20, 8));
    JHeadlessPressKey(kKeyEnd);
    JHeadlessTypeText("x5");
    ok = ok && Shoot("delay-typed");
    JHeadlessPressKey(kKeyTab);
    ok = ok && Shoot("delay-refused");
    Click(InFrame(G().choice, 10, 5));
    ok = ok && Shoot("choice-open");
    const JPoint high = JClientToFrame(JChoiceListWindow()->platform, JPoint{20, 60});
    Click(high);
    ok = ok && Shoot("choice-chosen");
    Click(InFrame(G().longChoice, 10, 5));
    ok = ok && Shoot("long-choice-with-arrows");
    JHeadlessClick(790, 590);
    ok = ok && Shoot("long-choice-closed");
    Click(InFrame(G().colour, 8, 8));
    ok = ok && Shoot("colour-grid-open");
    JWindow* grid = JColourGridWindow();
    if (grid != nullptr) {
        Click(JClientToFrame(grid->platform, JPoint{kColourGridMargin + 7 * kColourCellPitch + 6,
                                                    kColourGridMargin + 2 * kColourCellPitch + 6}));
    }
    ok = ok && Shoot("colour-chosen");
    const JRect thumb = JSliderThumbRect(G().slider);
    const JPoint from =
        JClientToFrame(G().values->platform, JPoint{(thumb.left + thumb.right) / 2, thumb.top + 5});
    JHeadlessDrag(from.x, from.y, from.x + 50, from.y);
    ok = ok && Shoot("slider-dragged");
    Click(InFrame(G().play, 8, 8));
    ok = ok && Shoot("end");
    JHeadlessPressKey('F', kModAlt);
    ok = ok && Shoot("file-menu-open");
    JHeadlessPressKey(kKeyEscape);
    JHeadlessPressKey(kKeyEscape);
    Settle();
    JAlertTell(nullptr, AlertKind::Stop,
               "Sorry, but 'x5' is not a duration. Durations are typed as "
               "hours:minutes:seconds.hundredths.",
               "Ok", nullptr, nullptr, nullptr);
    ok = ok && Shoot("alert-stop");
    JHeadlessPressKey(kKeyReturn);
    Settle();
    JAlertTell(nullptr, AlertKind::Information,
               "bouncing-ball.gif went from 41,208 to 30,517 bytes, a saving of 25.9%, with "
               "absolutely no change in appearance.",
               "Ok", "More Info", nullptr, nullptr);
    ok = ok && Shoot("alert-information");
    JHeadlessPressKey(kKeyReturn);
    Settle();
    JAlertTell(nullptr, AlertKind::Caution,
               "The display shows 256 colours or fewer.\nAnimations may not look as they will "
               "elsewhere.",
               "Ok", "Skip warnings", nullptr, nullptr);
    ok = ok && Shoot("alert-caution");
    JHeadlessPressKey(kKeyEscape);
    Settle();
    JWindow* progress = JProgressWindowOpen("Compressing bouncing-ball.gif", 100, nullptr);
    JProgressWindowSetDone(progress, 60);
    ok = ok && Shoot("progress-window");
    JProgressWindowClose(progress);
    ok = ok && Shoot("progress-closed");
    return ok && ShootFileDialogs();
}

}  // namespace

int main(int argc, char** argv) {
    JCoreStartup();
    const char* headless = ToolOption(argc, argv, "--headless");
    const char* seconds = ToolOption(argc, argv, "--seconds");
    const char* state = ToolOption(argc, argv, "--state");
    // "--idle N": headless, run the main loop idle for N seconds of the
    // headless clock (its sleep only moves the clock), to measure the
    // work an idle step costs.
    const char* idle = ToolOption(argc, argv, "--idle");
    if (headless != nullptr) {
        JHeadlessConfigure(JHeadlessScreen{});
    }
    if (!JBackendStart(headless != nullptr || idle != nullptr ? JBackendChoice::Headless
                                                              : JBackendChoice::Automatic)) {
        std::fprintf(stderr, "no backend\n");
        return 1;
    }
    if (!JFrameworkStartup()) {
        std::fprintf(stderr, "no frame\n");
        return 1;
    }
    JMainFramePlace(headless != nullptr ? JRect{0, 0, 800, 600} : JRect{40, 40, 840, 640});
    JMainFrameShow();
    BuildMenus();
    BuildStandard();
    BuildValues();
    JWindowShow(G().values);
    JWindowShow(G().standard);
    std::printf("controls on the %s backend\n", JBackendCurrent().name);
    const JPoint check = ControlCentreOnScreen(G().loop);
    std::printf("check %d %d\n", check.x - G().loop->width / 2 + 9, check.y);
    std::fflush(stdout);
    bool ok = true;
    const char* openDialog = ToolOption(argc, argv, "--open-dialog");
    if (headless != nullptr) {
        ok = RunHeadless(headless);
    } else if (openDialog != nullptr) {
        RunOpenDialog(openDialog);
    } else {
        const char* run = idle != nullptr ? idle : seconds;
        const int limit = run != nullptr ? std::atoi(run) : 0;
        if (limit > 0) {
            JTimerNew(Stop, nullptr, static_cast<std::uint32_t>(limit) * 1000);
        }
        JRunMainLoop();
    }
    if (state != nullptr) {
        WriteState(state);
    }
    JFrameworkShutdown();
    JTextShutdown();
    JBackendStop();
    return ok ? 0 : 1;
}
