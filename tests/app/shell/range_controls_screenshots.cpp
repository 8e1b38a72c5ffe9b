// Screenshots of the range controls window on the headless backend, open on
// a real animation with part of it chosen: "--headless DIR" writes
// DIR/range-controls.png (fewer choices) and DIR/range-controls-more.png
// (more choices, with limits typed); "--panels yes" adds the other two
// panels. "--gif FILE" names the animation (by
// default a terminal recording of the shared corpus); "--scale N" enlarges
// each picture N times, pixel for pixel. The settings file goes to a
// scratch directory, never to the current one.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/shell/documents.h"
#include "app/shell/preferences.h"
#include "app/shell/range_controls_window.h"
#include "framework/core/core_startup.h"
#include "framework/platform/draw/headless.h"
#include "framework/platform/draw/png_file.h"
#include "framework/platform/platform.h"
#include "framework/ui/control_drawing.h"
#include "framework/ui/edit_fields.h"
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

void ClickControl(const JControl* control) {
    const JPoint point = JClientToFrame(
        control->owner->platform,
        JPoint{control->left + control->width / 2, control->top + control->height / 2});
    JHeadlessMovePointer(point.x, point.y);
    JHeadlessClick(point.x, point.y);
    Settle();
}

void Type(const AppDocument& document, RangeControl which, const char* text) {
    JControl* field = RangeControlsControl(document, which);
    if (field == nullptr) {
        return;
    }
    ClickControl(field);
    JHeadlessPressKey(kKeyEnd);
    for (std::size_t i = std::strlen(JEditFieldText(field)); i > 0; --i) {
        JHeadlessPressKey(kKeyBackspace);
    }
    JHeadlessTypeText(text);
    JHeadlessPressKey(kKeyTab);
    Settle();
}

void ChoosePanel(const AppDocument& document, int panel) {
    ClickControl(RangeControlsControl(document, RangeControl::PanelChoice));
    const JWindow* list = JChoiceListWindow();
    if (list == nullptr) {
        return;
    }
    int width = 0;
    int height = 0;
    JUiMeasureText("Ag", &width, &height);
    const int y = 1 + (panel - JChoiceListFirstShown()) * (height + 1) + height / 2;
    const JPoint point = JClientToFrame(list->platform, JPoint{10, y});
    JHeadlessClick(point.x, point.y);
    Settle();
}

// The range controls window with a margin round it, each pixel repeated
// `scale` times both ways.
bool WriteShot(const JWindow* window, const std::string& path, int scale) {
    constexpr int kMargin = 8;
    Settle();
    JComposeFrame();
    const JSurface& frame = JHeadlessFramePixels();
    const JPoint origin = JClientToFrame(window->platform, JPoint{0, 0});
    const JRect area{
        std::max(origin.x - window->borderLeft - kMargin, 0),
        std::max(origin.y - window->borderTop - kMargin, 0),
        std::min(origin.x + window->width + window->borderRight + kMargin, frame.width),
        std::min(origin.y + window->height + window->borderBottom + kMargin, frame.height)};
    JSurface shot;
    JSurfaceResize(&shot, area.Width() * scale, area.Height() * scale);
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            shot.Row(y)[x] = frame.At(area.left + x / scale, area.top + y / scale);
        }
    }
    const bool written = JWritePng(shot, path.c_str());
    std::printf("%s%s (window %d x %d)\n", path.c_str(), written ? "" : " (not written)",
                window->width, window->height);
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    const char* directory = ToolOption(argc, argv, "--headless");
    if (directory == nullptr) {
        std::fprintf(stderr,
                     "usage: range_controls_screenshots --headless DIR [--gif FILE] [--scale N]\n");
        return 2;
    }
    const char* gifOption = ToolOption(argc, argv, "--gif");
    const std::string gif = gifOption != nullptr
                                ? gifOption
                                : std::string(PINDLE_CORPUS_DIR) + "/real/term-debounce.gif";
    const char* scaleText = ToolOption(argc, argv, "--scale");
    const int scale = scaleText != nullptr ? std::max(1, std::atoi(scaleText)) : 1;

    ScreenshotDesk desk(900, 500);
    if (!desk.Ready()) {
        return 1;
    }

    bool ok = false;
    if (AppDocument* document = OpenDocument(gif.c_str())) {
        ResetRangeControls(*document);
        OpenRangeControls(*document);
        Settle();
        const JWindow* window = RangeControlsWindow(*document);
        if (window != nullptr) {
            // About the middle third of the animation.
            const int count = document->gif->frameCount;
            std::printf("%s: %d frames\n", gif.c_str(), count);
            Type(*document, RangeControl::ToField, std::to_string(count * 2 / 3 + 1).c_str());
            Type(*document, RangeControl::FromField, std::to_string(count / 3 + 1).c_str());
            Type(*document, RangeControl::FactorField, "0.75");
            const std::string out = std::string(directory) + "/";
            ok = WriteShot(window, out + "range-controls.png", scale);
            ClickControl(RangeControlsControl(*document, RangeControl::ChoicesButton));
            Type(*document, RangeControl::MinimumField, "0.05");
            Type(*document, RangeControl::MaximumField, "2");
            ok = WriteShot(window, out + "range-controls-more.png", scale) && ok;
            if (ToolOption(argc, argv, "--panels") != nullptr) {
                ChoosePanel(*document, 1);
                ok = WriteShot(window, out + "range-controls-comments.png", scale) && ok;
                ChoosePanel(*document, 2);
                ok = WriteShot(window, out + "range-controls-deinterlace.png", scale) && ok;
            }
        }
        CloseRangeControls(*document);
        CloseDocument(*document);
    } else {
        std::fprintf(stderr, "could not open %s\n", gif.c_str());
    }

    return ok ? 0 : 1;
}
