#include "app/shell/startup_window.h"

#include <algorithm>
#include <memory>

#include "framework/core/format.h"
#include "framework/core/resources.h"
#include "framework/core/strings.h"
#include "framework/platform/platform.h"
#include "framework/ui/alerts.h"
#include "framework/ui/control_drawing.h"
#include "framework/ui/main_frame.h"
#include "framework/ui/timers.h"
#include "framework/ui/windows.h"

namespace {

constexpr std::uint16_t kBitmapTitle = 512;
constexpr std::uint16_t kBitmapTagline = 513;
constexpr std::uint16_t kBitmapBanner = 514;
constexpr std::uint16_t kBitmapBadge = 515;
constexpr std::uint16_t kBitmapOutlinedBanner = 516;

constexpr std::uint16_t kTextVersion = 1200;
constexpr std::uint16_t kTextDepthWarning = 1194;  // Ok, More Info, the more, Ok follow

constexpr std::uint32_t kBadgeMilliseconds = 2500;
// The sweep steps about 50 times a second: smooth to the eye, and the
// processor stays free while the window waits for the user.
constexpr std::uint32_t kSweepMilliseconds = 20;
constexpr int kLineSweepMinute = 25;
constexpr int kWednesday = 3;  // tm_wday counts Sunday as 0

struct PictureDeleter {
    void operator()(JPicture* picture) const { JReleasePicture(picture); }
};
using Picture = std::unique_ptr<JPicture, PictureDeleter>;

struct StartupWindow {
    bool startupMode = false;
    bool lineSweep = false;
    JWindow* window = nullptr;
    JWindow* version = nullptr;
    Picture title;
    Picture tagline;
    Picture banner;     // the texture swept through the title's letters
    Picture composite;  // what is shown in the title's place
    std::string versionText;
    JTimer* timer = nullptr;
    std::int16_t phase = 0;
};

std::unique_ptr<StartupWindow>& Startup() {
    static std::unique_ptr<StartupWindow> startup;
    return startup;
}

struct CornerBadge {
    JWindow* window = nullptr;
    Picture picture;
    JTimer* timer = nullptr;
};

std::unique_ptr<CornerBadge>& Badge() {
    static std::unique_ptr<CornerBadge> badge;
    return badge;
}

std::tm (*gClock)() = nullptr;
void (*gDismissedAction)() = nullptr;

std::tm Now() {
    if (gClock != nullptr) {
        return gClock();
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

// A bitmap of the program's resources; null when it cannot be made.
Picture LoadBitmap(std::uint16_t id) {
    return Picture(JLoadPicture(id));
}

bool IsInk(std::uint32_t pixel) {
    return (pixel & kRgbMask) != kWhite;
}

std::uint32_t Lighter(std::uint32_t pixel) {
    return JRgb((JRgbRed(pixel) + 255 * 3) / 4, (JRgbGreen(pixel) + 255 * 3) / 4,
                (JRgbBlue(pixel) + 255 * 3) / 4);
}

// --- the sweeps ---

// Whether a banner pixel belongs to its lettering rather than its ground.
bool IsBannerInk(std::uint32_t pixel) {
    const std::uint32_t luminance =
        (JRgbRed(pixel) * 30 + JRgbGreen(pixel) * 59 + JRgbBlue(pixel) * 11) / 100;
    return luminance < 170;
}

// The banner's lettering shows through the title's letters, pale on their
// colour: in the upper half of each letter moving right, in the lower half
// moving left.
void TextureSweep(StartupWindow& startup) {
    const JSurface& title = startup.title->pixels;
    const JSurface& banner = startup.banner->pixels;
    JSurface& out = startup.composite->pixels;
    const int bannerWidth = std::max(1, banner.width);
    const int middle = title.height / 2;
    for (int y = 0; y < title.height; ++y) {
        const int bannerY = std::min(y, banner.height - 1);
        const int shift = y < middle ? startup.phase : -startup.phase;
        for (int x = 0; x < title.width; ++x) {
            const std::uint32_t letter = title.At(x, y);
            out.Row(y)[x] = letter;
            if (!IsInk(letter) || bannerY < 0) {
                continue;
            }
            const int bannerX = ((x - shift) % bannerWidth + bannerWidth) % bannerWidth;
            if (IsBannerInk(banner.At(bannerX, bannerY))) {
                out.Row(y)[x] = Lighter(letter);
            }
        }
    }
    if (++startup.phase >= bannerWidth) {
        startup.phase = 0;
    }
}

// Three bright lines pass over the title, ten pixels apart.
void LineSweep(StartupWindow& startup) {
    const JSurface& title = startup.title->pixels;
    JSurface& out = startup.composite->pixels;
    out.pixels = title.pixels;
    for (int offset : {-10, 0, 10}) {
        const int x = startup.phase + offset;
        if (x < 0 || x >= title.width) {
            continue;
        }
        for (int y = 0; y < title.height; ++y) {
            out.Row(y)[x] = IsInk(title.At(x, y)) ? kWhite : JRgb(0x30, 0x60, 0xC0);
        }
    }
    if (++startup.phase >= title.width + 10) {
        startup.phase = -10;
    }
}

JRect TitlePlace(const StartupWindow& startup) {
    const int left = (startup.window->width - startup.title->width) / 2;
    return JRect{left, 0, left + startup.title->width, startup.title->height};
}

void Sweep(void*) {
    StartupWindow* startup = Startup().get();
    if (startup == nullptr) {
        return;
    }
    startup->timer = nullptr;
    if (startup->lineSweep) {
        LineSweep(*startup);
    } else {
        TextureSweep(*startup);
    }
    const JRect place = TitlePlace(*startup);
    JInvalidateRect(startup->window->platform, &place);
    startup->timer = JTimerNew(Sweep, nullptr, kSweepMilliseconds);
}

// --- the windows ---

void CopyWhole(const JPicture* picture, int left, int top) {
    const JRect source{0, 0, picture->width, picture->height};
    JCopyPicture(&picture->port, source,
                 JRect{left, top, left + picture->width, top + picture->height}, kCopySource);
}

bool DrawStartup(JWindow* window, const JHandlerEvent&) {
    const StartupWindow* startup = Startup().get();
    if (startup == nullptr || window != startup->window) {
        return true;
    }
    const JRect title = TitlePlace(*startup);
    CopyWhole(startup->composite.get(), title.left, title.top);
    CopyWhole(startup->tagline.get(), (window->width - startup->tagline->width) / 2,
              startup->title->height + 4);
    return true;
}

bool DrawVersion(JWindow* window, const JHandlerEvent&) {
    const StartupWindow* startup = Startup().get();
    if (startup != nullptr) {
        JSetFontStyle(0);  // as it was measured
        JUiDrawText(8, 4, startup->versionText.c_str(), JUiBlack(), true);
    }
    (void)window;
    return true;
}

bool Dismiss(JWindow*, const JHandlerEvent&) {
    CloseStartupWindow(false);
    return true;
}

void RunDismissedAction(void*) {
    if (gDismissedAction != nullptr) {
        gDismissedAction();
    }
}

// Close Window closes it as a click would, asking for a file at start-up.
bool CloseRequested(JWindow*, const JHandlerEvent&) {
    CloseStartupWindow(false);
    return false;
}

JWindow* NewPlainWindow(JWindowHandler draw) {
    JWindow* window = JWindowNew(nullptr, "", kWindowThinPopup);
    JWindowSetBackground(window, JColour{0xFFFF, 0xFFFF, 0xFFFF});
    JWindowSetHandler(window, kSlotDraw, draw);
    JWindowSetHandler(window, kSlotMouseDown, Dismiss);
    JWindowSetHandler(window, kSlotKeyDown, Dismiss);
    JWindowSetHandler(window, kSlotCloseRequest, CloseRequested);
    return window;
}

void OpenWindows(StartupWindow& startup) {
    const int width = std::max(startup.title->width, startup.tagline->width) + 16;
    const int height = startup.title->height + startup.tagline->height + 4 + 8;
    startup.window = NewPlainWindow(DrawStartup);
    JWindowResize(startup.window, width, height);
    const JRect desk = JDeskRect();
    const int left = desk.left + (desk.Width() - width) / 2;
    const int top = desk.top + (desk.Height() - height) / 3;
    JWindowMoveTo(startup.window, left, top);

    int textWidth = 0;
    int textHeight = 0;
    JUiMeasureText(startup.versionText.c_str(), &textWidth, &textHeight);
    startup.version = NewPlainWindow(DrawVersion);
    JWindowResize(startup.version, textWidth + 16, textHeight + 8);
    JWindowMoveTo(startup.version, left,
                  top + height + startup.window->borderBottom + 6 + startup.version->borderTop);
    JWindowShow(startup.window);
    JWindowShow(startup.version);
    // A key anywhere dismisses it: it takes the keyboard although a click
    // on it does not activate it.
    JActivateWindow(startup.window->platform);
    JSetFocus(startup.window->platform);
}

// --- the corner badge ---

bool DrawBadge(JWindow* window, const JHandlerEvent&) {
    if (Badge() != nullptr && Badge()->window == window && Badge()->picture != nullptr) {
        CopyWhole(Badge()->picture.get(), 0, 0);
    }
    return true;
}

void RemoveBadge(void*) {
    if (Badge() != nullptr) {
        Badge()->timer = nullptr;
        JWindowDestroy(Badge()->window);
        Badge().reset();
    }
}

}  // namespace

void ShowStartupWindow(bool startupMode) {
    if (Startup() != nullptr) {
        JWindowShow(Startup()->window);
        return;
    }
    auto startup = std::make_unique<StartupWindow>();
    startup->startupMode = startupMode;
    startup->title = LoadBitmap(kBitmapTitle);
    startup->tagline = LoadBitmap(kBitmapTagline);
    const std::tm now = Now();
    startup->lineSweep = now.tm_min == kLineSweepMinute;
    if (!startup->lineSweep) {
        const bool outlined = now.tm_wday == kWednesday;
        startup->banner = LoadBitmap(outlined ? kBitmapOutlinedBanner : kBitmapBanner);
    }
    if (startup->title == nullptr || startup->tagline == nullptr ||
        (!startup->lineSweep && startup->banner == nullptr)) {
        return;
    }
    startup->composite.reset(JNewPicture(startup->title->width, startup->title->height, 32));
    if (startup->composite == nullptr) {
        return;
    }
    startup->composite->pixels.pixels = startup->title->pixels.pixels;
    startup->versionText = JFormatString(JResourceText(kTextVersion), PINDLE_VERSION);
    Startup() = std::move(startup);
    OpenWindows(*Startup());
    Startup()->phase = 0;
    Startup()->timer = JTimerNew(Sweep, nullptr, 0);
}

void CloseStartupWindow(bool byOpenEvent) {
    std::unique_ptr<StartupWindow> startup = std::move(Startup());
    if (startup == nullptr) {
        return;
    }
    JTimerCancel(startup->timer);
    JWindowDestroy(startup->window);
    JWindowDestroy(startup->version);
    if (startup->startupMode && !byOpenEvent) {
        // After this event is handled, so that the windows are gone first.
        JTimerNew(RunDismissedAction, nullptr, 0);
    }
}

bool StartupWindowIsOpen() {
    return Startup() != nullptr;
}

void ShowCornerBadge() {
    if (Badge() != nullptr) {
        return;
    }
    auto badge = std::make_unique<CornerBadge>();
    badge->picture = LoadBitmap(kBitmapBadge);
    if (badge->picture == nullptr) {
        return;
    }
    badge->window = JWindowNew(nullptr, "", kWindowThinPopup);
    JWindowSetHandler(badge->window, kSlotDraw, DrawBadge);
    JWindowResize(badge->window, badge->picture->width, badge->picture->height);
    const JRect desk = JDeskRect();
    JWindow* window = badge->window;
    JWindowMoveTo(window, desk.right - 5 - window->borderRight - window->width,
                  desk.bottom - 5 - window->borderBottom - window->height);
    JWindowShowBehind(window);
    badge->timer = JTimerNew(RemoveBadge, nullptr, kBadgeMilliseconds);
    Badge() = std::move(badge);
}

bool IsCornerBadgeWindow(const JWindow* window) {
    return Badge() != nullptr && Badge()->window == window;
}

bool DisplayDepthAllowsStartupWindow() {
    const int depth = JDisplayDepth();
    if (depth > 8) {
        return true;
    }
    const std::string warning = JFormatString(JResourceText(kTextDepthWarning), 1 << depth, depth);
    const bool ok = JAsk(AlertKind::Caution, warning.c_str(), JResourceText(kTextDepthWarning + 1),
                         JResourceText(kTextDepthWarning + 2));
    if (!ok) {
        JAsk(AlertKind::Information, JResourceText(kTextDepthWarning + 3),
             JResourceText(kTextDepthWarning + 4), nullptr);
    }
    return false;
}

void SetStartupClock(std::tm (*clock)()) {
    gClock = clock;
}

void SetStartupDismissedAction(void (*action)()) {
    gDismissedAction = action;
}
