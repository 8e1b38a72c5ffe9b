// Screenshots of the Preferences dialog and the compatibility chart on the
// headless backend: "--headless DIR" writes DIR/preferences-1.png to
// DIR/preferences-3.png (the three pages) and DIR/compatibility-chart.png
// (the chart beside the dialog). "--scale N" enlarges each picture N times,
// pixel for pixel, for looking at details. The settings file goes to a
// scratch directory, never to the current one.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/shell/compatibility_chart.h"
#include "app/shell/preferences.h"
#include "app/shell/preferences_dialog.h"
#include "framework/core/core_startup.h"
#include "framework/core/strings.h"
#include "framework/platform/draw/headless.h"
#include "framework/platform/draw/png_file.h"
#include "framework/platform/platform.h"
#include "framework/ui/control_drawing.h"
#include "framework/ui/event_loop.h"
#include "framework/ui/framework_startup.h"
#include "framework/ui/main_frame.h"
#include "framework/ui/popup_choices.h"
#include "tests/app/shell/screenshot_desk.h"
#include "tests/framework/ui/settle.h"
#include "tests/tool_options.h"

namespace {

// Steps until the input given so far is handled.
void Settle() {
    SettleEvents(4000);
}

void ClickAt(const JWindow* window, int x, int y) {
    const JPoint point = JClientToFrame(window->platform, JPoint{x, y});
    JHeadlessMovePointer(point.x, point.y);
    JHeadlessClick(point.x, point.y);
    Settle();
}

void ClickControl(const JControl* control) {
    ClickAt(control->owner, control->left + control->width / 2, control->top + control->height / 2);
}

void ChoosePage(int page) {
    ClickControl(PreferencesDialogControl(PreferencesControl::PageSelector));
    int width = 0;
    int height = 0;
    JUiMeasureText("Ag", &width, &height);
    if (JWindow* list = JChoiceListWindow()) {
        ClickAt(list, 10, 1 + page * (height + 1) + height / 2);
    }
}

// The part of the frame that holds the open windows, with a margin around.
JRect ShownArea(const JSurface& frame) {
    constexpr int kMargin = 10;
    JRect area{frame.width, frame.height, 0, 0};
    for (const JWindow* window : {PreferencesDialogWindow(), CompatibilityChartWindow()}) {
        if (window == nullptr) {
            continue;
        }
        const JPoint origin = JClientToFrame(window->platform, JPoint{0, 0});
        area.left = std::min(area.left, origin.x - window->borderLeft - kMargin);
        area.top = std::min(area.top, origin.y - window->borderTop - kMargin);
        area.right = std::max(area.right, origin.x + window->width + window->borderRight + kMargin);
        area.bottom =
            std::max(area.bottom, origin.y + window->height + window->borderBottom + kMargin);
    }
    return JRect{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, frame.width),
                 std::min(area.bottom, frame.height)};
}

// That part of the frame, each pixel repeated `scale` times both ways.
bool WriteShot(const std::string& path, int scale) {
    Settle();
    JComposeFrame();
    const JSurface& frame = JHeadlessFramePixels();
    const JRect area = ShownArea(frame);
    JSurface shot;
    JSurfaceResize(&shot, area.Width() * scale, area.Height() * scale);
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            shot.Row(y)[x] = frame.At(area.left + x / scale, area.top + y / scale);
        }
    }
    const bool written = JWritePng(shot, path.c_str());
    std::printf("%s%s\n", path.c_str(), written ? "" : " (not written)");
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    const char* directory = ToolOption(argc, argv, "--headless");
    if (directory == nullptr) {
        std::fprintf(stderr, "usage: preferences_screenshots --headless DIR [--scale N]\n");
        return 2;
    }
    const char* scaleText = ToolOption(argc, argv, "--scale");
    const int scale = scaleText != nullptr ? std::max(1, std::atoi(scaleText)) : 1;
    ScreenshotDesk desk(800, 500);
    if (!desk.Ready()) {
        return 1;
    }
    JStrFree(gPreferences.userName);
    gPreferences.userName = JStrDup("Ada Lovelace");

    const std::string out = std::string(directory) + "/";
    OpenPreferencesDialog(PreferencesDialogHost{});
    const JWindow* dialog = PreferencesDialogWindow();
    std::printf("dialog %d x %d\n", dialog->width, dialog->height);
    bool ok = WriteShot(out + "preferences-1.png", scale);
    ChoosePage(1);
    ok = WriteShot(out + "preferences-2.png", scale) && ok;
    ChoosePage(2);
    ok = WriteShot(out + "preferences-3.png", scale) && ok;
    ChoosePage(0);
    ClickControl(PreferencesDialogControl(PreferencesControl::Compatibility));
    ok = WriteShot(out + "compatibility-chart.png", scale) && ok;
    const JWindow* chart = CompatibilityChartWindow();
    std::printf("chart %d x %d\n", chart->width, chart->height);

    ClosePreferencesDialog();
    Settle();
    return ok ? 0 : 1;
}
