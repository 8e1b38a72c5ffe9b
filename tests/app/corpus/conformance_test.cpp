// Two decoder test suites of the corpus: every test's expected screens,
// delays and loop count against what our reader makes of the file, shown
// through ShowFrame and the document's colour table.
//
// Our canvas value 255 (nothing drawn) is compared as a transparent pixel:
// both suites give the screen's background as transparent pixels, as
// browsers show it, and ignore the file's background colour.
//
// Where our reader differs from a suite on purpose, the test is listed in a
// table below with the reason. A listed test must still differ (a stale
// entry fails), and its differences are printed. One listed difference is
// compared in full all the same: the suite shows an image without a delay
// together with the images after it as one frame, where every image is a
// frame of ours; those tests compare our frames with a delay (and the last
// frame) with the suite's frames and must then match.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "tests/app/corpus/corpus_support.h"

namespace {

using corpus::AlertRecorder;
using corpus::Screen;
using corpus::fs::path;

// ---------------------------------------------------------------------------
// Expected data

// One section of a test description: key = value lines.
using Section = std::map<std::string, std::string>;

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return std::string();
    }
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::map<std::string, Section> ReadDescription(const path& file) {
    std::map<std::string, Section> sections;
    std::istringstream in(corpus::ReadBytes(file));
    std::string line, current;
    while (std::getline(in, line)) {
        line = Trimmed(line);
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line.front() == '[' && line.back() == ']') {
            current = line.substr(1, line.size() - 2);
            sections[current];
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) {
            sections[current][Trimmed(line.substr(0, equals))] = Trimmed(line.substr(equals + 1));
        }
    }
    return sections;
}

std::vector<std::string> CommaList(const std::string& text) {
    std::vector<std::string> items;
    std::istringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        if (!Trimmed(item).empty()) {
            items.push_back(Trimmed(item));
        }
    }
    return items;
}

Screen RgbaFile(const path& file) {
    const std::string bytes = corpus::ReadBytes(file);
    Screen screen(bytes.size() / 4);
    for (std::size_t i = 0; i < screen.size(); ++i) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data()) + 4 * i;
        screen[i] = corpus::Rgba(p[0]) | corpus::Rgba(p[1]) << 8 | corpus::Rgba(p[2]) << 16 |
                    corpus::Rgba(p[3]) << 24;
    }
    return screen;
}

// A PNG file as 8-bit RGBA; false when it cannot be read.
bool PngFile(const path& file, Screen& screen, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file.c_str())) {
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> bytes(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    width = int(image.width);
    height = int(image.height);
    screen.resize(bytes.size() / 4);
    for (std::size_t i = 0; i < screen.size(); ++i) {
        const std::uint8_t* p = bytes.data() + 4 * i;
        screen[i] = corpus::Rgba(p[0]) | corpus::Rgba(p[1]) << 8 | corpus::Rgba(p[2]) << 16 |
                    corpus::Rgba(p[3]) << 24;
    }
    return true;
}

// What a test expects.
struct ExpectedAnimation {
    bool noFrames = false;  // a decoder must give no frame (or refuse the file)
    int width = 0;
    int height = 0;
    std::vector<Screen> frames;
    std::vector<int> delays;  // -1 where not given
    int loopCount = -2;       // -1 no looping extension, 0 forever, else the count; -2 not given
};

// ---------------------------------------------------------------------------
// Comparison

// Every difference between what our reader made of `file` and `expected`;
// empty when there is none.
// With `combine`, frames without a delay (except the last) are left out:
// they are shown together with the frames after them.
std::vector<std::string> Differences(const path& file, const ExpectedAnimation& expected,
                                     bool combine) {
    corpus::TempScope temporaries;
    AlertRecorder recorder;
    std::vector<std::string> differences;
    corpus::Document document = corpus::OpenDocument(file);
    if (!document) {
        if (!expected.frames.empty()) {
            differences.push_back("refused:" + recorder.All());
        }
        return differences;
    }
    std::vector<int> shown;
    for (int i = 0; i < document->frameCount; ++i) {
        if (!combine || document->frames[std::size_t(i)]->delay > 0 ||
            i == document->frameCount - 1) {
            shown.push_back(i);
        }
    }
    const int frameCount = int(shown.size());
    if (expected.noFrames) {
        if (frameCount != 0) {
            differences.push_back("gives " + std::to_string(frameCount) +
                                  " frames where no frame is expected");
        }
        return differences;
    }
    if (document->screenWidth != expected.width || document->screenHeight != expected.height) {
        differences.push_back("screen " + std::to_string(document->screenWidth) + "x" +
                              std::to_string(document->screenHeight) + " instead of " +
                              std::to_string(expected.width) + "x" +
                              std::to_string(expected.height));
    }
    if (std::size_t(frameCount) != expected.frames.size()) {
        differences.push_back(std::to_string(frameCount) + " frames instead of " +
                              std::to_string(expected.frames.size()) + recorder.All());
    }
    if (expected.loopCount != -2) {
        const int loopCount = document->loops ? int(document->loopCount) : -1;
        if (loopCount != expected.loopCount) {
            differences.push_back("loop count " + std::to_string(loopCount) + " instead of " +
                                  std::to_string(expected.loopCount));
        }
    }
    const bool sameScreen =
        document->screenWidth == expected.width && document->screenHeight == expected.height;
    for (int i = 0; i < frameCount && std::size_t(i) < expected.frames.size(); ++i) {
        const int ours = shown[std::size_t(i)];
        const std::string frame = "frame " + std::to_string(ours) + ": ";
        const int delay = int(document->frames[std::size_t(ours)]->delay);
        if (expected.delays[std::size_t(i)] >= 0 && delay != expected.delays[std::size_t(i)]) {
            differences.push_back(frame + "delay " + std::to_string(delay) + " instead of " +
                                  std::to_string(expected.delays[std::size_t(i)]));
        }
        if (sameScreen) {
            const std::string difference =
                corpus::ScreenDifference(corpus::DocumentScreen(*document, ours),
                                         expected.frames[std::size_t(i)], expected.width);
            if (!difference.empty()) {
                differences.push_back(frame + difference);
            }
        }
    }
    return differences;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines) {
        all += "\n    " + line;
    }
    return all;
}

