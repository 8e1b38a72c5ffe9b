// Helpers shared by the corpus suites: finding the corpus files, recording
// alerts, opening files the way the program does, turning the document's
// canvas into colours, and an independent reference decoder (giflib) with a
// compositor of its own that shows an animation the way a browser does.
//
// Colours are compared as RGBA words. "Nothing drawn" (our pixel value 255,
// or a pixel a browser leaves transparent) is the one colour kClear, whatever
// the background colour of the file: browsers show the page through it.
#pragma once

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/codec/document.h"
#include "app/codec/gif_reader.h"
#include "app/codec/output_stream.h"
#include "framework/core/files.h"
#include "framework/core/memory.h"
#include "framework/ui/alerts.h"
#include "tests/corpus_files.h"

namespace corpus {

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------
// Files

inline fs::path CorpusRoot() {
    return fs::path(PINDLE_CORPUS_DIR);
}
inline bool CorpusPresent() {
    return fs::is_directory(CorpusRoot());
}

#define SKIP_WITHOUT_CORPUS()                                                        \
    do {                                                                             \
        if (!corpus::CorpusPresent()) {                                              \
            GTEST_SKIP() << "GIF corpus not found at " PINDLE_CORPUS_DIR             \
                         << "; the corpus suites need the shared corpus beside the " \
                            "repository";                                            \
        }                                                                            \
    } while (false)

// The path below the corpus root, for messages.
inline std::string Shown(const fs::path& path) {
    return fs::relative(path, CorpusRoot()).string();
}

inline std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline bool StartsWith(const std::string& text, const std::string& start) {
    return text.size() >= start.size() && text.compare(0, start.size(), start) == 0;
}
inline bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A scratch directory removed with its contents afterwards.
class ScratchDirectory {
public:
    ScratchDirectory() {
        std::string pattern = (fs::temp_directory_path() / "pindle-corpus-XXXXXX").string();
        if (mkdtemp(pattern.data())) {
            path_ = pattern;
        }
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const fs::path& path() const { return path_; }
    // A fresh copy of `source` in the directory under its own name.
    fs::path Copy(const fs::path& source) const {
        const fs::path target = path_ / source.filename();
        std::error_code ignored;
        fs::remove(target, ignored);
        fs::copy_file(source, target);
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
        return target;
    }

private:
    fs::path path_;
};

// ---------------------------------------------------------------------------
// Alerts

struct Alert {
    AlertKind kind;
    std::string message;
};

inline std::vector<Alert> gAlerts;
inline bool gAnswerFirst = false;

inline bool RecordAsk(AlertKind kind, const char* message, const char*, const char*) {
    gAlerts.push_back({kind, message});
    return gAnswerFirst;
}
inline void RecordTell(AlertKind kind, const char* message, const char*, const char*,
                       AlertCallback callback, void* data) {
    gAlerts.push_back({kind, message});
    if (callback) {
        callback(data, true);
    }
}
inline void QuietBeep() {}
inline constexpr AlertDriver kRecordingAlerts{RecordAsk, RecordTell, QuietBeep};

// Records every alert while it lives; questions get the first button when
// `answerFirst` is set ("Yes" to saving a larger file), else the second.
class AlertRecorder {
public:
    explicit AlertRecorder(bool answerFirst = false) {
        gAlerts.clear();
        gAnswerFirst = answerFirst;
        JSetAlertDriver(&kRecordingAlerts);
    }
    ~AlertRecorder() {
        JSetAlertDriver(nullptr);
        gAlerts.clear();
    }
    AlertRecorder(const AlertRecorder&) = delete;
    AlertRecorder& operator=(const AlertRecorder&) = delete;

