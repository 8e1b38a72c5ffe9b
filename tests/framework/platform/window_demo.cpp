// The platform windows at work: a frame with a menu-bar strip, two
// overlapping document windows that draw shapes and hold a few child
// windows, and a modal window. "--headless DIR" plays a script of clicks and
// drags on the headless backend and writes DIR/NN-step.png after each step;
// otherwise the frame opens in a desktop window until it is closed or
// "--seconds N" have passed.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/core/core_startup.h"
#include "framework/platform/controls/drop_down_list.h"  // controls
#include "framework/platform/controls/edit_field.h"      // controls
#include "framework/platform/controls/list_box.h"        // controls
#include "framework/platform/controls/message_box.h"     // controls
#include "framework/platform/controls/push_button.h"     // controls
#include "framework/platform/controls/static_text.h"     // controls
#include "framework/platform/draw/frame.h"
#include "framework/platform/draw/headless.h"
#include "framework/platform/draw/png_file.h"
#include "framework/platform/system/clock.h"
#include "framework/platform/windows/dialog_keys.h"
#include "framework/platform/windows/menus.h"
#include "framework/platform/windows/messages.h"
#include "framework/platform/windows/window.h"
#include "framework/platform/windows/window_paint.h"
#include "tests/tool_options.h"

namespace {

constexpr int kIdShowModal = 100;

JWnd TheModal = kNoWindow;

// --- menus: the frame's menu bar and its system menu ---
constexpr int kIdShowModalCommand = 1001;
constexpr int kIdExit = 1002;
constexpr int kIdGrid = 1101;
constexpr int kIdNextWindow = 1201;
constexpr int kIdAbout = 1301;
JMenu TheViewMenu = kNoMenu;

void BuildMenuBar(JWnd frame) {
    const JMenu file = JCreatePopupMenu();
    JAppendMenu(file, 0, kIdShowModalCommand, "&Show modal window...\tCtrl+M");
    JAppendMenu(file, kMenuSeparator, 0, nullptr);
    JAppendMenu(file, 0, kIdExit, "E&xit");
    TheViewMenu = JCreatePopupMenu();
    JAppendMenu(TheViewMenu, kMenuChecked, kIdGrid, "&Grid");
    JAppendMenu(TheViewMenu, kMenuGreyed, 0, "&Rulers");
    const JMenu window = JCreatePopupMenu();
    JAppendMenu(window, 0, kIdNextWindow, "&Next\tCtrl+F6");
    const JMenu bar = JCreateMenu();
    JAppendSubMenu(bar, 0, file, "&File");
    JAppendSubMenu(bar, 0, TheViewMenu, "&View");
    JAppendSubMenu(bar, 0, window, "&Window");
    JSetMenu(frame, bar);
    const JMenu system = JGetSystemMenu(frame, false);
    JAppendMenu(system, kMenuSeparator, 0, nullptr);
    JAppendMenu(system, 0, kIdAbout, "&About the window demo...");
}

void MenuCommand(int command) {
    switch (command) {
        case kIdShowModalCommand:
        case kIdAbout:
            JShowWindow(TheModal);
            break;
        case kIdExit:
            JPostQuitMessage(0);
            break;
        case kIdGrid:
            JCheckMenuItem(TheViewMenu, 0, (JMenuItemFlags(TheViewMenu, 0) & kMenuChecked) == 0);
            break;
        case kIdNextWindow:
            JPostMessage(JMakeMessage(JActiveWindow(), JMsg::SysCommand, kScNextWindow));
            break;
        default:
            break;
    }
}
// --- end of menus ---

void PaintDocument(JWnd window) {
    const JRect client = JWindowClientRect(window);
    const bool second = JWindowId(window) == 2;
    JSetForeColour(JColourFromRgb(second ? 0x2060C0 : 0xC04020));
    JPaintRoundRect(JRect{10, 10, client.right / 2, client.bottom / 2}, 12, 12);
    JSetForeColour(JColourFromRgb(second ? 0xE0A000 : 0x20A060));
    JPaintPie(JRect{client.right / 3, client.bottom / 3, client.right - 10, client.bottom - 10}, 0,
              5);
    JSetForeColour(kColourBlack);
    JSetFontStyle(0);
    JSetFontSize(13);
    JDrawText(12, client.bottom - 8, JWindowTitle(window));
}

// Child windows stand in for controls: a framed box with a label.
void PaintBox(JWnd window) {
    const JRect client = JWindowClientRect(window);
    const bool focused = JFocusWindow() == window;
    JSetForeColour(JSystemColour(JSysColour::Face));
    JFillRect(0, 0, client.right, client.bottom);
    JSetForeColour(JSystemColour(focused ? JSysColour::Highlight : JSysColour::WindowFrame));
    JFrameRect(0, 0, client.right, client.bottom);
    JSetForeColour(kColourBlack);
    JSetFontStyle(0);
    JSetFontSize(13);
    JDrawText(6, client.bottom - 6, JWindowTitle(window));
}

JResult DemoProc(JWnd window, const JMessage& message) {
    switch (message.type) {
        case JMsg::Paint: {
            JPaintInfo paint;
            JBeginPaint(window, &paint);
            if ((JWindowStyle(window) & kWsChild) != 0) {
                PaintBox(window);
            } else if (window != JFrameWindow() && window != TheModal) {
                PaintDocument(window);
            } else if (window == TheModal) {
                JSetForeColour(kColourBlack);
                JDrawText(12, 24, "A modal window: the others wait.");
            }
            JEndPaint(window, paint);
            return 0;
        }
        case JMsg::SetFocus:
        case JMsg::KillFocus:
            JInvalidateRect(window, nullptr);
            return 0;
        case JMsg::MouseDown:
            if ((JWindowStyle(window) & kWsChild) != 0) {
                JSetFocus(window);
                if (JWindowId(window) == kIdShowModal) {
                    JShowWindow(TheModal);
                }
            }
            return 0;
        case JMsg::Command:
            if (window == JFrameWindow()) {
                MenuCommand(message.code);  // menus
            }
            if (window == TheModal) {
                JHideWindow(TheModal);
            }
            return 0;
        case JMsg::GetDialogCode:
            return JWindowId(window) == kIdOk ? kDlgButton | kDlgDefaultButton : 0;
        default:
            return JDefWindowProc(window, message);
    }
}

JWnd MakeWindow(const char* title, std::uint32_t style, JRect bounds, JWnd parent, int id) {
    JWindowSpec spec;
    spec.className = (style & kWsFrame) != 0 ? "JMainWindow" : "JChildWindow";
    spec.title = title;
    spec.style = style;
    spec.bounds = bounds;
    spec.parent = parent;
    spec.id = id;
    return JCreateWindow(spec);
}

void AddBoxes(JWnd document) {
    JShowWindow(MakeWindow("Button", kWsChild | kWsTabStop, JRect{150, 20, 240, 44}, document,
                           kIdShowModal));
    JShowWindow(MakeWindow("Field", kWsChild | kWsTabStop, JRect{150, 54, 240, 78}, document, 20));
}

// --- controls: native-style controls in the documents, a message box ---
void AddControls(JWnd document) {
    JControlSpec spec;
    spec.parent = document;
    spec.bounds = JRect{12, 96, 140, 112};
    spec.text = "Name:";
    JCreateStaticText(spec);
    spec.bounds = JRect{12, 114, 140, 138};
    spec.text = "typed text";
    spec.id = 30;
    JCreateEditField(spec);
    spec.bounds = JRect{150, 90, 262, 114};
    spec.text = "";
    spec.id = 31;
    const JWnd choice = JCreateDropDownList(spec);
    for (const char* item : {"GIF files", "All files"}) {
        JDropDownAddItem(choice, item);
    }
    JDropDownSetSelection(choice, 0);
    spec.bounds = JRect{150, 120, 262, 180};
    spec.id = 32;
    const JWnd list = JCreateListBox(spec);
    for (const char* item : {"[..]", "[images]", "one.gif", "two.gif", "three.gif", "four.gif"}) {
        JListBoxAddItem(list, item);
    }
    spec.bounds = JRect{12, 150, 100, 174};
    spec.text = "Press";
    spec.id = 33;
    JCreatePushButton(spec);
}

std::string TheShotDirectory;
int TheShotNumber = 0;

// The message box's loop calls this when it waits: shoot it, then answer.
void ShootAndAnswer(JWnd /*box*/) {
    char name[64];
    std::snprintf(name, sizeof name, "/%02d-message-box.png", TheShotNumber++);
    JComposeFrame();
    JWritePng(JHeadlessFramePixels(), (TheShotDirectory + name).c_str());
    std::printf("%s%s\n", TheShotDirectory.c_str(), name);
    JSetModalIdleHook(nullptr);
    JHeadlessPressKey(kKeyReturn);
}

void ShowMessageBoxStep(const std::string& directory, int number) {
    TheShotDirectory = directory;
    TheShotNumber = number;
    JSetModalIdleHook(ShootAndAnswer);
    JMessageBoxSpec box;
    box.title = "File Exists";
    box.text = "A file with the name 'two.gif' already exists. Overwrite this file?";
    box.icon = JMessageIcon::Question;
    box.buttons = JMessageButtons::YesNo;
    box.defaultButton = 1;
    std::printf("message box answered %s\n", JMessageBox(box) == kIdNo ? "No" : "Yes");
}
// --- end of controls ---

bool BuildWindows() {
    JWindowClass main;
    main.name = "JMainWindow";
    main.proc = DemoProc;
    main.background = JColourFromRgb(0x6E7F91);
    JWindowClass child;
    child.name = "JChildWindow";
    child.proc = DemoProc;
    if (!JRegisterClass(main) || !JRegisterClass(child)) {
        return false;
    }
    const JWnd frame =
        MakeWindow("Window demo", kWsFrame | kWsSizing, JRect{40, 40, 680, 520}, kNoWindow, 0);
    if (frame == kNoWindow) {
        return false;
    }
    BuildMenuBar(frame);  // menus
    JShowWindow(frame);
    const JWnd first =
        MakeWindow("First document", kWsDocument | kWsSizing | kWsMaximiseBox | kWsDialog,
                   JRect{20, 20, 300, 240}, kNoWindow, 1);
    AddBoxes(first);
    AddControls(first);  // controls
    const JWnd second =
        MakeWindow("Second document", kWsDocument | kWsSizing | kWsMaximiseBox | kWsDialog,
                   JRect{180, 120, 480, 360}, kNoWindow, 2);
    AddBoxes(second);
    AddControls(second);  // controls
    TheModal =
        MakeWindow("Question", kWsModalWindow | kWsDialog, JRect{200, 150, 460, 260}, kNoWindow, 3);
    JShowWindow(MakeWindow("OK", kWsChild | kWsTabStop, JRect{170, 50, 240, 74}, TheModal, kIdOk));
    JShowWindow(first);
    JShowWindow(second);
    return true;
}

// One turn of the loop: a dialog's keys first, then the usual dispatch.
bool PumpOnce() {
    JMessage message;
    while (JPeekMessage(&message)) {
        if (message.type == JMsg::Quit) {
            return false;
        }
        const JWnd active = JActiveWindow();
        if ((JWindowStyle(active) & kWsDialog) != 0 && JIsDialogMessage(active, message)) {
            continue;
        }
        JTranslateMessage(message);
        JDispatchMessage(message);
    }
    return true;
}

bool RunHeadless(const std::string& directory) {
    struct Step {
        const char* name;
        const char* script;
    };
    const Step steps[] = {
        {"start", ""},
        {"first-activated", "click 40 100"},
        {"first-dragged", "drag 150 52 250 132"},
        {"first-resized", "drag 398 338 458 398"},
        {"second-activated", "click 470 200"},
        {"tab-to-button", "key Tab"},
        {"modal-shown", "click 380 195"},
        {"click-blocked", "click 140 300"},
        {"modal-answered", "key Return"},
        // menus
        {"menu-file-open", "click 35 10"},
        {"menu-view-by-moving", "move 80 10"},
        {"menu-grid-unchecked", "click 80 32"},
        {"menu-alt-entered", "key Alt"},
        {"menu-window-by-arrows", "key Right\nkey Right\nkey Down"},
        {"menu-closed", "key Escape\nkey Escape"},
        {"menu-system-menu", "key Alt+Space"},
        {"menu-about-chosen", "key A"},
        {"menu-modal-answered", "key Return"},
    };
    int number = 1;
    for (const Step& step : steps) {
        int badLine = 0;
        if (!JHeadlessRunScript(step.script, &badLine)) {
            std::fprintf(stderr, "bad script line %d in step %s\n", badLine, step.name);
            return false;
        }
        PumpOnce();
        char name[64];
        std::snprintf(name, sizeof name, "/%02d-%s.png", number++, step.name);
        const std::string path = directory + name;
        if (!JWritePng(JHeadlessFramePixels(), path.c_str())) {
            return false;
        }
        std::printf("%s\n", path.c_str());
    }
    // controls
    JSetFocus(JWindowChildWithId(JActiveWindow(), 30));
    JHeadlessTypeText(" and more");
    JHeadlessPressKey(kKeyHome, kModShift);
    PumpOnce();
    ShowMessageBoxStep(directory, number);
    return true;
}

void RunDesktop(std::uint32_t seconds) {
    const std::uint32_t start = JTickCount();
    while (PumpOnce() && JFrameWindow() != kNoWindow) {
        if (seconds != 0 && JTickCount() - start >= seconds * 1000) {
            break;
        }
        JWaitForMessage(50);
    }
}

}  // namespace

int main(int argc, char** argv) {
    JCoreStartup();
    const char* headless = ToolOption(argc, argv, "--headless");
    const char* seconds = ToolOption(argc, argv, "--seconds");
    if (const char* scale = ToolOption(argc, argv, "--scale")) {
        JDesktopSetScale(std::atoi(scale));  // 2 shows the high-density drawing anywhere
    }
    if (!JBackendStart(headless != nullptr ? JBackendChoice::Headless
                                           : JBackendChoice::Automatic)) {
        return 1;
    }
    JDrawingStartup();
    JSelectPenState(JPenStateNew());
    bool ok = BuildWindows();
    std::printf("windows on the %s backend\n", JBackendCurrent().name);
    if (ok && headless != nullptr) {
        ok = RunHeadless(headless);
    } else if (ok) {
        RunDesktop(seconds != nullptr ? static_cast<std::uint32_t>(std::atoi(seconds)) : 0);
    }
    JDestroyAllMenus();
    JDestroyAllWindows();
    JDrawingShutdown();
    JTextShutdown();
    JBackendStop();
    return ok ? 0 : 1;
}
