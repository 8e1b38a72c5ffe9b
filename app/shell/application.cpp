#include "app/shell/application.h"

#include <vector>

#include "app/codec/gif_reader.h"
#include "app/edit/comments.h"
#include "app/edit/deinterlace.h"
#include "app/shell/document_windows.h"
#include "app/shell/documents.h"
#include "app/shell/frame_range_slider.h"
#include "app/shell/preferences.h"
#include "app/shell/preferences_dialog.h"
#include "app/shell/range_controls_window.h"
#include "app/shell/startup_window.h"
#include "framework/core/files.h"
#include "framework/core/format.h"
#include "framework/core/memory.h"
#include "framework/core/resources.h"
#include "framework/core/strings.h"
#include "framework/ui/alert_windows.h"
#include "framework/ui/alerts.h"
#include "framework/ui/event_loop.h"
#include "framework/ui/file_dialogs.h"
#include "framework/ui/main_frame.h"
#include "framework/ui/menus.h"

namespace {

// Menu labels.
constexpr std::uint16_t kLabelApple = 1010;
constexpr std::uint16_t kLabelAbout = 1011;
constexpr std::uint16_t kLabelFile = 1012;
constexpr std::uint16_t kLabelOpen = 1014;
constexpr std::uint16_t kLabelCloseWindow = 1015;
constexpr std::uint16_t kLabelSave = 1016;
constexpr std::uint16_t kLabelSaveAs = 1017;
constexpr std::uint16_t kLabelQuit = 1018;
constexpr std::uint16_t kLabelEdit = 1060;
constexpr std::uint16_t kLabelCut = 1061;
constexpr std::uint16_t kLabelCopy = 1062;
constexpr std::uint16_t kLabelPaste = 1063;
constexpr std::uint16_t kLabelAnimation = 1103;
constexpr std::uint16_t kLabelAddComment = 1104;
constexpr std::uint16_t kLabelPreferences = 1139;
constexpr std::uint16_t kLabelTestCompression = 1175;
constexpr std::uint16_t kLabelRangeControls = 1221;
constexpr std::uint16_t kLabelStandardizeComments = 1239;
constexpr std::uint16_t kLabelRemoveComments = 1263;
constexpr std::uint16_t kLabelDeinterlace = 1264;

// Messages; each is followed by its button.
constexpr std::uint16_t kTextNotGif = 1097;
constexpr std::uint16_t kTextNoPrinting = 1100;
constexpr std::uint16_t kTextOutOfMemory = 2200;  // Ok, More Info follow
constexpr std::uint16_t kTextQuitting = 2203;     // Ok follows

constexpr std::size_t kMemoryReserve = 16384;
constexpr unsigned kCutCopyAndPaste = 1 | 2 | 4;

struct Application {
    AppDocument* active = nullptr;
    JUiMenuItem* closeWindow = nullptr;
    JUiMenuItem* save = nullptr;
    JUiMenuItem* saveAs = nullptr;
    JUiMenuItem* testCompression = nullptr;
    JUiMenuItem* rangeControls = nullptr;
    JUiMenu* animation = nullptr;
    JWindow* outOfMemory = nullptr;
    JWindow* quitting = nullptr;
};

Application& App() {
    static Application app;
    return app;
}

// --- menus ---

using Command = void (*)();

void RunCommand(JUiMenuItem*, void* data) {
    reinterpret_cast<Command>(data)();
}

JUiMenuItem* AddItem(JUiMenu* menu, std::uint16_t label, Command command, bool enabled = true) {
    JUiMenuItem* item = JUiItemFromEncoded(JResourceText(label));
    if (command != nullptr) {
        JUiItemSetHandler(item, RunCommand, reinterpret_cast<void*>(command));
    }
    JUiItemSetEnabled(item, enabled);
    JUiMenuAddItem(menu, item);
    return item;
}

void AddSeparator(JUiMenu* menu) {
    JUiMenuAddItem(menu, JUiSeparatorNew());
}

void StandardEditLabels() {
    const JMenuLabel file = JDecodeMenuTitle(JResourceText(kLabelFile));
    const JMenuLabel edit = JDecodeMenuTitle(JResourceText(kLabelEdit));
    JSetStandardMenuTitle(kStandardFileTitle, file.mnemonic, file.text.c_str());
    JSetStandardMenuTitle(kStandardEditTitle, edit.mnemonic, edit.text.c_str());
    const std::uint16_t labels[] = {kLabelCut, kLabelCopy, kLabelPaste};
    const int items[] = {kStandardCut, kStandardCopy, kStandardPaste};
    for (int i = 0; i < 3; ++i) {
        const JMenuLabel item = JDecodeMenuItem(JResourceText(labels[i]));
        JSetStandardEditItem(items[i], item.shortcut, item.mnemonic, item.text.c_str());
    }
}

// --- the comment, interlacing and range commands ---

// An edit of the active document: marked changed and shown when it changed
// anything.
std::vector<bool> InterlacedFlags(const GifDocument& gif) {
    std::vector<bool> flags;
    for (const auto& frame : gif.frames) {
        flags.push_back(frame->interlaced);
    }
    return flags;
}

template <typename Edit>
void EditActive(Edit edit) {
    AppDocument* document = App().active;
    if (document != nullptr && edit(*document->gif)) {
        MarkDocumentChanged(*document);
        RefreshDocumentWindows(*document);
    }
}

void AddStandardCommentCommand() {
    EditActive(
        [](GifDocument& gif) { return AddStandardComment(gif, StandardCommentFromPreferences()); });
}

void RemoveAllCommentsMenuCommand() {
    EditActive([](GifDocument& gif) { return RemoveAllCommentsCommand(gif); });
}

void DeinterlaceAllCommand() {
    EditActive([](GifDocument& gif) {
        const std::vector<bool> before = InterlacedFlags(gif);
        DeinterlaceFrames(gif, 0, gif.frameCount - 1);
        return InterlacedFlags(gif) != before;
    });
}

void RangeControlsCommand() {
    if (AppDocument* document = App().active) {
        OpenRangeControls(*document);
    }
}

void StandardizeCommentsMenuCommand() {
    EditActive([](GifDocument& gif) {
        return StandardizeCommentsCommand(gif, StandardCommentFromPreferences());
    });
}

// --- application events ---

void OpenFile(const FileSpec* file) {
    char* path = JFileSpecPathDup(file);
    if (path != nullptr) {
        OpenDocument(path);
        JStrFree(path);
    }
    UpdateCloseWindowItem();
}

void OpenDocumentEvent(const FileSpec* file, std::intptr_t) {
    CloseStartupWindow(true);
    if (file->type != nullptr && file->type->row == kFileTypeGif) {
        OpenFile(file);
        return;
    }
    JBeep();
    const std::string message = JFormatString(JResourceText(kTextNotGif), DisplayNameTemp(file));
    JAsk(AlertKind::Stop, message.c_str(), JResourceText(kTextNotGif + 1), nullptr);
}

void PrintDocumentEvent(const FileSpec* file, std::intptr_t) {
    JBeep();
    const char* name = DisplayNameTemp(file);
    const std::string message = JFormatString(JResourceText(kTextNoPrinting), name, name);
    JAsk(AlertKind::Stop, message.c_str(), JResourceText(kTextNoPrinting + 1), nullptr);
}

void OpenApplicationEvent(const FileSpec*, std::intptr_t) {}

void QuitApplicationEvent(const FileSpec*, std::intptr_t) {
    QuitCommand();
}

void DocumentOpened(AppDocument&) {
    UpdateCloseWindowItem();
}

void DocumentClosing(AppDocument& document) {
    if (App().active == &document) {
        SetActiveDocument(nullptr);
    }
}

// --- out of memory ---

void TellOutOfMemory() {
    JBeep();
    if (App().outOfMemory != nullptr && !JAlertAskPrebuilt(App().outOfMemory)) {
        App().outOfMemory = nullptr;
        if (App().quitting != nullptr) {
            JAlertAskPrebuilt(App().quitting);
        }
    }
}

void FatalMemoryHandler(std::uintptr_t, std::uint32_t) {
    TellOutOfMemory();
}

void LowMemoryHandler(std::uintptr_t, bool memoryIsLow) {
    if (memoryIsLow) {
        TellOutOfMemory();
        std::_Exit(1);
    }
}

void PrepareOutOfMemory() {
    JSetFatalHandler(FatalMemoryHandler, 0);
    JSetLowMemoryHandler(LowMemoryHandler, 0);
    JSetReserve(kMemoryReserve);
    App().outOfMemory = JAlertBuild(
        nullptr, nullptr, AlertKind::Stop, JResourceText(kTextOutOfMemory),
        JResourceText(kTextOutOfMemory + 1), JResourceText(kTextOutOfMemory + 2), nullptr, nullptr);
    App().quitting = JAlertBuild(nullptr, nullptr, AlertKind::Stop, JResourceText(kTextQuitting),
                                 JResourceText(kTextQuitting + 1), nullptr, nullptr, nullptr);
}

// --- the main frame's place in the settings ---

std::int16_t FrameBorderLeft() {
    return static_cast<std::int16_t>(JMainFrame().borderLeft);
}

std::int16_t FrameBorderTop() {
    return static_cast<std::int16_t>(JMainFrame().borderTop);
}

DisplayRect FrameContent() {
    const JRect content = JMainFrame().content;
    return DisplayRect{
        static_cast<std::int16_t>(content.left), static_cast<std::int16_t>(content.top),
        static_cast<std::int16_t>(content.Width()), static_cast<std::int16_t>(content.Height())};
}

void PlaceFrame(const DisplayRect& content) {
    JMainFramePlace(JRect{content.left, content.top, content.left + content.width,
                          content.top + content.height});
}

constexpr MainFramePlacement kFramePlacement{FrameBorderLeft, FrameBorderTop, FrameContent,
                                             PlaceFrame};

void FrameChanged(int code, std::intptr_t) {
    if (code == kFrameContentResized || code == kFrameMoved) {
        SaveSettings();
    }
}

// The framework window in front that Close Window would close.
JWindow* FrontWindow() {
    for (int i = 0; i < JTopLevelCount(); ++i) {
        JWindow* window = JWindowFromPlatform(JTopLevelAt(i));
        if (window != nullptr && !window->Destroyed() && JWindowIsVisible(window) &&
            !IsCornerBadgeWindow(window) && (window->style & kWindowPopup) == 0) {
            return window;
        }
    }
    return nullptr;
}

}  // namespace