    const std::vector<Alert>& alerts() const { return gAlerts; }
    void Clear() { gAlerts.clear(); }
    std::string All() const {
        std::string all;
        for (const Alert& alert : gAlerts) {
            all += "\n  [" + std::to_string(int(alert.kind)) + "] " + alert.message;
        }
        return all;
    }
};

// Temporary strings made while one file is handled die with it.
class TempScope {
public:
    TempScope() { JTempMark(); }
    ~TempScope() { JTempRelease(); }
    TempScope(const TempScope&) = delete;
    TempScope& operator=(const TempScope&) = delete;
};

// ---------------------------------------------------------------------------
// Opening and showing documents

using Document = std::unique_ptr<GifDocument>;

// Opens a file as the Open command does; null when it was refused.
inline Document OpenDocument(const fs::path& path) {
    InitOutput();
    FileSpec* spec = JFileSpecFromPath(path.c_str());
    if (!spec) {
        ADD_FAILURE() << "cannot make a FileSpec for " << path;
        return nullptr;
    }
    JFile* file = JFileOpen(spec, JFileMode::Read);
    if (!file) {
        ADD_FAILURE() << "cannot open " << path;
        JFileSpecFree(spec);
        return nullptr;
    }
    Document document = OpenGifDocument(spec, file);
    JFileClose(file);
    JFileSpecFree(spec);
    return document;
}

using Rgba = std::uint32_t;  // red in the low byte, alpha in the high byte
using Screen = std::vector<Rgba>;
constexpr Rgba kClear = 0;

inline Rgba Opaque(int red, int green, int blue) {
    return Rgba(red) | Rgba(green) << 8 | Rgba(blue) << 16 | 0xFF000000u;
}

// The screen as shown, as colours: background (nothing drawn) is kClear.
inline Screen CanvasColours(const GifDocument& document) {
    const PixelMap shown = WholeScreen(document);
    Screen screen(std::size_t(shown.width) * shown.height);
    for (std::size_t i = 0; i < screen.size(); ++i) {
        const Pixel value = shown.pixels[i];
        if (value == kBackgroundPixel) {
            screen[i] = kClear;
        } else {
            const Rgb& colour = document.colours[value];
            screen[i] = Opaque(colour.red, colour.green, colour.blue);
        }
    }
    return screen;
}

// The screen while frame `index` is displayed, as the document shows it.
inline Screen DocumentScreen(GifDocument& document, int index) {
    if (document.currentFrame != index) {
        ShowFrame(document, index);
    }
    return CanvasColours(document);
}

// ---------------------------------------------------------------------------
// Comparing screens

inline std::string ColourText(Rgba colour) {
    if ((colour >> 24) == 0) {
        return "clear";
    }
    char text[32];
    std::snprintf(text, sizeof text, "#%02x%02x%02x/%02x", colour & 0xFF, (colour >> 8) & 0xFF,
                  (colour >> 16) & 0xFF, colour >> 24);
    return text;
}

// Transparent pixels are equal whatever colour they carry.
inline Rgba Normalised(Rgba colour) {
    return (colour >> 24) == 0 ? kClear : colour;
}

// Empty when equal; else the count of differing pixels and the first one.
// Only the rows from `top` to `bottom` and columns from `left` to `right`
// are compared when given (where both screens may have changed).
inline std::string ScreenDifference(const Screen& actual, const Screen& expected, int width,
                                    int left = 0, int top = 0, int right = -1, int bottom = -1) {
    if (actual.size() != expected.size()) {
        return "screen sizes differ: " + std::to_string(actual.size()) + " against " +
               std::to_string(expected.size()) + " pixels";
    }
    if (width <= 0) {
        return std::string();
    }
    if (right < 0) {
        right = width;
        bottom = int(actual.size() / std::size_t(width));
    }
    long differing = 0;
    std::string first;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(width) + std::size_t(x);
            if (Normalised(actual[i]) != Normalised(expected[i]) && differing++ == 0) {
                first = "first at (" + std::to_string(x) + "," + std::to_string(y) +
                        "): " + ColourText(actual[i]) + " instead of " + ColourText(expected[i]);
            }
        }
    }
    return differing == 0 ? std::string() : std::to_string(differing) + " pixels differ, " + first;
}

// ---------------------------------------------------------------------------
// The reference decoder

