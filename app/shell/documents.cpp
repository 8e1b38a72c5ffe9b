#include "app/shell/documents.h"

#include <algorithm>

#include "app/codec/gif_file.h"
#include "app/optimiser/compress.h"
#include "app/shell/document_windows.h"
#include "app/shell/preferences.h"
#include "framework/core/format.h"
#include "framework/core/resources.h"
#include "framework/core/strings.h"
#include "framework/ui/alert_windows.h"
#include "framework/ui/edit_fields.h"
#include "framework/ui/file_lists.h"

namespace {

constexpr std::uint16_t kTextSaveChanges = 1390;  // its three buttons follow

std::vector<std::unique_ptr<AppDocument>>& Documents() {
    static std::vector<std::unique_ptr<AppDocument>> documents;
    return documents;
}

DocumentEvents& Events() {
    static DocumentEvents events;
    return events;
}

void Forget(AppDocument& document) {
    if (Events().closing != nullptr) {
        Events().closing(document);
    }
    CloseDocumentWindows(document);
    auto& documents = Documents();
    documents.erase(
        std::remove_if(documents.begin(), documents.end(),
                       [&document](const auto& open) { return open.get() == &document; }),
        documents.end());
}

// Save, Don't Save or Cancel for a document with edits.
enum class Unsaved { Save, Discard, Cancel };

Unsaved AskAboutEdits(const AppDocument& document) {
    const std::string title = DocumentTitle(document);
    const std::string message = JFormatString(JResourceText(kTextSaveChanges), title.c_str());
    const int chosen = JAlertChoose(
        nullptr, AlertKind::Caution, message.c_str(), JResourceText(kTextSaveChanges + 1),
        JResourceText(kTextSaveChanges + 2), JResourceText(kTextSaveChanges + 3));
    return chosen == 0 ? Unsaved::Save : chosen == 1 ? Unsaved::Discard : Unsaved::Cancel;
}

}  // namespace

AppDocument* OpenDocument(const char* path) {
    std::unique_ptr<GifDocument> gif = OpenGifFile(path, KeyframeUse::Build);
    if (gif == nullptr) {
        return nullptr;
    }
    auto document = std::make_unique<AppDocument>();
    document->gif = std::move(gif);
    AppDocument* opened = document.get();
    Documents().push_back(std::move(document));
    OpenDocumentWindows(*opened);
    if (Events().opened != nullptr) {
        Events().opened(*opened);
    }
    return opened;
}

AppDocument* DocumentOfWindow(const JWindow* window) {
    for (const auto& document : Documents()) {
        const auto& windows = document->windows;
        if (std::find(windows.begin(), windows.end(), window) != windows.end()) {
            return document.get();
        }
    }
    return nullptr;
}

const std::vector<std::unique_ptr<AppDocument>>& OpenDocuments() {
    return Documents();
}

void MarkDocumentChanged(AppDocument& document) {
    document.changed = true;
}

bool SaveDocument(AppDocument& document) {
    JEditFieldCommit();  // a value still being typed counts
    GifDocument& gif = *document.gif;
    if (!CompressDocument(gif, gif.fileSpec.get(), true, CompressionOptionsFromPreferences())) {
        return false;
    }
    document.changed = false;
    RefreshDocumentWindows(document);
    return true;
}

bool SaveDocumentAs(AppDocument& document, const FileSpec& spec) {
    JEditFieldCommit();
    GifDocument& gif = *document.gif;
    // The document takes the new name only once its file is written, so a
    // failed save leaves it naming the file it came from.
    if (!CompressDocument(gif, &spec, true, CompressionOptionsFromPreferences())) {
        return false;
    }
    gif.fileSpec.reset(JFileSpecCopy(&spec));
    document.changed = false;
    RefreshDocumentWindows(document);
    return true;
}

void TestCompression(AppDocument& document) {
    JEditFieldCommit();
    CompressDocument(*document.gif, document.gif->fileSpec.get(), false,
                     CompressionOptionsFromPreferences());
}

bool CloseDocument(AppDocument& document) {
    JEditFieldCommit();  // an edit still being typed is an edit to ask about
    if (document.changed) {
        switch (AskAboutEdits(document)) {
            case Unsaved::Cancel:
                return false;
            case Unsaved::Save:
                if (!SaveDocument(document)) {
                    return false;
                }
                break;
            case Unsaved::Discard:
                break;
        }
    }
    Forget(document);
    return true;
}

bool CloseAllDocuments() {
    while (!Documents().empty()) {
        if (!CloseDocument(*Documents().back())) {
            return false;
        }
    }
    return true;
}

std::string DocumentTitle(const AppDocument& document) {
    const FileSpec* spec = document.gif->fileSpec.get();
    if (spec == nullptr) {
        return {};
    }
    char* name = JFileSpecFileNameDup(spec);
    std::string title = JShownFileName(name != nullptr ? name : "");
    JStrFree(name);
    return title;
}

void SetDocumentEvents(const DocumentEvents& events) {
    Events() = events;
}

void DocumentWindowActivated(AppDocument* document) {
    if (Events().activated != nullptr) {
        Events().activated(document);
    }
}
