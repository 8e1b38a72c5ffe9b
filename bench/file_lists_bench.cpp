// Filling the file dialogs' lists for a folder of 5,000 files, as the Open
// dialog does when it starts and again when a pattern is typed.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "framework/core/core_startup.h"
#include "framework/platform/draw/headless.h"
#include "framework/ui/file_dialogs.h"
#include "framework/ui/file_lists.h"
#include "framework/ui/framework_startup.h"
#include "framework/ui/main_frame.h"

namespace {

class ThousandsOfFiles {
public:
    ThousandsOfFiles() {
        std::string pattern = (std::filesystem::temp_directory_path() / "pindle-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern + "/" : std::string();
        for (int i = 0; i < 5000; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "frame-%04d.%s", i, i % 5 == 0 ? "png" : "gif");
            std::ofstream(path_ + name) << "x";
        }
        for (int i = 0; i < 50; ++i) {
            std::filesystem::create_directory(path_ + "folder-" + std::to_string(i));
        }
    }
    ~ThousandsOfFiles() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

void BM_FillListsOf5000Files(benchmark::State& state) {
    static const ThousandsOfFiles folder;
    const char* pattern = state.range(0) == 0 ? "*.gif" : "*.png";
    for (auto _ : state) {
        JFileListing listing;
        benchmark::DoNotOptimize(JFillFileListing(folder.path(), pattern, &listing));
        benchmark::DoNotOptimize(listing.files.size());
    }
}
BENCHMARK(BM_FillListsOf5000Files)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The user's part: with argument 1, type a pattern first; then cancel.
int gDialogSteps = 0;
bool gTypePattern = false;

void CancelWhenIdle(JWnd) {
    if (JHeadlessPendingEvents() > 0) {
        return;
    }
    if (gTypePattern && gDialogSteps++ == 0) {
        JHeadlessTypeText("*.png");
        JHeadlessPressKey(kKeyReturn);
        return;
    }
    JHeadlessPressKey(kKeyEscape);
}

// The whole Open dialog on the headless backend: built, listed, painted,
// (a pattern typed and the lists refilled,) cancelled.
void BM_OpenDialogOn5000Files(benchmark::State& state) {
    static const ThousandsOfFiles folder;
    static const bool started = [] {
        JCoreStartup();
        JHeadlessConfigure(JHeadlessScreen{});
        const bool ok = JBackendStart(JBackendChoice::Headless) && JFrameworkStartup();
        JMainFramePlace(JRect{0, 0, 800, 600});
        JMainFrameShow();
        return ok;
    }();
    if (!started) {
        state.SkipWithError("no headless frame");
        return;
    }
    JSetModalIdleHook(CancelWhenIdle);
    gTypePattern = state.range(0) == 1;
    for (auto _ : state) {
        gDialogSteps = 0;
        FileSpec* chosen = JOpenFileDialog({kFileTypeGif}, folder.path().c_str());
        JFileSpecFree(chosen);
    }
    JSetModalIdleHook(nullptr);
}
BENCHMARK(BM_OpenDialogOn5000Files)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