struct GifFileClose {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

// A file as giflib reads it.
struct ReferenceGif {
    std::unique_ptr<GifFileType, GifFileClose> gif;
    bool complete = false;  // DGifSlurp read it to the trailer without error
    std::string error;
    int loopCount = -1;  // -1 when the file has no looping extension
};

inline void FindLoopCount(const ExtensionBlock* blocks, int count, int& loopCount) {
    for (int i = 0; i + 1 < count; ++i) {
        if (blocks[i].Function == APPLICATION_EXT_FUNC_CODE && blocks[i].ByteCount == 11 &&
            std::memcmp(blocks[i].Bytes, "NETSCAPE2.0", 11) == 0 &&
            blocks[i + 1].Function == CONTINUE_EXT_FUNC_CODE && blocks[i + 1].ByteCount == 3) {
            loopCount = blocks[i + 1].Bytes[1] | blocks[i + 1].Bytes[2] << 8;
        }
    }
}

inline ReferenceGif ReadReference(const fs::path& path) {
    ReferenceGif reference;
    int error = 0;
    reference.gif.reset(DGifOpenFileName(path.c_str(), &error));
    if (!reference.gif) {
        reference.error = GifErrorString(error) ? GifErrorString(error) : "open failed";
        return reference;
    }
    if (DGifSlurp(reference.gif.get()) == GIF_OK) {
        reference.complete = true;
    } else {
        const char* text = GifErrorString(reference.gif->Error);
        reference.error = text ? text : "read failed";
    }
    GifFileType* gif = reference.gif.get();
    for (int i = 0; i < gif->ImageCount; ++i) {
        FindLoopCount(gif->SavedImages[i].ExtensionBlocks, gif->SavedImages[i].ExtensionBlockCount,
                      reference.loopCount);
    }
    FindLoopCount(gif->ExtensionBlocks, gif->ExtensionBlockCount, reference.loopCount);
    return reference;
}

inline GraphicsControlBlock ControlOf(GifFileType* gif, int index) {
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    if (DGifSavedExtensionToGCB(gif, index, &control) != GIF_OK) {
        control = GraphicsControlBlock{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    }
    return control;
}

// A rectangle of screen pixels; right and bottom exclusive.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
    Box Union(const Box& other) const {
        if (Empty()) {
            return other;
        }
        if (other.Empty()) {
            return *this;
        }
        return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                std::max(bottom, other.bottom)};
    }
};

// Shows the frames of a giflib-read file one after another, as browsers do:
// the screen starts clear; disposal 2 clears the frame's rectangle, disposal
// 3 puts back what was under the frame, every other value keeps it; pixels
// of the transparent index are not drawn; a local table wins over the
// global one. Where browsers disagree among themselves it follows our
// reader: the screen grows to hold every image, pixels beyond their table
// show its colour 0, and a file without any table uses a grey ramp.
class ReferenceCompositor {
public:
    // The screen covers the logical screen, every image and at least
    // minWidth x minHeight, so that two files whose images reach past the
    // screen differently are compared over the same area.
    explicit ReferenceCompositor(GifFileType* gif, int minWidth = 0, int minHeight = 0)
        : gif_(gif) {
        const Extent extent = ExtentOf(gif);
        width_ = std::max(extent.width, minWidth);
        height_ = std::max(extent.height, minHeight);
        screen_.assign(std::size_t(width_) * std::size_t(height_), kClear);
    }

    // The area the logical screen and every image of a file cover.
    struct Extent {
        int width;
        int height;
    };
    static Extent ExtentOf(GifFileType* gif) {
        Extent extent{gif->SWidth, gif->SHeight};
        for (int i = 0; i < gif->ImageCount; ++i) {
            const GifImageDesc& image = gif->SavedImages[i].ImageDesc;
            extent.width = std::max(extent.width, image.Left + image.Width);
            extent.height = std::max(extent.height, image.Top + image.Height);
        }
        return extent;
    }

    int width() const { return width_; }
    int height() const { return height_; }
    int frameCount() const { return gif_->ImageCount; }
    int Delay(int index) const { return ControlOf(gif_, index).DelayTime; }

    // The screen while frame `index` is displayed; frames must be asked for
    // in order, from 0.
    const Screen& Next() {
        changed_ = Box{};
        if (shown_ < 0) {
            changed_ = Box{0, 0, width_, height_};
        } else {
            Dispose(shown_);
        }
        ++shown_;
        Draw(shown_);
        return screen_;
    }
    // What the last Next may have changed.
    const Box& changed() const { return changed_; }

private:
    Box Rectangle(int index) const {
        const GifImageDesc& image = gif_->SavedImages[index].ImageDesc;
        return {image.Left, image.Top, std::min(width_, image.Left + image.Width),
                std::min(height_, image.Top + image.Height)};
    }

