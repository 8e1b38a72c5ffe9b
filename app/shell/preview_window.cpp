// The preview's content area shows the logical screen at `origin`. Along an
// axis where the window is at least as large as the screen the screen is
// centred and margins of background colour fill the rest; along an axis
// where it is smaller, a scroll bar appears (first set to the middle) and
// the origin follows it.
#include "app/shell/preview_window.h"

#include <algorithm>

#include "app/codec/gif_reader.h"
#include "framework/core/format.h"
#include "framework/core/string_lists.h"
#include "framework/platform/platform.h"
#include "framework/ui/main_frame.h"

namespace {

constexpr int kPreviewClass = 200;
constexpr std::uint16_t kTextPreviewTitle = 165;  // "%s% Preview"
constexpr int kPlaceInset = 5;                    // from the main window's corner
constexpr int kScrollLinePixels = 16;

PreviewWindow& PreviewOf(JWindow* window) {
    return *static_cast<PreviewWindow*>(window->userData);
}

int ScreenWidth(const PreviewWindow& preview) {
    return RectWidth(WholeScreenRect(preview.document));
}

int ScreenHeight(const PreviewWindow& preview) {
    return RectHeight(WholeScreenRect(preview.document));
}

// The screen's area in content coordinates.
JRect ScreenArea(const PreviewWindow& preview) {
    return JRect{preview.origin.x, preview.origin.y, preview.origin.x + ScreenWidth(preview),
                 preview.origin.y + ScreenHeight(preview)};
}

// Shows, places and sets up one scroll bar, or hides it; returns the origin
// along its axis.
int LayOutAxis(PreviewWindow& preview, bool vertical, bool needed, const JRect& bounds,
               int screenSize, int viewSize) {
    JWnd& bar = vertical ? preview.verticalBar : preview.horizontalBar;
    if (!needed) {
        if (bar != kNoWindow) {
            JHideWindow(bar);
        }
        return (viewSize - screenSize) / 2;
    }
    if (bar == kNoWindow) {
        bar = JAttachWindowScrollBar(preview.window->platform, vertical);
        JHideWindow(bar);
    }
    const int most = screenSize - viewSize;
    const bool appearing = !JIsWindowVisible(bar);
    JMoveWindow(bar, bounds);
    JScrollBarSetRange(bar, 0, most);
    JScrollBarSetPage(bar, viewSize);
    if (appearing) {
        JScrollBarSetPosition(bar, most / 2);
        JShowWindow(bar, false);
    }
    return -JScrollBarPosition(bar);
}

void LayOut(PreviewWindow& preview) {
    const int width = preview.window->width;
    const int height = preview.window->height;
    const int screenWidth = ScreenWidth(preview);
    const int screenHeight = ScreenHeight(preview);
    const int bar = JScrollBarWidth();
    bool across = width < screenWidth;
    bool down = height < screenHeight;
    // One bar takes room from the other axis, which may then need a bar too.
    down = down || (across && height - bar < screenHeight);
    across = across || (down && width - bar < screenWidth);
    preview.view = JRect{0, 0, std::max(0, width - (down ? bar : 0)),
                         std::max(0, height - (across ? bar : 0))};
    const JRect& view = preview.view;
    preview.origin.x = LayOutAxis(preview, false, across, JRect{0, view.bottom, view.right, height},
                                  screenWidth, view.Width());
    preview.origin.y = LayOutAxis(preview, true, down, JRect{view.right, 0, width, view.bottom},
                                  screenHeight, view.Height());
}

// The parts of the view outside the screen.
void FillMargins(const PreviewWindow& preview) {
    const JRect& view = preview.view;
    const JRect screen = JRectIntersect(ScreenArea(preview), view);
    const JColour background = JColourFromRgb(ShownColour(preview.document.backgroundColour));
    if (screen.Empty()) {
        JFillArea(view, background);
        return;
    }
    const JRect margins[] = {
        {view.left, view.top, view.right, screen.top},
        {view.left, screen.bottom, view.right, view.bottom},
        {view.left, screen.top, screen.left, screen.bottom},
        {screen.right, screen.top, view.right, screen.bottom},
    };
    for (const JRect& margin : margins) {
        if (!margin.Empty()) {
            JFillArea(margin, background);
        }
    }
}

// The box between two scroll bars.
void FillCorner(const PreviewWindow& preview) {
    const JRect corner{preview.view.right, preview.view.bottom, preview.window->width,
                       preview.window->height};
    if (!corner.Empty()) {
        JFillArea(corner, JSysColour::Face);
    }
}

// Into the current port: the part of the rectangle that the view shows.
void RenderVisible(PreviewWindow& preview, const FrameRect& rect) {
    const JRect& view = preview.view;
    const FrameRect seen{view.top - preview.origin.y, view.left - preview.origin.x,
                         view.bottom - preview.origin.y, view.right - preview.origin.x};
    FrameRect visible{std::max(rect.top, seen.top), std::max(rect.left, seen.left),
                      std::min(rect.bottom, seen.bottom), std::min(rect.right, seen.right)};
    const FrameRect screen = WholeScreenRect(preview.document);
    visible =
        FrameRect{std::max(visible.top, screen.top), std::max(visible.left, screen.left),
                  std::min(visible.bottom, screen.bottom), std::min(visible.right, screen.right)};
    RenderScreenRect(preview.strips, preview.document, visible, preview.origin);
}

bool Paint(JWindow* window, const JHandlerEvent&) {
    PreviewWindow& preview = PreviewOf(window);
    FillMargins(preview);
    FillCorner(preview);
    RenderVisible(preview, WholeScreenRect(preview.document));
    return true;
}

bool Resized(JWindow* window, const JHandlerEvent&) {
    LayOut(PreviewOf(window));
    JInvalidateRect(window->platform, nullptr);
    return true;
}

bool KeyDown(JWindow* window, const JHandlerEvent& event) {
    return PreviewKey(PreviewOf(window), event.key);
}

bool MayClose(JWindow* window, const JHandlerEvent&) {
    PreviewWindow& preview = PreviewOf(window);
    StopPlayback(preview.playback);
    if (preview.links.closeDocument) {
        // Destroys this record with its window and links: the call runs on
        // a copy, and nothing of the record is used after it.
        const std::function<void()> closeDocument = preview.links.closeDocument;
        closeDocument();
    }
    return true;
}

// Closed by the framework (no document to close it): the record stays, the
// window goes.
bool BeforeDestroy(JWindow* window, const JHandlerEvent&) {
    PreviewWindow& preview = PreviewOf(window);
    StopPlayback(preview.playback);
    preview.window = nullptr;
    return true;
}

bool Activated(JWindow* window, const JHandlerEvent&) {
    if (PreviewWindow& preview = PreviewOf(window); preview.links.activated) {
        preview.links.activated(true);
    }
    return true;
}

bool Deactivated(JWindow* window, const JHandlerEvent&) {
    if (PreviewWindow& preview = PreviewOf(window); preview.links.activated) {
        preview.links.activated(false);
    }
    return true;
}

// The new position along an axis for a scroll part, within 0..most.
int ScrolledTo(int position, int part, int amount, int page, int most) {
    switch (part) {
        case kScrollLine:
            position += amount * kScrollLinePixels;
            break;
        case kScrollPage:
            position += amount * std::max(kScrollLinePixels, page - kScrollLinePixels);
            break;
        case kScrollEnd:
            position = amount < 0 ? 0 : most;
            break;
        default:  // the thumb, dragged or let go
            position = amount;
            break;
    }
    return std::clamp(position, 0, std::max(0, most));
}

void Scroll(JWindow* window, const JHandlerEvent& event, bool vertical) {
    PreviewWindow& preview = PreviewOf(window);
    const JWnd bar = vertical ? preview.verticalBar : preview.horizontalBar;
    if (bar == kNoWindow || !JIsWindowVisible(bar)) {
        return;
    }
    const int page = vertical ? preview.view.Height() : preview.view.Width();
    const int screenSize = vertical ? ScreenHeight(preview) : ScreenWidth(preview);
    const int position =
        ScrolledTo(JScrollBarPosition(bar), event.part, event.amount, page, screenSize - page);
    if (position == JScrollBarPosition(bar)) {
        return;
    }
    JScrollBarSetPosition(bar, position);
    (vertical ? preview.origin.y : preview.origin.x) = -position;
    JInvalidateRect(window->platform, &preview.view);
}

bool ScrollAcross(JWindow* window, const JHandlerEvent& event) {
    Scroll(window, event, false);
    return true;
}

bool ScrollDown(JWindow* window, const JHandlerEvent& event) {
    Scroll(window, event, true);
    return true;
}

void SetHandlers(JWindow* window) {
    JWindowSetHandler(window, kSlotDraw, Paint);
    JWindowSetHandler(window, kSlotResized, Resized);
    JWindowSetHandler(window, kSlotKeyDown, KeyDown);
    JWindowSetHandler(window, kSlotCloseRequest, MayClose);
    JWindowSetHandler(window, kSlotBeforeDestroy, BeforeDestroy);
    JWindowSetHandler(window, kSlotActivated, Activated);
    JWindowSetHandler(window, kSlotDeactivated, Deactivated);
    for (int part = 0; part < 4; ++part) {
        JWindowSetHandler(window, kSlotHScrollLine + part, ScrollAcross);
        JWindowSetHandler(window, kSlotVScrollLine + part, ScrollDown);
    }
}

const char* TitleOf(const GifDocument& document) {
    const char* name = document.fileSpec ? DisplayNameTemp(document.fileSpec.get()) : "";
    return JFormatTemp(IJString(kTextPreviewTitle), name);
}

// The content size that shows the whole screen, or as much as fits on the
// desk beside the inset, with room for the scroll bars that then appear.
JPoint FittingSize(const PreviewWindow& preview) {
    const JRect desk = JDeskRect();
    const JWindow& window = *preview.window;
    const int roomAcross = desk.Width() - 2 * kPlaceInset - window.borderLeft - window.borderRight;
    const int roomDown = desk.Height() - 2 * kPlaceInset - window.borderTop - window.borderBottom;
    const int width = ScreenWidth(preview);
    const int height = ScreenHeight(preview);
    const int bar = JScrollBarWidth();
    return JPoint{std::min(roomAcross, width + (height > roomDown ? bar : 0)),
                  std::min(roomDown, height + (width > roomAcross ? bar : 0))};
}

// Windows destroyed at shutdown go without a word to their owners.
bool IsLive(const JWindow* window) {
    for (int i = 0; i < JWindowCount(); ++i) {
        if (JWindowAt(i) == window) {
            return true;
        }
    }
    return false;
}

}  // namespace

