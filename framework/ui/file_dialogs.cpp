#include "framework/ui/file_dialogs.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

#include "framework/core/format.h"
#include "framework/core/resources.h"
#include "framework/core/strings.h"
#include "framework/ui/dialog_templates.h"
#include "framework/ui/file_lists.h"
#include "framework/ui/file_name_rules.h"

namespace {

constexpr const char* kFileDialogClass = "JFileDialog";
constexpr int kLongestName = 254;
constexpr std::uint16_t kOpenTypeRows = 18;  // rows 0 to 17 when none are given

// Message captions; each message's text follows its caption.
constexpr std::uint16_t kMessageFileExists = 7;
constexpr std::uint16_t kMessageBadName = 9;
constexpr std::uint16_t kMessageMissingFile = 11;
constexpr std::uint16_t kMessageCannotCreateDirectory = 13;

struct FileDialog {
    bool save = false;
    JWnd window = kNoWindow;
    std::string folder;   // ends with "/"
    std::string pattern;  // "*.gif"
    std::vector<std::uint16_t> rows;
    std::vector<std::string> patterns;  // ".gif" for each row
    int selectedType = 0;
    std::vector<std::string> drives;
    JFileListing listing;
    int answer = 0;      // kIdOk or kIdCancel once answered
    std::string chosen;  // the path, on success
};

// The small Create Directory dialog of the Save dialog.
struct CreateDialog {
    JWnd window = kNoWindow;
    int answer = 0;
};

std::unique_ptr<FileDialog>& Current() {
    static std::unique_ptr<FileDialog> dialog;
    return dialog;
}

std::unique_ptr<CreateDialog>& CurrentCreate() {
    static std::unique_ptr<CreateDialog> dialog;
    return dialog;
}

std::string& LastFolder() {
    static std::string folder;
    return folder;
}

JWnd Item(JWnd dialog, int id) {
    return JWindowChildWithId(dialog, id);
}

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}