    void Dispose(int index) {
        const int disposal = ControlOf(gif_, index).DisposalMode;
        const Box box = Rectangle(index);
        if (box.Empty()) {
            return;
        }
        if (disposal == DISPOSE_BACKGROUND) {
            for (int y = box.top; y < box.bottom; ++y) {
                std::fill(Row(y) + box.left, Row(y) + box.right, kClear);
            }
            changed_ = changed_.Union(box);
        } else if (disposal == DISPOSE_PREVIOUS) {
            const int width = box.right - box.left;
            for (int y = box.top; y < box.bottom; ++y) {
                std::copy_n(underFrame_.begin() + long(y - box.top) * width, width,
                            Row(y) + box.left);
            }
            changed_ = changed_.Union(box);
        }
    }

    void Draw(int index) {
        const SavedImage& saved = gif_->SavedImages[index];
        const GraphicsControlBlock control = ControlOf(gif_, index);
        const Box box = Rectangle(index);
        if (box.Empty()) {
            return;
        }
        if (control.DisposalMode == DISPOSE_PREVIOUS) {
            underFrame_.clear();
            for (int y = box.top; y < box.bottom; ++y) {
                underFrame_.insert(underFrame_.end(), Row(y) + box.left, Row(y) + box.right);
            }
        }
        changed_ = changed_.Union(box);
        const ColorMapObject* map =
            saved.ImageDesc.ColorMap ? saved.ImageDesc.ColorMap : gif_->SColorMap;
        if (!saved.RasterBits) {
            return;
        }
        const int imageWidth = saved.ImageDesc.Width;
        for (int y = box.top; y < box.bottom; ++y) {
            const GifByteType* row = saved.RasterBits + long(y - box.top) * imageWidth;
            Rgba* out = Row(y);
            for (int x = box.left; x < box.right; ++x) {
                int value = row[x - box.left];
                if (value == control.TransparentColor) {
                    continue;
                }
                if (!map) {
                    out[x] = Opaque(value, value, value);
                    continue;
                }
                if (value >= map->ColorCount) {
                    value = 0;
                }
                const GifColorType& entry = map->Colors[value];
                out[x] = Opaque(entry.Red, entry.Green, entry.Blue);
            }
        }
    }

    Rgba* Row(int y) { return screen_.data() + std::size_t(y) * std::size_t(width_); }

    GifFileType* gif_;
    int width_ = 0;
    int height_ = 0;
    int shown_ = -1;
    Screen screen_;
    Screen underFrame_;  // the rectangle of the shown frame as it was before it
    Box changed_;
};

// Browsers show delays of 0 and 1 hundredths as 10.
inline int BrowserDelay(int delay) {
    return delay <= 1 ? 10 : delay;
}

inline bool SameScreen(const Screen& a, const Screen& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](Rgba x, Rgba y) {
               return Normalised(x) == Normalised(y);
           });
}

// An animation as a viewer sees it: runs of frames that show the same
// screen, each with its delays summed, raw and as a browser shows them. A
// file whose frames that change nothing were left out shows the same runs.
class ScreenRuns {
public:
    // Gives the next frame's screen and delay; false after the last.
    using FrameSource = std::function<bool(Screen& screen, int& delay)>;

    explicit ScreenRuns(FrameSource source) : source_(std::move(source)) {}

    // Moves to the next run; false after the last.
    bool Next() {
        if (!pendingValid_ && !Fetch()) {
            return false;
        }
        run_.swap(pending_);
        delay_ = pendingDelay_;
        shownDelay_ = BrowserDelay(pendingDelay_);
        first_ = frame_ - 1;
        frames_ = 1;
        pendingValid_ = false;
        while (Fetch() && SameScreen(pending_, run_)) {
            delay_ += pendingDelay_;
            shownDelay_ += BrowserDelay(pendingDelay_);
            ++frames_;
            pendingValid_ = false;
        }
        return true;
    }

    const Screen& screen() const { return run_; }
    long delay() const { return delay_; }
    long shownDelay() const { return shownDelay_; }
    int firstFrame() const { return first_; }
    int frames() const { return frames_; }

private:
    bool Fetch() {
        pendingValid_ = source_(pending_, pendingDelay_);
        if (pendingValid_) {
            ++frame_;
        }
        return pendingValid_;
    }

