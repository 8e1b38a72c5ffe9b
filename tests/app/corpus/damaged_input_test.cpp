// Hostile and broken files: every one either opens, with warnings that are
// among the reader's own texts, or is refused with one of the two refusal
// messages. Nothing crashes, nothing hangs, and a document that opens can be
// shown frame by frame and compressed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/optimiser/compress.h"
#include "tests/app/corpus/corpus_support.h"

namespace {

using corpus::Alert;
using corpus::AlertRecorder;
using corpus::EndsWith;
using corpus::StartsWith;
using corpus::fs::path;

std::string Quoted(const std::string& name) {
    return "\"" + name + "\"";
}

std::string NotRecognised(const std::string& name) {
    return Quoted(name) + " is not stored using a recognized format, so it cannot be opened.";
}
std::string CorruptRefusal(const std::string& name) {
    return Quoted(name) + " is a corrupt GIF file that could not be decoded.";
}

// True when `message` is one of the reader's warnings about file `name` of
// `size` bytes; a damage warning must name an offset inside the file.
bool IsReaderWarning(const std::string& message, const std::string& name, std::size_t size) {
    if (message == "Warning! The GIF data in " + Quoted(name) +
                       " ended prematurely. There is some data after the end of the GIF data." ||
        message == Quoted(name) +
                       " appears to be a GIF file, although the standard GIF file terminator is "
                       "missing." ||
        message ==
            "Warning! Some extra image data occuring after the end of a frame was ignored.") {
        return true;
    }
    if (StartsWith(message, "Warning! Application Extension block \"") &&
        EndsWith(message, "\" was ignored.")) {
        return true;
    }
    if (StartsWith(message, "Warning! An extension block of unknown kind (label ") &&
        EndsWith(message, ") was ignored.")) {
        return true;
    }
    const std::string corrupt = Quoted(name) + " appears to be a corrupt GIF file. The first ";
    const std::string tail = " bytes) could be decoded.";
    if (StartsWith(message, corrupt) && EndsWith(message, tail)) {
        const std::size_t open = message.rfind('(');
        if (open == std::string::npos ||
            message.find("% of the file (", corrupt.size()) == std::string::npos) {
            return false;
        }
        const long offset = std::strtol(message.c_str() + open + 1, nullptr, 10);
        return offset >= 0 && std::size_t(offset) < size;
    }
    return false;
}

// What became of one file.
struct Outcome {
    bool opened = false;
    int frames = 0;
    double seconds = 0;
};

Outcome CheckDamagedFile(const path& file) {
    SCOPED_TRACE(corpus::Shown(file));
    corpus::TempScope temporaries;
    AlertRecorder recorder;  // questions are answered "No"
    const std::string name = file.filename().string();
    const std::string before = corpus::ReadBytes(file);
    Outcome outcome;
    corpus::Stopwatch watch;

    corpus::Document document = corpus::OpenDocument(file);
    if (!document) {
        // A refusal is one message and nothing else; the warnings met
        // before it are dropped.
        EXPECT_EQ(recorder.alerts().size(), 1u) << recorder.All();
        if (!recorder.alerts().empty()) {
            const Alert& refusal = recorder.alerts().back();
            EXPECT_EQ(refusal.kind, AlertKind::Stop);
            EXPECT_TRUE(refusal.message == NotRecognised(name) ||
                        refusal.message == CorruptRefusal(name))
                << refusal.message;
        }
        outcome.seconds = watch.Seconds();
        return outcome;
    }

    outcome.opened = true;
    outcome.frames = document->frameCount;
    for (const Alert& warning : recorder.alerts()) {
        EXPECT_EQ(warning.kind, AlertKind::Caution) << warning.message;
        EXPECT_TRUE(IsReaderWarning(warning.message, name, before.size())) << warning.message;
    }
    EXPECT_EQ(std::size_t(document->frameCount), document->frames.size());
    EXPECT_LE(document->colours.size(), kMaxColours);
    for (const std::unique_ptr<GifFrame>& frame : document->frames) {
        EXPECT_TRUE(RectFitsMap(frame->rect, document->canvas));
    }

    // Every frame forwards, then the first and the last again, so that the
    // keyframes and the rebuilding from a starting point are used too.
    for (int i = 0; i < document->frameCount; ++i) {
        ShowFrame(*document, i);
    }
    if (document->frameCount > 1) {
        ShowFrame(*document, 0);
        ShowFrame(*document, document->frameCount - 1);
    }

    recorder.Clear();
    EXPECT_FALSE(
        CompressDocument(*document, document->fileSpec.get(), false, CompressionOptions{}));
    EXPECT_EQ(recorder.alerts().size(), 1u) << "one report expected" << recorder.All();
    for (const Alert& report : recorder.alerts()) {
        EXPECT_EQ(report.kind, AlertKind::Information) << report.message;
        EXPECT_TRUE(StartsWith(report.message, Quoted(name))) << report.message;
    }
    // The compressed frames still show something for every frame.
    for (int i = 0; i < document->frameCount; ++i) {
        ShowFrame(*document, i);
    }
    EXPECT_EQ(corpus::ReadBytes(file), before) << "a test run must leave the file alone";

    outcome.seconds = watch.Seconds();
    EXPECT_LT(outcome.seconds, corpus::kGrosslySlowSeconds) << "opening and compressing hung";
    return outcome;
}

void CheckFolder(const std::string& folder, std::size_t atLeast) {
    const std::vector<path> files = CorpusGifFiles(folder);
    ASSERT_GE(files.size(), atLeast) << "files missing from " << folder;
    int opened = 0;
    double slowest = 0;
    std::string slowestName;
    for (const path& file : files) {
        const Outcome outcome = CheckDamagedFile(file);
        opened += outcome.opened;
        if (outcome.seconds > slowest) {
            slowest = outcome.seconds;
            slowestName = corpus::Shown(file);
        }
    }
    testing::Test::RecordProperty("files", int(files.size()));
    testing::Test::RecordProperty("opened", opened);
    testing::Test::RecordProperty("slowest", slowestName);
    std::printf("%zu files in %s: %d opened, %zu refused; slowest %s in %.2f s\n", files.size(),
                folder.c_str(), opened, files.size() - std::size_t(opened), slowestName.c_str(),
                slowest);
}

TEST(DamagedInput, FuzzedFilesOpenWithWarningsOrAreRefused) {
    SKIP_WITHOUT_CORPUS();
    CheckFolder("damaged/afl", 281);
}

TEST(DamagedInput, HostileFilesOpenWithWarningsOrAreRefused) {
    SKIP_WITHOUT_CORPUS();
    CheckFolder("damaged/misc", 9);
}

}  // namespace
