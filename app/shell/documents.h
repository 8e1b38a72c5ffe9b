// The documents open in the windowed program: each GIF file read into a
// document, the windows that show it, and whether the user has edited it
// since it was read or last saved. Closing a document that holds edits asks
// first, so that nothing the user did is lost without a word.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/codec/document.h"
#include "framework/ui/windows.h"

struct AppDocument {
    std::unique_ptr<GifDocument> gif;
    bool changed = false;  // set by every edit, cleared by a successful save
    std::vector<JWindow*> windows;
};

// Reads the GIF file at `path` and opens its windows; null after the reader
// has told the user why not.
AppDocument* OpenDocument(const char* path);

// The document a window belongs to, or null.
AppDocument* DocumentOfWindow(const JWindow* window);
const std::vector<std::unique_ptr<AppDocument>>& OpenDocuments();

// Every edit calls this, so that closing asks about the edits.
void MarkDocumentChanged(AppDocument& document);

// Saves the document to its own file (or, with a new path, as that file);
// true when the file was written. A failed or declined save keeps the
// edits and the changed flag.
bool SaveDocument(AppDocument& document);
bool SaveDocumentAs(AppDocument& document, const FileSpec& spec);
// Compresses and reports, writing nothing.
void TestCompression(AppDocument& document);

// Closes the document with all its windows. With edits, asks first whether
// to save them; false when the user cancels (or the save fails), and the
// document stays open.
bool CloseDocument(AppDocument& document);
// Closes every document, asking for each that holds edits; false when the
// user cancels one (the rest stay open).
bool CloseAllDocuments();

// The title its windows show: the file's name.
std::string DocumentTitle(const AppDocument& document);

// Told when a document's windows open or a document goes away, so that the
// menus follow.
struct DocumentEvents {
    void (*opened)(AppDocument& document) = nullptr;
    void (*closing)(AppDocument& document) = nullptr;
    void (*activated)(AppDocument* document) = nullptr;  // null: no document window active
};
void SetDocumentEvents(const DocumentEvents& events);
// The document windows report their activation here (null: deactivated).
void DocumentWindowActivated(AppDocument* document);