    FrameSource source_;
    Screen run_;
    Screen pending_;
    bool pendingValid_ = false;
    int pendingDelay_ = 0;
    long delay_ = 0;
    long shownDelay_ = 0;
    int frame_ = 0;  // frames fetched so far
    int first_ = 0;
    int frames_ = 0;
};

// The frames of a compositor as a source of screen runs.
inline ScreenRuns::FrameSource FramesOf(ReferenceCompositor& compositor) {
    return [&compositor, next = 0](Screen& screen, int& delay) mutable {
        if (next >= compositor.frameCount()) {
            return false;
        }
        delay = compositor.Delay(next++);
        screen = compositor.Next();
        return true;
    };
}

// Empty when both show the same runs; else where they first part.
inline std::string RunsDifference(ScreenRuns& actual, ScreenRuns& expected, int width) {
    for (int run = 0;; ++run) {
        const bool more = actual.Next();
        if (more != expected.Next()) {
            return "run " + std::to_string(run) + (more ? " is one too many" : " is missing");
        }
        if (!more) {
            return std::string();
        }
        const std::string where = "run " + std::to_string(run) + " (frames from " +
                                  std::to_string(actual.firstFrame()) + " against " +
                                  std::to_string(expected.firstFrame()) + "): ";
        const std::string pixels = ScreenDifference(actual.screen(), expected.screen(), width);
        if (!pixels.empty()) {
            return where + pixels;
        }
        if (actual.delay() != expected.delay() || actual.shownDelay() != expected.shownDelay()) {
            return where + "delays " + std::to_string(actual.delay()) + " (shown " +
                   std::to_string(actual.shownDelay()) + ") instead of " +
                   std::to_string(expected.delay()) + " (shown " +
                   std::to_string(expected.shownDelay()) + ")";
        }
    }
}

// Empty when `saved` shows the screens of `original` for the same times
// (frames that change nothing may have gone, their time with the frame
// before) on the same logical screen, over the area both files' images
// reach; else what differs first.
inline std::string AnimationDifference(GifFileType* saved, GifFileType* original) {
    if (saved->SWidth != original->SWidth || saved->SHeight != original->SHeight) {
        return "the logical screen changed";
    }
    const ReferenceCompositor::Extent a = ReferenceCompositor::ExtentOf(saved);
    const ReferenceCompositor::Extent b = ReferenceCompositor::ExtentOf(original);
    const int width = std::max(a.width, b.width);
    const int height = std::max(a.height, b.height);
    ReferenceCompositor now(saved, width, height);
    ReferenceCompositor then(original, width, height);
    ScreenRuns shown(FramesOf(now));
    ScreenRuns expected(FramesOf(then));
    return RunsDifference(shown, expected, width);
}

// The distinct colours that the images of a file draw (transparent pixels
// left out), counted up to `limit`.
inline int DrawnColours(GifFileType* gif, int limit) {
    std::vector<Rgba> seen;
    for (int i = 0; i < gif->ImageCount && int(seen.size()) <= limit; ++i) {
        const SavedImage& saved = gif->SavedImages[i];
        const ColorMapObject* map =
            saved.ImageDesc.ColorMap ? saved.ImageDesc.ColorMap : gif->SColorMap;
        if (!saved.RasterBits || !map) {
            continue;
        }
        const int transparent = ControlOf(gif, i).TransparentColor;
        std::vector<bool> used(256, false);
        const long count = long(saved.ImageDesc.Width) * saved.ImageDesc.Height;
        for (long p = 0; p < count; ++p) {
            used[saved.RasterBits[p]] = true;
        }
        for (int value = 0; value < 256; ++value) {
            if (!used[std::size_t(value)] || value == transparent) {
                continue;
            }
            const GifColorType& entry = map->Colors[value < map->ColorCount ? value : 0];
            const Rgba colour = Opaque(entry.Red, entry.Green, entry.Blue);
            if (std::find(seen.begin(), seen.end(), colour) == seen.end()) {
                seen.push_back(colour);
            }
        }
    }
    return int(seen.size());
}

// ---------------------------------------------------------------------------
// Timing

class Stopwatch {
public:
    double Seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// A file taking longer than this is a hang, not a slow machine.
constexpr double kGrosslySlowSeconds = 10.0;

}  // namespace corpus