// --- commands ---

void OpenCommand() {
    FileSpec* chosen = JOpenFileDialog({kFileTypeGif});
    if (chosen != nullptr) {
        OpenFile(chosen);
        JFileSpecFree(chosen);
    }
}

void CloseWindowCommand() {
    if (JWindow* window = FrontWindow()) {
        JWindowClose(window);
    }
    UpdateCloseWindowItem();
}

void SaveCommand() {
    if (AppDocument* document = App().active) {
        SaveDocument(*document);
    }
}

void SaveAsCommand() {
    AppDocument* document = App().active;
    if (document == nullptr) {
        return;
    }
    const FileSpec* current = document->gif->fileSpec.get();
    FileSpec* chosen =
        JSaveFileDialog(kFileTypeGif, current != nullptr ? current->directory : nullptr);
    if (chosen != nullptr) {
        SaveDocumentAs(*document, *chosen);
        JFileSpecFree(chosen);
    }
}

void TestCompressionCommand() {
    if (AppDocument* document = App().active) {
        TestCompression(*document);
    }
}

void PreferencesCommand() {
    OpenPreferencesDialog(PreferencesDialogHost{UpdateCloseWindowItem});
}

void QuitCommand() {
    if (CloseAllDocuments()) {
        JQuit();
    }
}

