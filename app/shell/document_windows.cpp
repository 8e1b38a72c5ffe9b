#include "app/shell/document_windows.h"

#include <string>

#include "app/optimiser/size_text.h"
#include "framework/ui/control_drawing.h"

namespace {

constexpr int kWidth = 360;
constexpr int kHeight = 90;

bool Activated(JWindow* window, const JHandlerEvent&) {
    DocumentWindowActivated(DocumentOfWindow(window));
    return true;
}

bool Deactivated(JWindow*, const JHandlerEvent&) {
    DocumentWindowActivated(nullptr);
    return true;
}

// The document closes as a whole; the window goes with it.
bool CloseRequested(JWindow* window, const JHandlerEvent&) {
    if (AppDocument* document = DocumentOfWindow(window)) {
        CloseDocument(*document);
    }
    return false;
}

std::string SummaryLine(const GifDocument& gif) {
    char size[32];
    FormatByteCount(gif.fileSize, size, sizeof size);
    return std::to_string(gif.screenWidth) + " x " + std::to_string(gif.screenHeight) +
           " pixels, " + std::to_string(gif.frameCount) +
           (gif.frameCount == 1 ? " frame, " : " frames, ") + size + " bytes";
}

bool Draw(JWindow* window, const JHandlerEvent&) {
    const AppDocument* document = DocumentOfWindow(window);
    if (document == nullptr) {
        return true;
    }
    JUiDrawText(12, 14, DocumentTitle(*document).c_str(), JUiBlack(), true);
    JUiDrawText(12, 38, SummaryLine(*document->gif).c_str(), JUiBlack(), true);
    if (document->changed) {
        JUiDrawText(12, 62, "Edited since it was opened or saved.", JUiBlack(), true);
    }
    return true;
}

}  // namespace

void OpenDocumentWindows(AppDocument& document) {
    const int stagger = static_cast<int>(OpenDocuments().size() % 8) * 24;
    JWindow* window = JWindowNew(nullptr, DocumentTitle(document).c_str(), 0);
    JWindowSetHandler(window, kSlotDraw, Draw);
    JWindowSetHandler(window, kSlotActivated, Activated);
    JWindowSetHandler(window, kSlotDeactivated, Deactivated);
    JWindowSetHandler(window, kSlotCloseRequest, CloseRequested);
    JWindowResize(window, kWidth, kHeight);
    JWindowMoveTo(window, 20 + stagger, 20 + stagger);
    document.windows.push_back(window);
    JWindowShow(window);
}

void CloseDocumentWindows(AppDocument& document) {
    for (JWindow* window : document.windows) {
        JWindowDestroy(window);
    }
    document.windows.clear();
}

void RefreshDocumentWindows(AppDocument& document) {
    for (JWindow* window : document.windows) {
        JWindowSetTitle(window, DocumentTitle(document).c_str());
        JInvalidateRect(window->platform, nullptr);
    }
}
