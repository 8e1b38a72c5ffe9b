// Speed of the frame optimiser on a 1200 x 600 screen recording of 300
// frames, every one stored full-screen as many recorders do: most frames
// change a few characters, every thirtieth scrolls the whole screen.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "app/codec/document.h"
#include "app/codec/image_encode.h"
#include "app/optimiser/frame_optimiser.h"

namespace {

constexpr int kWidth = 1200;
constexpr int kHeight = 600;
constexpr int kFrames = 300;
constexpr int kColours = 16;

using Bytes = std::vector<std::uint8_t>;

void Type(Bytes& screen, std::mt19937& random) {
    const int row = int(random() % (kHeight / 12)) * 12;
    const int column = int(random() % (kWidth - 40));
    for (int y = row; y < row + 10; ++y) {
        for (int x = column; x < column + 40; ++x) {
            screen[std::size_t(y * kWidth + x)] = std::uint8_t(random() % kColours);
        }
    }
}

void Scroll(Bytes& screen, std::mt19937& random) {
    screen.erase(screen.begin(), screen.begin() + 12 * kWidth);
    for (int i = 0; i < 12 * kWidth; ++i) {
        screen.push_back(random() % 3 == 0 ? std::uint8_t(random() % kColours) : 0);
    }
}

std::unique_ptr<GifFrame> SnapshotFrame(const Bytes& screen, const ColourIds& table) {
    auto frame = std::make_unique<GifFrame>();
    frame->rect = FrameRect{0, 0, kHeight, kWidth};
    frame->delay = 10;
    EncodeIndices(*frame, false, kColours, screen.data());
    frame->table = table;
    frame->histogram.assign(kColours, 0);
    for (std::uint8_t pixel : screen) {
        ++frame->histogram[pixel];
    }
    return frame;
}

std::unique_ptr<GifDocument> ScreenRecording() {
    std::unique_ptr<GifDocument> document = NewGifDocument();
    document->screenWidth = kWidth;
    document->screenHeight = kHeight;
    ResizePixelMap(document->canvas, kWidth, kHeight);
    ColourIds table;
    for (int i = 0; i < kColours; ++i) {
        table.push_back(ColourId(*document, Rgb{std::uint8_t(16 * i), 0, 0}));
    }
    std::mt19937 random(1);
    Bytes screen(std::size_t(kWidth) * kHeight, 0);
    for (int i = 0; i < kFrames; ++i) {
        if (i % 30 == 29) {
            Scroll(screen, random);
        } else {
            Type(screen, random);
        }
        document->frames.push_back(SnapshotFrame(screen, table));
    }
    document->frameCount = kFrames;
    BuildKeyframes(*document);
    return document;
}

void BM_OptimiseScreenRecording(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<GifDocument> document = ScreenRecording();
        state.ResumeTiming();
        OptimiseFrames(*document, CompressionOptions{});
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OptimiseScreenRecording)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
