// Saving never changes what a file shows, seen through a second, unrelated
// decoder: Pillow, the Python imaging library. Where a browser leaves the
// screen clear, Pillow paints colours of the file: before the first image,
// that image's transparent colour or else colour 0 of the table; where a
// frame is disposed to the background, its transparent colour or else the
// background index of the frame's own table. It also grows the screen to
// hold every image. So it notices changes to the colour order, the
// background index, transparent colours and the first frame's rectangle
// that a browser would hide.
//
// Every GIF of the real and the conformance folders is saved as a new file
// by the pindle console program, once with the default options and once
// with every option off, in a scratch directory so that no settings file is
// read. screens_oracle.py then prints the screens Pillow shows of originals
// and saved files (size, time and a hash of the pixels, repeated screens
// merged), and the saved file must show the same screens for the same
// times (a frame without a duration is not one of 0 ms). Pindle must report
// "no change in appearance" exactly for the smaller files that look the
// same.
//
// Files Pillow cannot read are left out (the test lists them); files pindle
// does not save are listed too, as the other corpus suites judge refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "tests/app/corpus/corpus_support.h"
#include "tests/app/corpus/oracle_support.h"

namespace {

using corpus::fs::path;

// Debian's python3-pil installs into Debian's interpreter, which another
// python3 earlier on the PATH would not see.
constexpr const char* kPython = "/usr/bin/python3";
constexpr const char* kNoChangeClaim = "with absolutely no change in appearance";
// Longer than any one run takes on a slow, busy machine: a hang, not a delay.
constexpr double kPindleTimeoutSeconds = 120;
constexpr double kOracleTimeoutSeconds = 600;

struct OptionSet {
    const char* name;
    std::vector<std::string> flags;
};

const OptionSet kDefaultOptions{"default", {}};
const OptionSet kThorough{"thorough", {"--thorough"}};
const OptionSet kEveryOptionOff{"all-off",
                                {"--omit-frame-terminators=no", "--exclude-origin=no",
                                 "--small-first-frame=no", "--interframe-transparency=no"}};

// Files whose saved copy Pillow shows differently, with the options they
// were saved with, and why; any difference not listed fails, and a listed
// pair that matches is reported so that it can go.
struct KnownDifference {
    std::string_view file;
    std::string_view options;
};
constexpr KnownDifference kKnownDifferences[] = {
    // A second GIF file follows the first image without a trailer: Pillow
    // skips the stray bytes and shows its image as a second screen; our
    // reader stops at them.
    {"real/pil-test_extents_transparency.gif", "default"},
    {"real/pil-test_extents_transparency.gif", "all-off"},
    {"real/pil-test_extents_transparency.gif", "thorough"},
    // A pixel beyond the colour table: Pillow shows its own padding, grey
    // (2,2,2); we show colour 0.
    {"conformance/pygif/invalid-colors.gif", "default"},
    {"conformance/pygif/invalid-colors.gif", "all-off"},
    {"conformance/pygif/invalid-colors.gif", "thorough"},
};

bool IsKnown(const std::string& file, const OptionSet& options) {
    for (const KnownDifference& known : kKnownDifferences) {
        if (known.file == file && known.options == options.name) {
            return true;
        }
    }
    return false;
}

unsigned Parallel() {
    return std::max(2u, std::thread::hardware_concurrency());
}

std::string FirstLine(const path& file) {
    const std::string text = corpus::ReadBytes(file);
    return text.substr(0, text.find('\n'));
}

// One file saved by pindle: where it went, what pindle printed, its status.
struct Saving {
    path original;
    path saved;
    path out;
    path err;
    int status = oracle::kNotStarted;
};

std::vector<Saving> Savings(const std::vector<path>& files, const path& scratch) {
    std::vector<Saving> savings;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const path stem = scratch / ("pindle-" + std::to_string(i));
        savings.push_back(
            {files[i], stem.string() + ".gif", stem.string() + ".out", stem.string() + ".err"});
    }
    return savings;
}

oracle::Job SavingJob(const Saving& saving, const OptionSet& options, const path& scratch) {
    oracle::Job job{{PINDLE_BINARY, "--yes", "--output", saving.saved.string()},
                    scratch,
                    saving.out,
                    saving.err,
                    kPindleTimeoutSeconds};
    job.arguments.insert(job.arguments.end(), options.flags.begin(), options.flags.end());
    job.arguments.push_back(saving.original.string());
    return job;
}

