// Speed of the timing edits that touch many pixels or frames: switching a
// full screen-recording frame between interlaced and plain row order (a
// decode and an encode), and scaling the durations of many frames. The
// paced progress's waits are left out: they are what it is for.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "app/codec/document.h"
#include "app/codec/image_encode.h"
#include "app/edit/deinterlace.h"
#include "app/edit/durations.h"
#include "app/optimiser/progress.h"

namespace {

std::uint32_t gNow = 0;
std::uint32_t BenchNow() {
    return gNow;
}
void NoWait(std::uint32_t) {}
constexpr ProgressClock kUnpaced{BenchNow, NoWait};

// One 1200 x 600 frame of text-like rows on a plain background, 16 colours.
std::unique_ptr<GifDocument> ScreenRecordingFrame() {
    constexpr int kWidth = 1200;
    constexpr int kHeight = 600;
    std::vector<std::uint8_t> pixels(kWidth * kHeight, 0);
    std::mt19937 random(1);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if ((y / 12) % 2 == 0 && random() % 3 == 0) {
                pixels[std::size_t(y * kWidth + x)] = std::uint8_t(1 + random() % 15);
            }
        }
    }
    auto document = NewGifDocument();
    auto frame = std::make_unique<GifFrame>();
    frame->rect = FrameRect{0, 0, kHeight, kWidth};
    frame->interlaced = true;
    frame->histogram.assign(16, 1);
    EncodeIndices(*frame, true, 16, pixels.data());
    document->frames.push_back(std::move(frame));
    return document;
}

void BM_SwitchRowOrder(benchmark::State& state) {
    SetProgressClock(&kUnpaced);
    auto document = ScreenRecordingFrame();
    GifFrame& frame = *document->frames[0];
    for (auto _ : state) {
        SetFrameInterlaced(*document, 0, !frame.interlaced, false);
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(RectArea(frame.rect)));
    SetProgressClock(nullptr);
}
BENCHMARK(BM_SwitchRowOrder)->Unit(benchmark::kMillisecond);

void BM_ScaleDurations(benchmark::State& state) {
    SetProgressClock(&kUnpaced);
    auto document = NewGifDocument();
    for (int i = 0; i < 10000; ++i) {
        auto frame = std::make_unique<GifFrame>();
        frame->delay = std::uint32_t(i % 200);
        document->frames.push_back(std::move(frame));
    }
    for (auto _ : state) {
        ScaleDurations(*document, 0, 9999, 1.01, 1, kMaxFrameDuration);
    }
    state.SetItemsProcessed(state.iterations() * 10000);
    SetProgressClock(nullptr);
}
BENCHMARK(BM_ScaleDurations)->Unit(benchmark::kMicrosecond);

}  // namespace
