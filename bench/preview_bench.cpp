// The preview on the corpus's terminal recordings (1200 x 600), headless:
// drawing a whole frame into the preview, playing a recording of about 200
// frames forward for its whole length against its total duration, and the
// time from opening the largest real file to its first frame on screen.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "app/codec/gif_file.h"
#include "app/shell/preview_window.h"
#include "framework/core/core_startup.h"
#include "framework/platform/draw/headless.h"
#include "framework/platform/platform.h"
#include "framework/ui/event_loop.h"
#include "framework/ui/framework_startup.h"
#include "framework/ui/main_frame.h"
#include "tests/app/shell/made_documents.h"

namespace {

const std::string kRealFolder = std::string(PINDLE_BENCH_CORPUS) + "/real/";
// 194 frames of 2 hundredths each.
const std::string kTwoHundredFrames = kRealFolder + "term-chat.gif";

// A headless desk large enough for a 1200 x 600 preview, for one benchmark.
struct HeadlessDesk {
    HeadlessDesk() {
        JCoreStartup();
        JHeadlessConfigure(JHeadlessScreen{1400, 900});
        started = JBackendStart(JBackendChoice::Headless) && JFrameworkStartup();
        if (started) {
            JMainFramePlace(JRect{0, 0, 1300, 800});
            JMainFrameShow();
        }
    }
    ~HeadlessDesk() {
        if (started) {
            JFrameworkShutdown();
        }
        JTextShutdown();
        JBackendStop();
    }
    bool started = false;
};

// Handles the messages waiting, painting included, and shows the frame.
void Settle() {
    JMessage message;
    for (int i = 0; i < 10000 && JPeekMessage(&message, kNoWindow, kPeekKeep); ++i) {
        JEventStep(nullptr, false);
    }
}

bool Exists(const std::string& path, benchmark::State& state) {
    if (!std::filesystem::exists(path)) {
        state.SkipWithError("the corpus file is absent");
        return false;
    }
    return true;
}

// The largest file of the corpus's real animations.
std::string LargestRealFile() {
    std::string largest;
    std::uintmax_t most = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kRealFolder, error)) {
        if (entry.path().extension() == ".gif" && entry.file_size() > most) {
            most = entry.file_size();
            largest = entry.path().string();
        }
    }
    return largest;
}

// Argument 0: the strips drawn into the window's pixels; 1: and the frame
// composed and presented as well.
void BM_RenderWholeFrameIntoPreview(benchmark::State& state) {
    if (!Exists(kTwoHundredFrames, state)) {
        return;
    }
    HeadlessDesk desk;
    std::unique_ptr<GifDocument> document =
        OpenGifFile(kTwoHundredFrames.c_str(), KeyframeUse::Build);
    std::unique_ptr<PreviewWindow> preview = OpenPreviewWindow(*document, {});
    Settle();
    const FrameRect whole = WholeScreenRect(*document);
    if (preview->view.Width() < RectWidth(whole) || preview->view.Height() < RectHeight(whole)) {
        state.SkipWithError("the preview does not show the whole screen");
        return;
    }
    const bool present = state.range(0) == 1;
    for (auto _ : state) {
        RenderPreviewRect(*preview, whole);
        if (present) {
            JComposeFrame();
        }
    }
    state.SetItemsProcessed(state.iterations() * RectArea(whole));
    state.counters["frame_time_ms"] = FrameAt(*document, 1)->delay * 10.0;
}
BENCHMARK(BM_RenderWholeFrameIntoPreview)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// 200 frames of 1200 x 600 that each change the whole screen, 2 hundredths
// apiece: every step draws a whole frame.
std::unique_ptr<GifDocument> WholeScreenChanges() {
    const Rgb white{255, 255, 255};
    const Rgb blue{0, 0, 255};
    const Rgb red{255, 0, 0};
    std::vector<MadeFrame> frames;
    for (int i = 0; i < 200; ++i) {
        frames.push_back(MadeFrame{
            FrameRect{0, 0, 600, 1200},
            i % 2 == 0 ? std::vector<Rgb>{white, blue, red} : std::vector<Rgb>{red, white, blue},
            2});
    }
    return MakeDocument(1200, 600, frames);
}

// Plays from frame 0 until frame 0 shows again, on the headless clock (the
// machine's time while working, while its sleeps only move it on), and
// reports that time beside the total of the frame durations. Argument 0:
// the corpus recording of about 200 frames; 1: 200 frames that each change
// the whole screen.
void BM_PlayWholeAnimationForward(benchmark::State& state) {
    if (state.range(0) == 0 && !Exists(kTwoHundredFrames, state)) {
        return;
    }
    HeadlessDesk desk;
    std::unique_ptr<GifDocument> document =
        state.range(0) == 0 ? OpenGifFile(kTwoHundredFrames.c_str(), KeyframeUse::Build)
                            : WholeScreenChanges();
    std::unique_ptr<PreviewWindow> preview = OpenPreviewWindow(*document, {});
    Settle();
    double measured = 0;
    double worked = 0;
    for (auto _ : state) {
        SelectPreviewFrame(*preview, 0);
        Settle();
        const std::uint32_t start = JTickCount();
        const auto workStart = std::chrono::steady_clock::now();
        SetPlaybackMode(preview->playback, kPlayForward);
        bool left = false;
        while (!(left && document->currentFrame == 0)) {
            JEventStep(nullptr, true);
            left = left || document->currentFrame != 0;
        }
        measured = JTickCount() - start;
        worked =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - workStart)
                .count();
        StopPlayback(preview->playback);
    }
    const double expected = document->totalDuration * 10.0;
    state.counters["frames"] = document->frameCount;
    state.counters["expected_ms"] = expected;
    state.counters["measured_ms"] = measured;
    state.counters["deviation_pct"] = 100.0 * (measured - expected) / expected;
    state.counters["busy_ms"] = worked;  // the machine's own time in the loop
}
BENCHMARK(BM_PlayWholeAnimationForward)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Opening the largest real file and showing its first frame: read, keyframes
// built, the preview made, painted and presented.
void BM_OpenLargestFileToFirstFrame(benchmark::State& state) {
    const std::string path = LargestRealFile();
    if (path.empty()) {
        state.SkipWithError("the corpus is absent");
        return;
    }
    HeadlessDesk desk;
    for (auto _ : state) {
        std::unique_ptr<GifDocument> document = OpenGifFile(path.c_str(), KeyframeUse::Build);
        std::unique_ptr<PreviewWindow> preview = OpenPreviewWindow(*document, {});
        Settle();
        benchmark::DoNotOptimize(JHeadlessFramePixels().pixels.data());
        state.PauseTiming();
        state.counters["frames"] = document->frameCount;
        state.counters["file_kb"] = document->fileSize / 1024.0;
        preview.reset();
        document.reset();
        Settle();
        state.ResumeTiming();
    }
    state.SetLabel(std::filesystem::path(path).filename().string());
}
BENCHMARK(BM_OpenLargestFileToFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