enum class Listed {
    Differs,             // must differ
    ImagesShownTogether  // must match once images without a delay are combined
};

struct Intended {
    Listed how;
    const char* reason;
};

using IntendedTable = std::map<std::string, Intended>;

// Checks one test: no difference, or a listed one.
void Judge(const std::string& name, const path& file, const ExpectedAnimation& expected,
           const IntendedTable& intended, int& listed) {
    SCOPED_TRACE(name);
    const auto entry = intended.find(name);
    if (entry == intended.end()) {
        const std::vector<std::string> differences = Differences(file, expected, false);
        EXPECT_TRUE(differences.empty()) << name << " differs:" << Joined(differences);
        return;
    }
    ++listed;
    const bool combine = entry->second.how == Listed::ImagesShownTogether;
    EXPECT_FALSE(Differences(file, expected, false).empty())
        << name << " is listed as an intended difference but now matches; remove it";
    if (combine) {
        const std::vector<std::string> differences = Differences(file, expected, true);
        EXPECT_TRUE(differences.empty())
            << name << " differs even with images shown together:" << Joined(differences);
        std::printf("  %s (intended: %s): matches with images shown together\n", name.c_str(),
                    entry->second.reason);
    } else {
        std::printf("  %s (intended: %s):%s\n", name.c_str(), entry->second.reason,
                    Joined(Differences(file, expected, false)).c_str());
    }
}

// ---------------------------------------------------------------------------
// The decoder test suite with its TESTS list and .conf descriptions

// Where our reader differs from the suite on purpose.
const IntendedTable& IntendedSuiteDifferences() {
    constexpr const char* kShownTogether =
        "every image is a frame of its own; an image without a delay is shown for no time "
        "before the next, where the suite draws it together with the next into one frame";
    constexpr const char* kZeroSized =
        "an image of zero width or height has no row to decode; the reader takes it as "
        "damage and keeps the frames before it (the decoder leaves this choice open)";
    constexpr const char* kGrownScreen =
        "an image reaching beyond the logical screen enlarges the screen instead of being "
        "clipped, so no pixel of the file is lost";
    static const IntendedTable table{
        {"no-data",
         {Listed::Differs,
          "a file without any image is a document without frames; the suite shows one empty "
          "frame"}},
        {"image-zero-width", {Listed::Differs, kZeroSized}},
        {"image-zero-height", {Listed::Differs, kZeroSized}},
        {"image-zero-size", {Listed::Differs, kZeroSized}},
        {"image-overlap-bg", {Listed::Differs, kGrownScreen}},
        {"image-outside-bg", {Listed::Differs, kGrownScreen}},
        {"images-combine", {Listed::ImagesShownTogether, kShownTogether}},
        {"images-overlap", {Listed::ImagesShownTogether, kShownTogether}},
        {"high-color",
         {Listed::Differs,
          "four images shown as four frames, and their 1024 colours merged into one table of "
          "255"}},
        {"invalid-code",
         {Listed::Differs,
          "the decoder is tolerant: a code above the next free code is decoded like the next "
          "free code, so the image is kept where the suite expects none"}},
        {"invalid-colors",
         {Listed::Differs,
          "pixels beyond their image's colour table show colour 0 of that table, so the image "
          "is kept where the suite expects none"}},
        {"loop-animexts",
         {Listed::Differs,
          "only the NETSCAPE2.0 looping extension sets the loop count; ANIMEXTS1.0 is ignored "
          "with a warning"}},
        {"gif87a-animation",
         {Listed::Differs,
          "the loop count and the delays come only from the file: it has no looping "
          "extension and no delays, where the suite plays it as a looping animation with a "
          "default delay"}},
        {"dispose-restore-previous", {Listed::ImagesShownTogether, kShownTogether}},
        {"animation-multi-image", {Listed::ImagesShownTogether, kShownTogether}},
        {"animation-multi-image-explicit-zero-delay",
         {Listed::ImagesShownTogether, kShownTogether}},
        {"plain-text",
         {Listed::Differs,
          "a plain text block is skipped and the image after it is a frame; the suite "
          "expects no frame"}},
    };
    return table;
}

