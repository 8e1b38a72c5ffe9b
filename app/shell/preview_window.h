// The preview: the window in which a document's animation is seen. It shows
// the canvas (the current frame composited on the logical screen) centred on
// the background colour, or scrolled when the window is smaller than the
// screen, redraws only what changes from frame to frame, and owns the
// document's playback.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "app/codec/document.h"
#include "app/shell/frame_selection.h"
#include "app/shell/playback.h"
#include "app/shell/strip_renderer.h"
#include "framework/ui/windows.h"

// What the preview needs from the document's other windows, filled in by
// whoever builds them; each may be empty.
struct PreviewLinks {
    // The frame controls show the frame now shown (see FrameSelectionHooks).
    std::function<void(std::int32_t index, FrameSource source)> showFrameDetails;
    // The close box was used: the document goes with all its windows, this
    // preview among them (destroying the PreviewWindow from here is safe).
    std::function<void()> closeDocument;
    // The window became active (true) or stopped being active.
    std::function<void(bool active)> activated;
};

// One per document with frames. The window and the playback timer point
// back at the record, so it stays where it was made; destroying it stops
// playback and destroys the window.
struct PreviewWindow {
    PreviewWindow(GifDocument& shown, PreviewLinks links);
    ~PreviewWindow();
    PreviewWindow(const PreviewWindow&) = delete;
    PreviewWindow& operator=(const PreviewWindow&) = delete;

    GifDocument& document;
    PreviewLinks links;
    JWindow* window = nullptr;
    JWnd horizontalBar = kNoWindow;  // made when first needed
    JWnd verticalBar = kNoWindow;
    JRect view;     // the content area less the scroll bars shown
    JPoint origin;  // where the screen's top-left corner lies in the content area
    StripRenderer strips;
    Playback playback;
};

// Builds and shows the preview of a document with at least one frame (null
// without frames), 5 pixels in from the main window's top-left corner and
// sized to show the whole logical screen where it fits. A canvas that shows
// no known frame is brought to frame 0 first.
std::unique_ptr<PreviewWindow> OpenPreviewWindow(GifDocument& document, PreviewLinks links);

// Makes `index` the current frame, tells the frame controls and redraws what
// changed: every frame change of the document's windows comes here.
void SelectPreviewFrame(PreviewWindow& preview, std::int32_t index,
                        FrameSource source = FrameSource::Other);
// Draws a rectangle of the logical screen now, as far as it can be seen.
void RenderPreviewRect(PreviewWindow& preview, const FrameRect& rect);
// The whole window is painted again (after the background colour or the
// canvas changed without a frame change).
void InvalidatePreview(PreviewWindow& preview);
// The playback keys, for the key handlers of all the document's windows;
// true when the key was one of them.
bool PreviewKey(PreviewWindow& preview, const JKeyRecord& key);