std::uintmax_t SizeOf(const path& file) {
    std::error_code error;
    const std::uintmax_t size = corpus::fs::file_size(file, error);
    return error ? 0 : size;
}

// Oracle runs over `files`, a few more of them than processors so that the
// work evens out; the largest files are dealt first, each to the lightest run.
std::vector<oracle::Job> OracleJobs(const std::vector<path>& files, const path& scratch,
                                    const std::string& name) {
    const std::size_t count = std::min<std::size_t>(3 * Parallel(), files.size());
    std::vector<oracle::Job> jobs;
    std::vector<std::uintmax_t> load(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        const path stem = scratch / ("oracle-" + name + "-" + std::to_string(i));
        jobs.push_back({{kPython, PINDLE_SOURCE_DIR "/tests/app/corpus/screens_oracle.py"},
                        scratch,
                        stem.string() + ".out",
                        stem.string() + ".err",
                        kOracleTimeoutSeconds});
    }
    std::vector<std::pair<std::uintmax_t, path>> bySize;
    for (const path& file : files) {
        bySize.emplace_back(SizeOf(file) + 1, file);
    }
    std::sort(bySize.begin(), bySize.end(), [](const auto& a, const auto& b) { return a > b; });
    for (const auto& [size, file] : bySize) {
        const std::size_t lightest =
            std::size_t(std::min_element(load.begin(), load.end()) - load.begin());
        jobs[lightest].arguments.push_back(file.string());
        load[lightest] += size;
    }
    return jobs;
}

// What the oracle runs printed; a failed run fails the test.
oracle::Views ReadViews(const std::vector<oracle::Job>& jobs, const std::vector<int>& statuses) {
    oracle::Views views;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        if (statuses[i] != 0) {
            ADD_FAILURE() << "the Pillow oracle failed (" << oracle::StatusText(statuses[i])
                          << "); is python3-pil installed (scripts/install-deps)?\n"
                          << corpus::ReadBytes(jobs[i].err);
            continue;
        }
        views.merge(oracle::ParseViews(corpus::ReadBytes(jobs[i].out)));
    }
    return views;
}

// Saves every file with pindle while the oracle reads the originals, then
// lets the oracle read what was saved. Returns what it saw of both.
oracle::Views SaveAndShow(const std::vector<path>& originals, std::vector<Saving>& savings,
                          const OptionSet& options, const path& scratch) {
    std::vector<oracle::Job> jobs = OracleJobs(originals, scratch, "original");
    const std::size_t oracleJobs = jobs.size();
    for (const Saving& saving : savings) {
        jobs.push_back(SavingJob(saving, options, scratch));
    }
    std::vector<int> statuses = oracle::RunJobs(jobs, Parallel());
    std::vector<path> saved;
    for (std::size_t i = 0; i < savings.size(); ++i) {
        savings[i].status = statuses[oracleJobs + i];
        if (corpus::fs::exists(savings[i].saved)) {
            saved.push_back(savings[i].saved);
        }
    }
    jobs.resize(oracleJobs);
    statuses.resize(oracleJobs);
    oracle::Views views = ReadViews(jobs, statuses);
    if (!saved.empty()) {
        const std::vector<oracle::Job> savedJobs = OracleJobs(saved, scratch, "saved");
        views.merge(ReadViews(savedJobs, oracle::RunJobs(savedJobs, Parallel())));
    }
    return views;
}

struct Tally {
    std::vector<std::string> unreadable;  // Pillow cannot read the original
    std::vector<std::string> notSaved;
    std::vector<std::string> nowMatching;  // listed as known but alike now
    int compared = 0;
    int knownDifferent = 0;
};

// A file the oracle printed nothing for reads as an error.
oracle::View ViewOf(const oracle::Views& views, const path& file) {
    const auto found = views.find(file.string());
    return found != views.end() ? found->second : oracle::View{"not shown by the oracle", {}};
}