PreviewWindow::PreviewWindow(GifDocument& shown, PreviewLinks previewLinks)
    : document(shown),
      links(std::move(previewLinks)),
      playback(shown, [this](std::int32_t index) { SelectPreviewFrame(*this, index); }) {}

PreviewWindow::~PreviewWindow() {
    StopPlayback(playback);
    if (window != nullptr && IsLive(window)) {
        window->userData = nullptr;
        window->handlers = {};
        JWindowDestroy(window);
    }
}

std::unique_ptr<PreviewWindow> OpenPreviewWindow(GifDocument& document, PreviewLinks links) {
    if (document.frames.empty()) {
        return nullptr;
    }
    if (CurrentFrame(document) == nullptr) {
        document.currentFrame = -1;
        ShowFrame(document, 0);
    }
    auto preview = std::make_unique<PreviewWindow>(document, std::move(links));
    JWindowSelectClass(kPreviewClass);
    JWindow* window = JWindowNew(nullptr, TitleOf(document), kWindowSizing);
    preview->window = window;
    window->userData = preview.get();
    SetHandlers(window);
    JWindowMoveTo(window, kPlaceInset + window->borderLeft, kPlaceInset + window->borderTop);
    const JPoint size = FittingSize(*preview);
    JWindowResize(window, size.x, size.y);
    LayOut(*preview);
    JWindowShow(window);
    return preview;
}

void SelectPreviewFrame(PreviewWindow& preview, std::int32_t index, FrameSource source) {
    FrameSelectionHooks hooks;
    if (preview.links.showFrameDetails) {
        hooks.showFrameDetails = [&preview](std::int32_t shown, FrameSource asker) {
            preview.links.showFrameDetails(shown, asker);
        };
    }
    hooks.showScreenChange = [&preview](const FrameRect& changed) {
        RenderPreviewRect(preview, changed);
    };
    SelectFrame(preview.document, index, source, hooks);
}

void RenderPreviewRect(PreviewWindow& preview, const FrameRect& rect) {
    if (preview.window == nullptr || !JWindowIsVisible(preview.window)) {
        return;
    }
    const DrawingState saved = JSaveDrawingState();
    JSelectPort(JWindowPort(preview.window->platform));
    RenderVisible(preview, rect);
    JRestoreDrawingState(saved);
}

void InvalidatePreview(PreviewWindow& preview) {
    if (preview.window != nullptr) {
        JInvalidateRect(preview.window->platform, nullptr);
    }
}

bool PreviewKey(PreviewWindow& preview, const JKeyRecord& key) {
    return PlaybackKey(preview.playback, key);
}