void AboutCommand() {
    ShowStartupWindow(false);
    UpdateCloseWindowItem();
}

void SetActiveDocument(AppDocument* document) {
    Application& app = App();
    app.active = document;
    const bool hasDocument = document != nullptr;
    JUiItemSetEnabled(app.save, hasDocument);
    JUiItemSetEnabled(app.saveAs, hasDocument);
    JUiItemSetEnabled(app.testCompression, hasDocument);
    JUiMenuSetEnabled(app.animation, hasDocument);
    JUiItemSetEnabled(app.rangeControls, hasDocument && document->gif->frameCount > 1);
}

AppDocument* ActiveDocument() {
    return App().active;
}

void UpdateCloseWindowItem() {
    JUiItemSetEnabled(App().closeWindow, FrontWindow() != nullptr);
}

void BuildApplicationMenus() {
    Application& app = App();
    StandardEditLabels();
    JUiMenuBar* bar = JUiMenuBarNew();

    JUiMenu* apple = JUiMenuFromEncoded(JResourceText(kLabelApple));
    AddItem(apple, kLabelAbout, AboutCommand);

    JUiMenu* file = JUiMenuFromEncoded(JResourceText(kLabelFile));
    AddItem(file, kLabelOpen, OpenCommand);
    AddSeparator(file);
    app.closeWindow = AddItem(file, kLabelCloseWindow, CloseWindowCommand);
    app.save = AddItem(file, kLabelSave, SaveCommand, false);
    app.saveAs = AddItem(file, kLabelSaveAs, SaveAsCommand, false);
    app.testCompression = AddItem(file, kLabelTestCompression, TestCompressionCommand, false);
    AddSeparator(file);
    AddItem(file, kLabelPreferences, PreferencesCommand);
    AddSeparator(file);
    AddItem(file, kLabelQuit, QuitCommand);

    app.animation = JUiMenuFromEncoded(JResourceText(kLabelAnimation));
    AddItem(app.animation, kLabelAddComment, AddStandardCommentCommand);
    AddItem(app.animation, kLabelRemoveComments, RemoveAllCommentsMenuCommand);
    AddItem(app.animation, kLabelStandardizeComments, StandardizeCommentsMenuCommand);
    AddSeparator(app.animation);
    AddItem(app.animation, kLabelDeinterlace, DeinterlaceAllCommand);
    AddSeparator(app.animation);
    app.rangeControls = AddItem(app.animation, kLabelRangeControls, RangeControlsCommand, false);

    JUiMenuBarAdd(bar, nullptr, apple);
    JUiMenuBarAdd(bar, apple, file);
    JUiMenuBarAdd(bar, file, app.animation);
    JUiMenuSetEnabled(apple, true);
    JUiMenuSetEnabled(file, true);
    JUiMenuSetEnabled(app.animation, false);
    JUiMenuBarInstall(bar);
    JAddStandardEditMenu(kCutCopyAndPaste);
}