void Judge(const Saving& saving, const oracle::Views& views, const OptionSet& options,
           Tally& tally) {
    const std::string shown = corpus::Shown(saving.original);
    const oracle::View original = ViewOf(views, saving.original);
    if (!original.Readable()) {
        tally.unreadable.push_back(shown + ": " + original.error);
        return;
    }
    if (saving.status != 0 || !corpus::fs::exists(saving.saved)) {
        tally.notSaved.push_back(shown + ": " + oracle::StatusText(saving.status) + ", " +
                                 FirstLine(saving.err));
        return;
    }
    ++tally.compared;
    const std::string difference = oracle::ViewDifference(ViewOf(views, saving.saved), original);
    const bool known = IsKnown(shown, options);
    const bool claimed = corpus::ReadBytes(saving.out).find(kNoChangeClaim) != std::string::npos;
    if (difference.empty()) {
        if (known) {
            tally.nowMatching.push_back(shown);
        }
        // A smaller file that looks the same is reported as unchanged.
        EXPECT_TRUE(claimed || SizeOf(saving.saved) >= SizeOf(saving.original))
            << shown << " saved with " << options.name
            << " options is smaller and looks the same, but pindle did not say so: "
            << FirstLine(saving.out);
        return;
    }
    if (known) {
        ++tally.knownDifferent;
        EXPECT_FALSE(claimed) << shown << " saved with " << options.name
                              << " options looks different in Pillow, yet pindle reported no "
                                 "change in appearance";
        return;
    }
    ADD_FAILURE() << shown << " saved with " << options.name << " options looks different in "
                  << "Pillow: " << difference
                  << (claimed ? "; yet pindle reported no change in appearance" : "");
}

void PrintList(const char* title, const std::vector<std::string>& lines) {
    if (lines.empty()) {
        return;
    }
    std::printf("  %s:\n", title);
    for (const std::string& line : lines) {
        std::printf("    %s\n", line.c_str());
    }
}

void Report(const Tally& tally, const OptionSet& options, double seconds) {
    PrintList("Pillow cannot read the original (left out)", tally.unreadable);
    PrintList("pindle did not save", tally.notSaved);
    PrintList("listed in kKnownDifferences but alike now: remove them", tally.nowMatching);
    std::printf("  %d files compared with %s options, %d known to differ, in %.1f s\n",
                tally.compared, options.name, tally.knownDifferent, seconds);
    std::string nowMatching;
    for (const std::string& file : tally.nowMatching) {
        nowMatching += (nowMatching.empty() ? "" : " ") + file;
    }
    if (!nowMatching.empty()) {
        testing::Test::RecordProperty("now_matching", nowMatching);
    }
}

void CheckFolder(const std::string& folder, const OptionSet& options) {
    const corpus::Stopwatch stopwatch;
    const std::vector<path> files = CorpusGifFiles(folder);
    ASSERT_FALSE(files.empty()) << "no GIF files in the corpus folder " << folder;
    corpus::ScratchDirectory scratch;
    ASSERT_FALSE(scratch.path().empty()) << "no scratch directory";

    std::vector<Saving> savings = Savings(files, scratch.path());
    const oracle::Views views = SaveAndShow(files, savings, options, scratch.path());
    ASSERT_FALSE(testing::Test::HasFailure());
    Tally tally;
    for (const Saving& saving : savings) {
        Judge(saving, views, options, tally);
    }
    Report(tally, options, stopwatch.Seconds());
}

TEST(SavedFilesInPillow, RealFilesWithDefaultOptions) {
    SKIP_WITHOUT_CORPUS();
    CheckFolder("real", kDefaultOptions);
}

TEST(SavedFilesInPillow, RealFilesWithEveryOptionOff) {
    SKIP_WITHOUT_CORPUS();
    CheckFolder("real", kEveryOptionOff);
}

TEST(SavedFilesInPillow, RealFilesInTheThoroughMode) {
    SKIP_WITHOUT_CORPUS();
    CheckFolder("real", kThorough);
}

TEST(SavedFilesInPillow, ConformanceFilesInTheThoroughMode) {
    SKIP_WITHOUT_CORPUS();
    CheckFolder("conformance", kThorough);
}

TEST(SavedFilesInPillow, ConformanceFilesWithDefaultOptions) {
    SKIP_WITHOUT_CORPUS();
    CheckFolder("conformance", kDefaultOptions);
}

TEST(SavedFilesInPillow, ConformanceFilesWithEveryOptionOff) {
    SKIP_WITHOUT_CORPUS();
    CheckFolder("conformance", kEveryOptionOff);
}

}  // namespace
