// The preview's drawing costs: filling and copying a 1200 by 600 picture,
// putting computed rows into it, and drawing text.
#include <benchmark/benchmark.h>

#include "framework/platform/draw/backend.h"
#include "framework/platform/draw/pictures.h"
#include "framework/platform/draw/pixel_buffer.h"

namespace {

constexpr int kWidth = 1200;
constexpr int kHeight = 600;

// A picture as the drawing port, with the headless backend running.
struct PictureBench {
    PictureBench() {
        JBackendStart(JBackendChoice::Headless);
        JDrawingStartup();
        picture = JNewPicture(kWidth, kHeight, 32);
        source = JNewPicture(kWidth, kHeight, 32);
        JSelectPort(&picture->port);
    }
    ~PictureBench() {
        JDrawingShutdown();
        JBackendStop();
    }
    JPicture* picture = nullptr;
    JPicture* source = nullptr;
};

void FillPicture(benchmark::State& state) {
    PictureBench bench;
    for (auto _ : state) {
        JFillRect(0, 0, kWidth, kHeight);
        benchmark::DoNotOptimize(bench.picture->pixels.pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(FillPicture);

void CopyPicture(benchmark::State& state) {
    PictureBench bench;
    const JRect whole{0, 0, kWidth, kHeight};
    const int mode = static_cast<int>(state.range(0));
    for (auto _ : state) {
        JCopyPicture(&bench.source->port, whole, whole, mode);
        benchmark::DoNotOptimize(bench.picture->pixels.pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(CopyPicture)->Arg(1)->Arg(2);

void StretchPicture(benchmark::State& state) {
    PictureBench bench;
    for (auto _ : state) {
        JCopyPicture(&bench.source->port, JRect{0, 0, kWidth / 2, kHeight / 2},
                     JRect{0, 0, kWidth, kHeight}, 1);
        benchmark::DoNotOptimize(bench.picture->pixels.pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(StretchPicture);

void PutPixelRows(benchmark::State& state) {
    PictureBench bench;
    JPixelBuffer* buffer = JNewPixelBuffer(kWidth, kHeight);
    for (auto _ : state) {
        JPutWholeBuffer(buffer, bench.picture);
        benchmark::DoNotOptimize(bench.picture->pixels.pixels.data());
    }
    JReleasePixelBuffer(buffer);
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(PutPixelRows);

void DrawText(benchmark::State& state) {
    PictureBench bench;
    const char* line = "Frame 12 of 240: 0:01.25, 640 x 480, 37 colours";
    JDrawText(10, 30, line);  // realises the font and fills the glyph cache
    for (auto _ : state) {
        JDrawText(10, 30, line);
    }
    state.SetItemsProcessed(state.iterations() *
                            static_cast<long>(std::char_traits<char>::length(line)));
}
BENCHMARK(DrawText);

void MeasureText(benchmark::State& state) {
    PictureBench bench;
    for (auto _ : state) {
        benchmark::DoNotOptimize(JMeasureText("Frame 12 of 240: 0:01.25, 640 x 480, 37 colours"));
    }
}
BENCHMARK(MeasureText);

}  // namespace