ExpectedAnimation SuiteExpectation(const path& folder, const std::string& name) {
    const auto description = ReadDescription(folder / (name + ".conf"));
    const Section& config = description.at("config");
    ExpectedAnimation expected;
    expected.width = std::atoi(config.at("width").c_str());
    expected.height = std::atoi(config.at("height").c_str());
    const std::vector<std::string> frames = CommaList(config.at("frames"));
    expected.noFrames = frames.empty();
    const std::string loop = config.count("loop-count") ? config.at("loop-count") : "";
    expected.loopCount = loop == "infinite" ? 0 : loop == "0" ? -1 : std::atoi(loop.c_str());
    for (const std::string& frame : frames) {
        const Section& section = description.at(frame);
        Screen screen;
        if (section.count("pixels")) {
            screen = RgbaFile(folder / section.at("pixels"));
        } else {
            int width = 0, height = 0;
            EXPECT_TRUE(PngFile(folder / section.at("image"), screen, width, height));
        }
        EXPECT_EQ(screen.size(), std::size_t(expected.width) * std::size_t(expected.height))
            << name << " " << frame;
        expected.frames.push_back(screen);
        expected.delays.push_back(section.count("delay") ? std::atoi(section.at("delay").c_str())
                                                         : 0);
    }
    return expected;
}

TEST(Conformance, DecoderSuiteScreensDelaysAndLoopsMatch) {
    SKIP_WITHOUT_CORPUS();
    const path folder = corpus::CorpusRoot() / "conformance/pygif";
    std::istringstream tests(corpus::ReadBytes(folder / "TESTS"));
    std::string name;
    int count = 0, listed = 0;
    while (std::getline(tests, name)) {
        name = Trimmed(name);
        if (name.empty()) {
            continue;
        }
        ++count;
        const ExpectedAnimation expected = SuiteExpectation(folder, name);
        const auto description = ReadDescription(folder / (name + ".conf"));
        Judge(name, folder / description.at("config").at("input"), expected,
              IntendedSuiteDifferences(), listed);
    }
    EXPECT_GE(count, 80);
    std::printf("%d tests, %d listed as intended differences\n", count, listed);
}

// ---------------------------------------------------------------------------
// The animations with their expected screens in frames/<name>-<i>.png

const IntendedTable& IntendedAnimationDifferences() {
    static const IntendedTable table{
        {"animated_transparent_loop_frames_out_of_bounds",
         {Listed::Differs,
          "frames reaching beyond the logical screen enlarge the screen instead of being "
          "clipped"}},
    };
    return table;
}

TEST(Conformance, AnimationScreensMatchTheirExpectedFrames) {
    SKIP_WITHOUT_CORPUS();
    const std::vector<path> files = CorpusGifFiles("conformance/peterdn");
    ASSERT_FALSE(files.empty());
    int listed = 0;
    for (const path& file : files) {
        const std::string name = file.stem().string();
        ExpectedAnimation expected;
        for (int i = 0;; ++i) {
            path png = file.parent_path() / "frames" / (name + "-" + std::to_string(i) + ".png");
            if (!corpus::fs::exists(png)) {
                // A still image has one expected screen under its own name.
                const path still = file.parent_path() / "frames" / (name + ".png");
                if (i > 0 || !corpus::fs::exists(still)) {
                    break;
                }
                png = still;
            }
            Screen screen;
            ASSERT_TRUE(PngFile(png, screen, expected.width, expected.height)) << png;
            expected.frames.push_back(screen);
            expected.delays.push_back(-1);
        }
        ASSERT_FALSE(expected.frames.empty()) << "no expected frames for " << name;
        // The names say whether the animation loops; a looping one loops forever.
        if (name.find("noloop") != std::string::npos) {
            expected.loopCount = -1;
        } else if (name.find("_loop") != std::string::npos) {
            expected.loopCount = 0;
        }
        Judge(name, file, expected, IntendedAnimationDifferences(), listed);
    }
}

}  // namespace
