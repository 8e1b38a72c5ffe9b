#include "framework/ui/dialog_templates.h"

namespace {

constexpr int kDriveList = 103;
constexpr int kDirectoryList = 104;
constexpr int kFileList = 105;

// x, y, width, height as the templates give them.
constexpr JRect Box(int x, int y, int width, int height) {
    return JRect{x, y, x + width, y + height};
}

std::vector<DialogItem> CommonItems(int directoryListHeight) {
    return {
        {0, DialogItemKind::Label, Box(4, 8, 34, 10), "File&name:"},
        {101, DialogItemKind::Edit, Box(39, 6, 155, 12), ""},
        {0, DialogItemKind::Label, Box(4, 27, 34, 10), "Directory:"},
        {120, DialogItemKind::Static, Box(39, 25, 154, 12), ""},
        {0, DialogItemKind::Label, Box(4, 64, 64, 9), "Dri&ves"},
        {kDriveList, DialogItemKind::List, Box(4, 74, 64, 101), ""},
        {0, DialogItemKind::Label, Box(72, 64, 91, 9), "&Directories"},
        {kDirectoryList, DialogItemKind::List, Box(72, 74, 91, directoryListHeight), ""},
        {0, DialogItemKind::Label, Box(167, 64, 103, 9), "&Files"},
        {kFileList, DialogItemKind::List, Box(167, 74, 103, 102), ""},
        {2, DialogItemKind::Button, Box(210, 42, 50, 17), "Cancel"},
    };
}

}  // namespace

const DialogTemplate& JOpenDialogTemplate() {
    static const DialogTemplate open = [] {
        DialogTemplate dialog{"Open File", 273, 179, CommonItems(102)};
        dialog.items.push_back({0, DialogItemKind::Label, Box(4, 43, 34, 10), "File&type:"});
        dialog.items.push_back({102, DialogItemKind::DropDown, Box(39, 41, 106, 13), ""});
        dialog.items.push_back({1, DialogItemKind::DefaultButton, Box(210, 9, 50, 17), "Open"});
        return dialog;
    }();
    return open;
}

const DialogTemplate& JSaveDialogTemplate() {
    static const DialogTemplate save = [] {
        DialogTemplate dialog{"Save File", 273, 179, CommonItems(84)};
        dialog.items.push_back({0, DialogItemKind::Label, Box(4, 43, 34, 10), "File&type:"});
        dialog.items.push_back({107, DialogItemKind::Static, Box(39, 43, 106, 10), ""});
        dialog.items.push_back(
            {106, DialogItemKind::Button, Box(83, 160, 69, 16), "Create Directory"});
        dialog.items.push_back({1, DialogItemKind::DefaultButton, Box(210, 9, 50, 17), "Save"});
        return dialog;
    }();
    return save;
}

const DialogTemplate& JCreateDirectoryTemplate() {
    static const DialogTemplate create{
        "Create Directory",
        207,
        51,
        {{0, DialogItemKind::Label, Box(4, 14, 56, 10), "Directory Name:"},
         {101, DialogItemKind::Edit, Box(61, 12, 77, 15), ""},
         {1, DialogItemKind::DefaultButton, Box(148, 6, 50, 17), "Create"},
         {2, DialogItemKind::Button, Box(148, 28, 50, 17), "Cancel"}}};
    return create;
}

DialogBaseUnits JDialogBaseUnits() {
    // The average width of the letters, as the classic dialogs measure it.
    constexpr const char* kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const int letters = JControlMeasure(kLetters).width;
    return DialogBaseUnits{(letters + 26) / 52, JControlLineHeight()};
}

JRect JDialogUnitsToPixels(const JRect& units, DialogBaseUnits base) {
    const auto x = [base](int value) { return value * base.x / 4; };
    const auto y = [base](int value) { return value * base.y / 8; };
    return JRect{x(units.left), y(units.top), x(units.right), y(units.bottom)};
}
