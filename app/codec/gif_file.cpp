#include "app/codec/gif_file.h"

#include "app/codec/gif_reader.h"
#include "framework/core/format.h"
#include "framework/core/string_lists.h"
#include "framework/ui/alerts.h"

namespace {

// Application texts; each is followed by its button.
constexpr std::uint16_t kTextNotCreated = 336;
constexpr std::uint16_t kTextNotOpened = 338;
constexpr std::uint16_t kTextFolder = 342;
constexpr std::uint16_t kTextNotRegular = 344;
constexpr std::uint16_t kTextReadOnly = 346;
constexpr std::uint16_t kTextMayNotChange = 348;
constexpr std::uint16_t kTextMayNotRead = 360;
constexpr std::uint16_t kTextMissing = 362;
constexpr std::uint16_t kTextDanglingLink = 364;
constexpr std::uint16_t kTextNoCurrentFolder = 366;

std::uint16_t ProblemText(JFileProblem problem, FileAction action) {
    const bool opening = action == FileAction::Open;
    switch (problem) {
        case JFileProblem::Folder:
            return kTextFolder;
        case JFileProblem::NotRegular:
            return kTextNotRegular;
        case JFileProblem::ReadOnly:
            return opening ? kTextNotOpened : kTextReadOnly;
        case JFileProblem::NotAllowed:
            return opening ? kTextMayNotRead : kTextMayNotChange;
        case JFileProblem::Missing:
            return opening ? kTextMissing : kTextNotCreated;
        case JFileProblem::DanglingLink:
            return opening ? kTextMissing : kTextDanglingLink;
        case JFileProblem::NoCurrentFolder:
            return kTextNoCurrentFolder;
        case JFileProblem::None:
        case JFileProblem::Other:
            break;
    }
    return opening ? kTextNotOpened : kTextNotCreated;
}

}  // namespace

void TellFileProblem(JFileProblem problem, FileAction action, const char* name) {
    const std::uint16_t text = ProblemText(problem, action);
    JBeep();
    JTellSimply(JFormatTemp(IJString(text), name), IJString(text + 1));
}

std::unique_ptr<GifDocument> OpenGifFile(const char* path, KeyframeUse keyframes) {
    JFileProblem problem = JFileProblem::None;
    FileSpec* spec = JFileSpecFromPath(path, &problem);
    JFile* file = spec ? JFileOpen(spec, JFileMode::Read, &problem) : nullptr;
    std::unique_ptr<GifDocument> document;
    if (file) {
        document = OpenGifDocument(spec, file, keyframes);
        JFileClose(file);
    } else {
        TellFileProblem(problem, FileAction::Open, path);
    }
    if (spec) {
        JFileSpecFree(spec);
    }
    return document;
}
