// The three windows that show a document: the preview, the animation
// controls (what belongs to the whole file) and the frame controls (the
// frame shown, and playing). Closing any one of them closes the document
// (asking first when it holds edits).
#pragma once

#include "app/shell/documents.h"
#include "framework/ui/controls.h"

struct PreviewWindow;

void OpenDocumentWindows(AppDocument& document);
void CloseDocumentWindows(AppDocument& document);
// After a save or an edit: titles, the size line and the pictures.
void RefreshDocumentWindows(AppDocument& document);

// The windows themselves, for the program and its tests; null when the
// document has no such window.
PreviewWindow* DocumentPreview(const AppDocument& document);
JWindow* DocumentAnimationControls(const AppDocument& document);
JWindow* DocumentFrameControls(const AppDocument& document);

enum class DocumentControlId {
    FramesLine,
    LoopChoice,
    LoopCount,
    BackgroundField,
    StartComment,
    EndComment,
    FrameNumber,
    StartTime,
    FrameSlider,
    Duration,
    Interlaced,
    FrameComment,
};
JControl* DocumentControl(const AppDocument& document, DocumentControlId id);