void RegisterApplicationEvents() {
    JSetApplicationHandler(kEventOpenApplication, OpenApplicationEvent, 0);
    JSetApplicationHandler(kEventOpenDocument, OpenDocumentEvent, 0);
    JSetApplicationHandler(kEventPrintDocument, PrintDocumentEvent, 0);
    JSetApplicationHandler(kEventQuitApplication, QuitApplicationEvent, 0);
    DocumentEvents events;
    events.opened = DocumentOpened;
    events.closing = DocumentClosing;
    events.activated = SetActiveDocument;
    SetDocumentEvents(events);
    SetStartupDismissedAction(OpenCommand);
}

bool StartupWindowMayOpen() {
    return !gPreferences.showDepthWarning || DisplayDepthAllowsStartupWindow();
}

bool MenuItemEnabled(const char* text) {
    JUiMenuBar* bar = JUiCurrentMenuBar();
    if (bar == nullptr) {
        return false;
    }
    for (JUiMenu* menu : bar->menus) {
        if (JUiMenuItem* item = JUiMenuFindItem(menu, text)) {
            return item->Enabled() && menu->Enabled();
        }
    }
    return false;
}

void RunApplication() {
    BuildApplicationMenus();
    SetFactoryDefaults();
    SetMainFramePlacement(&kFramePlacement);
    LoadSettings();
    JMainFrameShow();
    JMainFrameAddListener(FrameChanged, 0);
    RegisterFrameRangeSliderKind();
    RegisterApplicationEvents();
    PrepareOutOfMemory();
    const bool mayShowStartup = StartupWindowMayOpen();
    ShowCornerBadge();
    if (mayShowStartup) {
        ShowStartupWindow(true);
    }
    UpdateCloseWindowItem();
    JRunMainLoop();
    JMainFrameRemoveListener(FrameChanged, 0);
    CloseStartupWindow(true);
    SetMainFramePlacement(nullptr);
}
