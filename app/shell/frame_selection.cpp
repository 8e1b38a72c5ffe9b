#include "app/shell/frame_selection.h"

bool SelectFrame(GifDocument& document, std::int32_t index, FrameSource source,
                 const FrameSelectionHooks& hooks) {
    if (document.frames.empty()) {
        document.currentFrame = 0;
        return false;
    }
    if (index == document.currentFrame || FrameAt(document, index) == nullptr) {
        return false;
    }
    // A canvas rebuilt from nothing may differ from what the preview shows
    // anywhere, not only where the target frame lies.
    const bool wasKnown = CurrentFrame(document) != nullptr;
    FrameRect changed = ShowFrame(document, index);
    if (!wasKnown) {
        changed = WholeScreenRect(document);
    }
    if (hooks.showFrameDetails) {
        hooks.showFrameDetails(index, source);
    }
    if (hooks.showScreenChange && !RectIsEmpty(changed)) {
        hooks.showScreenChange(changed);
    }
    return true;
}