bool IsFolder(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool Exists(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0;
}

std::string StartFolder(const char* directory) {
    if (directory != nullptr && directory[0] != '\0' && IsFolder(directory)) {
        return WithSlash(directory);
    }
    if (!LastFolder().empty() && IsFolder(LastFolder())) {
        return LastFolder();
    }
    char* current = JCurrentDirectory();
    std::string folder = current != nullptr ? current : "";
    JStrFree(current);
    if (folder.empty()) {
        folder = JHomeFolder();
    }
    return folder.empty() ? "/" : folder;
}

// --- messages ---

std::string FormatResource(std::uint16_t id, const std::vector<std::string>& arguments) {
    std::vector<JFormatArg> args;
    for (const std::string& argument : arguments) {
        args.emplace_back(argument.c_str());
    }
    args.emplace_back();
    char* text = JFormatList(JResourceText(id), args.data(), arguments.size());
    std::string formatted = text != nullptr ? text : "";
    JStrFree(text);
    return formatted;
}

// The message whose caption is `caption` and text the string after it.
int ShowMessage(std::uint16_t caption, const std::vector<std::string>& arguments,
                JMessageIcon icon = JMessageIcon::Stop,
                JMessageButtons buttons = JMessageButtons::Ok, int defaultButton = 0) {
    const std::string title = JResourceText(caption);
    const std::string text = FormatResource(static_cast<std::uint16_t>(caption + 1), arguments);
    JMessageBoxSpec spec;
    spec.title = title.c_str();
    spec.text = text.c_str();
    spec.icon = icon;
    spec.buttons = buttons;
    spec.defaultButton = defaultButton;
    return JMessageBox(spec);
}

// --- the name field and the lists ---

void SetName(FileDialog& dialog, const std::string& name) {
    const JWnd field = Item(dialog.window, kFileDialogName);
    JEditSetText(field, name.c_str());
    JEditSelectAll(field);
    JEnableWindow(Item(dialog.window, kIdOk), !name.empty());
}

// The folder as it fits its line: the start gives way to "..." when too long.
std::string FittedFolder(const std::string& folder, int width) {
    std::string shown = JShownFileName(folder);
    if (JControlMeasure(shown).width <= width) {
        return shown;
    }
    while (shown.size() > 1 && JControlMeasure("..." + shown).width > width) {
        shown.erase(0, 1);
        while (!shown.empty() && (static_cast<unsigned char>(shown[0]) & 0xC0) == 0x80) {
            shown.erase(0, 1);  // never cut a character in two
        }
    }
    return "..." + shown;
}

void FillList(JWnd list, const std::vector<std::string>& items) {
    JListBoxClear(list);
    for (const std::string& item : items) {
        JListBoxAddItem(list, item.c_str());
    }
}

void ShowListing(FileDialog& dialog) {
    FillList(Item(dialog.window, kFileDialogDirectories), dialog.listing.shownDirectories);
    FillList(Item(dialog.window, kFileDialogFiles), dialog.listing.shownFiles);
    const JWnd line = Item(dialog.window, kFileDialogDirectory);
    JStaticTextSetText(line, FittedFolder(dialog.folder, JWindowClientRect(line).Width()).c_str());
}

// Lists `folder` with `pattern`; false (and nothing changed) when it cannot
// be read.
bool Enter(FileDialog& dialog, const std::string& folder, const std::string& pattern) {
    JFileListing listing;
    if (!JFillFileListing(folder, pattern, &listing)) {
        return false;
    }
    dialog.folder = folder;
    dialog.pattern = pattern;
    dialog.listing = std::move(listing);
    ShowListing(dialog);
    return true;
}

std::string TypePattern(const FileDialog& dialog) {
    return "*" + dialog.patterns[static_cast<std::size_t>(dialog.selectedType)];
}

// --- the OK button ---

// A pattern, perhaps with a folder before it: lists that folder with it.
void ApplyPattern(FileDialog& dialog, const std::string& typed) {
    const std::size_t slash = typed.rfind('/');
    const std::string pattern = slash == std::string::npos ? typed : typed.substr(slash + 1);
    const std::string folder =
        slash == std::string::npos
            ? dialog.folder
            : WithSlash(JFileDialogPath(dialog.folder, typed.substr(0, slash + 1)));
    if (pattern.empty() || !Enter(dialog, folder, pattern)) {
        JBackendCurrent().beep();
        return;
    }
    SetName(dialog, pattern);
}

void EnterFolder(FileDialog& dialog, const std::string& folder) {
    if (!Enter(dialog, WithSlash(folder), dialog.pattern)) {
        JBackendCurrent().beep();
        return;
    }
    SetName(dialog, dialog.pattern);
}

// Whether saving over an existing file is what the user wants; asking
// touches nothing.
bool MayOverwrite(const std::string& path, const std::string& typed) {
    if (!Exists(path) || access(path.c_str(), W_OK) != 0) {
        return true;  // the save itself reports a file it cannot write
    }
    return ShowMessage(kMessageFileExists, {JShownFileName(typed)}, JMessageIcon::Question,
                       JMessageButtons::YesNo, 1) == kIdYes;
}

void SelectType(FileDialog& dialog, int type) {
    dialog.selectedType = type;
    if (const JWnd types = Item(dialog.window, kFileDialogTypes); types != kNoWindow) {
        JDropDownSetSelection(types, type);
    }
}

void PressOk(FileDialog& dialog, const std::string& typed) {
    if (typed.empty()) {
        return;
    }
    if (JIsFilePattern(typed)) {
        ApplyPattern(dialog, typed);
        return;
    }
    if (IsFolder(JFileDialogPath(dialog.folder, typed))) {
        EnterFolder(dialog, JFileDialogPath(dialog.folder, typed));
        return;
    }
    const JExtensionCheck check = JCheckExtension(typed, dialog.patterns, dialog.selectedType);
    SelectType(dialog, check.selectedType);
    if (check.message != 0) {
        SetName(dialog, check.name);
        ShowMessage(check.message, check.arguments);
        return;
    }
    if (!JFileNameUsable(typed)) {
        ShowMessage(kMessageBadName, {JShownFileName(typed)});
        return;
    }
    const std::string path = JFileDialogPath(dialog.folder, typed);
    if (!dialog.save && !Exists(path)) {
        ShowMessage(kMessageMissingFile, {JShownFileName(typed)});
        return;
    }
    if (dialog.save && !MayOverwrite(path, typed)) {
        return;
    }
    dialog.chosen = path;
    dialog.answer = kIdOk;
}

// --- Create Directory ---

JResult CreateProc(JWnd window, const JMessage& message) {
    CreateDialog* dialog = CurrentCreate().get();
    if (dialog == nullptr || dialog->window != window) {
        return JDefWindowProc(window, message);
    }
    switch (message.type) {
        case JMsg::Command:
            if (message.code == kIdOk || message.code == kIdCancel) {
                dialog->answer = message.code;
            } else if (message.code == kFileDialogName && message.value == kNotifyChange) {
                JEnableWindow(Item(window, kIdOk),
                              !JEditText(Item(window, kFileDialogName)).empty());
            }
            return 0;
        case JMsg::Close:
            dialog->answer = kIdCancel;
            return 0;
        default:
            return JDefWindowProc(window, message);
    }
}

JWnd BuildDialog(const DialogTemplate& layout, const char* className, JWindowProc proc);

// Runs the small dialog until a directory is made or the user cancels.
bool RunCreateDirectory(const std::string& folder) {
    CurrentCreate() = std::make_unique<CreateDialog>();
    CreateDialog& dialog = *CurrentCreate();
    dialog.window = BuildDialog(JCreateDirectoryTemplate(), "JCreateDirectoryDialog", CreateProc);
    bool created = false;
    if (dialog.window != kNoWindow) {
        JEnableWindow(Item(dialog.window, kIdOk), false);
        JShowWindow(dialog.window);
        JSetFocus(Item(dialog.window, kFileDialogName));
        while (JRunModalLoop(dialog.window, &dialog.answer, kIdCancel) == kIdOk) {
            const std::string name = JEditText(Item(dialog.window, kFileDialogName));
            const std::string path = JFileDialogPath(folder, name);
            if (!name.empty() && JCreateDirectory(path.c_str())) {
                created = true;
                break;
            }
            ShowMessage(kMessageCannotCreateDirectory, {JShownFileName(name)});
            dialog.answer = 0;
        }
        JDestroyWindow(dialog.window);
    }
    CurrentCreate().reset();
    return created;
}

// --- the dialog window ---

void OnListCommand(FileDialog& dialog, int id, int notification) {
    const int index = JListBoxSelection(Item(dialog.window, id));
    if (index < 0) {
        return;
    }
    const auto at = static_cast<std::size_t>(index);
    std::string path;
    if (id == kFileDialogDrives && at < dialog.drives.size()) {
        path = dialog.drives[at];
    } else if (id == kFileDialogDirectories && at < dialog.listing.directories.size()) {
        path = dialog.folder + dialog.listing.directories[at] + "/";
    } else if (id == kFileDialogFiles && at < dialog.listing.files.size()) {
        if (notification == kNotifyDoubleClick) {
            PressOk(dialog, dialog.listing.files[at]);
        } else {
            SetName(dialog, dialog.listing.files[at]);
        }
        return;
    } else {
        return;
    }
    if (notification == kNotifyDoubleClick) {
        EnterFolder(dialog, JFileDialogPath(path, ""));
    } else {
        const std::string shown =
            id == kFileDialogDrives ? path : dialog.listing.directories[at] + "/";
        SetName(dialog, shown + dialog.pattern);
    }
}

void OnTypeChosen(FileDialog& dialog) {
    const int type = JDropDownSelection(Item(dialog.window, kFileDialogTypes));
    if (type < 0 || static_cast<std::size_t>(type) >= dialog.patterns.size()) {
        return;
    }
    dialog.selectedType = type;
    if (Enter(dialog, dialog.folder, TypePattern(dialog))) {
        SetName(dialog, dialog.pattern);
    }
}

void OnCommand(FileDialog& dialog, const JMessage& message) {
    switch (message.code) {
        case kIdOk:
            PressOk(dialog, JEditText(Item(dialog.window, kFileDialogName)));
            break;
        case kIdCancel:
            dialog.answer = kIdCancel;
            break;
        case kFileDialogName:
            if (message.value == kNotifyChange) {
                JEnableWindow(Item(dialog.window, kIdOk),
                              !JEditText(Item(dialog.window, kFileDialogName)).empty());
            }
            break;
        case kFileDialogDrives:
        case kFileDialogDirectories:
        case kFileDialogFiles:
            if (message.value == kNotifySelChange || message.value == kNotifyDoubleClick) {
                OnListCommand(dialog, message.code, static_cast<int>(message.value));
            }
            break;
        case kFileDialogTypes:
            if (message.value == kNotifySelChange) {
                OnTypeChosen(dialog);
            }
            break;
        case kFileDialogCreateDirectory:
            if (RunCreateDirectory(dialog.folder)) {
                Enter(dialog, dialog.folder, dialog.pattern);
            }
            JSetFocus(Item(dialog.window, kFileDialogName));
            break;
        default:
            break;
    }
}

JResult DialogProc(JWnd window, const JMessage& message) {
    FileDialog* dialog = Current().get();
    if (dialog == nullptr || dialog->window != window) {
        return JDefWindowProc(window, message);
    }
    switch (message.type) {
        case JMsg::Command:
            OnCommand(*dialog, message);
            return 0;
        case JMsg::Close:
            dialog->answer = kIdCancel;
            return 0;
        default:
            return JDefWindowProc(window, message);
    }
}

JWnd CreateItem(JWnd window, const DialogItem& item, DialogBaseUnits base) {
    JControlSpec spec;
    spec.parent = window;
    spec.bounds = JDialogUnitsToPixels(item.bounds, base);
    spec.id = item.id;
    spec.text = item.text;
    switch (item.kind) {
        case DialogItemKind::Edit:
            return JCreateEditField(spec);
        case DialogItemKind::DropDown:
            return JCreateDropDownList(spec);
        case DialogItemKind::Static:
            return JCreateStaticText(spec);
        case DialogItemKind::List:
            return JCreateListBox(spec);
        case DialogItemKind::DefaultButton:
            spec.style = kBsDefault;
            return JCreatePushButton(spec);
        case DialogItemKind::Button:
            return JCreatePushButton(spec);
        case DialogItemKind::Label:
            spec.style = kSsMnemonic;
            return JCreateStaticText(spec);
    }
    return kNoWindow;
}

// The hidden window of a template, centred over the frame's client area.
JWnd BuildDialog(const DialogTemplate& layout, const char* className, JWindowProc proc) {
    const DialogBaseUnits base = JDialogBaseUnits();
    const JRect client = JDialogUnitsToPixels(JRect{0, 0, layout.width, layout.height}, base);
    const JWnd window =
        JCreateModalDialog(className, proc, layout.caption, kWsSystemMenu | kWsCloseBox,
                           client.Width(), client.Height());
    if (window == kNoWindow) {
        return kNoWindow;
    }
    JSetWindowBackground(window, JSystemColour(JSysColour::Face));
    for (const DialogItem& item : layout.items) {
        CreateItem(window, item, base);
    }
    return window;
}

void FillTypes(FileDialog& dialog, const std::vector<std::uint16_t>& rows) {
    for (std::uint16_t row = 0; rows.empty() && row < kOpenTypeRows; ++row) {
        dialog.rows.push_back(row);
    }
    for (std::uint16_t row : rows) {
        dialog.rows.push_back(row);
    }
    for (std::uint16_t row : dialog.rows) {
        const FileTypeEntry* entry = JFileTypeRow(row);
        dialog.patterns.push_back(entry->pattern != nullptr ? entry->pattern : "");
    }
}

void FillDrives(FileDialog& dialog) {
    dialog.drives = JDriveList();
    std::vector<std::string> shown;
    for (const std::string& drive : dialog.drives) {
        shown.push_back(JShownFileName(drive));
    }
    FillList(Item(dialog.window, kFileDialogDrives), shown);
}

void ShowTypes(FileDialog& dialog) {
    const JWnd types = Item(dialog.window, kFileDialogTypes);
    if (types != kNoWindow) {
        for (std::uint16_t row : dialog.rows) {
            const FileTypeEntry* entry = JFileTypeRow(row);
            JDropDownAddItem(types, entry->description != nullptr ? entry->description : "");
        }
        JDropDownSetSelection(types, dialog.selectedType);
    }
    const JWnd description = Item(dialog.window, kFileDialogTypeText);
    if (description != kNoWindow && !dialog.rows.empty()) {
        const FileTypeEntry* entry = JFileTypeRow(dialog.rows.front());
        JStaticTextSetText(description, entry->description != nullptr ? entry->description : "");
    }
}

FileSpec* RunFileDialog(bool save, const std::vector<std::uint16_t>& rows, const char* directory) {
    if (Current() != nullptr) {
        return nullptr;  // one file dialog at a time
    }
    Current() = std::make_unique<FileDialog>();
    FileDialog& dialog = *Current();
    dialog.save = save;
    FillTypes(dialog, rows);
    dialog.window = BuildDialog(save ? JSaveDialogTemplate() : JOpenDialogTemplate(),
                                kFileDialogClass, DialogProc);
    FileSpec* result = nullptr;
    if (dialog.window != kNoWindow && !dialog.patterns.empty()) {
        JEditSetLimit(Item(dialog.window, kFileDialogName), kLongestName);
        FillDrives(dialog);
        ShowTypes(dialog);
        const std::string start = StartFolder(directory);
        if (!Enter(dialog, start, TypePattern(dialog))) {
            Enter(dialog, "/", TypePattern(dialog));
        }
        SetName(dialog, dialog.pattern);
        JShowWindow(dialog.window);
        JSetFocus(Item(dialog.window, kFileDialogName));
        if (JRunModalLoop(dialog.window, &dialog.answer, kIdCancel) == kIdOk) {
            result = JFileSpecFromPath(dialog.chosen.c_str());
        }
        LastFolder() = dialog.folder;
    }
    if (dialog.window != kNoWindow) {
        JDestroyWindow(dialog.window);
    }
    Current().reset();
    return result;
}

// "." and ".." resolved in an absolute path, as written.
std::string Normalised(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 1;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        const std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string joined;
    for (const std::string& part : parts) {
        joined += "/" + part;
    }
    const bool folder = path.ends_with("/") || path.ends_with("/.") || path.ends_with("/..");
    return joined.empty() ? "/" : (folder ? joined + "/" : joined);
}

}  // namespace

std::string JFileDialogPath(const std::string& folder, const std::string& typed) {
    if (typed.starts_with("/")) {
        return Normalised(typed);
    }
    if (typed == "~" || typed.starts_with("~/")) {
        const std::string home = JHomeFolder();
        if (!home.empty()) {
            return Normalised(home + (typed.size() > 2 ? typed.substr(2) : ""));
        }
    }
    return Normalised(WithSlash(folder) + typed);
}

FileSpec* JOpenFileDialog(const std::vector<std::uint16_t>& typeRows, const char* directory) {
    return RunFileDialog(false, typeRows, directory);
}

FileSpec* JSaveFileDialog(std::uint16_t typeRow, const char* directory) {
    return RunFileDialog(true, {typeRow}, directory);
}

JWnd JCurrentFileDialog() {
    if (CurrentCreate() != nullptr) {
        return CurrentCreate()->window;
    }
    return Current() != nullptr ? Current()->window : kNoWindow;
}

std::string JFileDialogFolder() {
    return Current() != nullptr ? Current()->folder : LastFolder();
}
