// Speed of the LZW encoder and decoder in pixels per second. With
// PINDLE_BENCH_GIFLIB defined (and giflib linked) the same pixels also go
// through giflib's EGifPutLine and DGifGetLine, and the pixels come from the
// first frame of a real screen recording in the corpus.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "app/codec/frame_image.h"
#include "app/codec/gif_input.h"
#include "app/codec/image_encode.h"
#include "app/codec/lzw_decode.h"
#include "app/codec/lzw_encode.h"
#include "framework/core/memory.h"

#ifdef PINDLE_BENCH_GIFLIB
#include <gif_lib.h>
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Frame {
    int width = 0;
    int height = 0;
    Bytes pixels;
};

// Text-like rows on a plain background, the typical screen recording.
Frame SyntheticFrame() {
    Frame frame{1200, 600, Bytes(1200 * 600, 0)};
    std::mt19937 random(1);
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            if ((y / 12) % 2 == 0 && random() % 3 == 0) {
                frame.pixels[std::size_t(y * frame.width + x)] = std::uint8_t(1 + random() % 15);
            }
        }
    }
    return frame;
}

#ifdef PINDLE_BENCH_GIFLIB
Frame CorpusFrame() {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(PINDLE_BENCH_CORPUS "/real/term-chat.gif", &error);
    if (!gif) {
        return SyntheticFrame();
    }
    Frame frame;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0) {
        const SavedImage& image = gif->SavedImages[0];
        frame.width = image.ImageDesc.Width;
        frame.height = image.ImageDesc.Height;
        frame.pixels.assign(image.RasterBits, image.RasterBits + frame.width * frame.height);
    }
    DGifCloseFile(gif, &error);
    return frame.pixels.empty() ? SyntheticFrame() : frame;
}
const Frame& BenchFrame() {
    static const Frame frame = CorpusFrame();
    return frame;
}
#else
const Frame& BenchFrame() {
    static const Frame frame = SyntheticFrame();
    return frame;
}
#endif

Bytes Encoded(const Frame& frame) {
    FrameImage record{{0, 0, frame.height, frame.width}, {}};
    EncodeIndices(record, false, 256, frame.pixels.data());
    return record.encoded;
}

void SetPixelRate(benchmark::State& state, const Frame& frame) {
    state.counters["pixels/s"] = benchmark::Counter(
        double(state.iterations()) * frame.width * frame.height, benchmark::Counter::kIsRate);
}

void PindleLzwEncode(benchmark::State& state) {
    const Frame& frame = BenchFrame();
    for (auto _ : state) {
        Bytes bytes = Encoded(frame);
        benchmark::DoNotOptimize(bytes.data());
    }
    SetPixelRate(state, frame);
}
BENCHMARK(PindleLzwEncode);

void PindleLzwDecode(benchmark::State& state) {
    const Frame& frame = BenchFrame();
    Bytes image = Encoded(frame);
    Bytes pixels(frame.pixels.size());
    Bytes row(std::size_t(frame.width));
    for (auto _ : state) {
        std::size_t at = 0;
        InputFromMemory(std::uint32_t(image.size()), image.data());
        LzwDecode(std::uint16_t(frame.width), std::uint16_t(frame.height), row.data(),
                  [&](std::uint16_t count, const std::uint8_t* bytes) {
                      std::memcpy(pixels.data() + at, bytes, count);
                      at += count;
                      return true;
                  });
        EndInputFromMemory();
        benchmark::DoNotOptimize(pixels.data());
    }
    SetPixelRate(state, frame);
}
BENCHMARK(PindleLzwDecode);

#ifdef PINDLE_BENCH_GIFLIB
struct MemoryFile {
    Bytes bytes;
    std::size_t at = 0;
};

int WriteToMemory(GifFileType* gif, const GifByteType* data, int count) {
    auto* file = static_cast<MemoryFile*>(gif->UserData);
    file->bytes.insert(file->bytes.end(), data, data + count);
    return count;
}

int ReadFromMemory(GifFileType* gif, GifByteType* data, int count) {
    auto* file = static_cast<MemoryFile*>(gif->UserData);
    const std::size_t n = std::min<std::size_t>(std::size_t(count), file->bytes.size() - file->at);
    std::memcpy(data, file->bytes.data() + file->at, n);
    file->at += n;
    return int(n);
}

MemoryFile GiflibEncode(const Frame& frame) {
    MemoryFile file;
    int error = 0;
    GifFileType* gif = EGifOpen(&file, WriteToMemory, &error);
    ColorMapObject* colours = GifMakeMapObject(256, nullptr);
    EGifPutScreenDesc(gif, frame.width, frame.height, 8, 0, colours);
    EGifPutImageDesc(gif, 0, 0, frame.width, frame.height, false, nullptr);
    for (int y = 0; y < frame.height; ++y) {
        EGifPutLine(gif, const_cast<GifPixelType*>(frame.pixels.data()) + y * frame.width,
                    frame.width);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(colours);
    return file;
}

void GiflibEGifPutLine(benchmark::State& state) {
    const Frame& frame = BenchFrame();
    for (auto _ : state) {
        MemoryFile file = GiflibEncode(frame);
        benchmark::DoNotOptimize(file.bytes.data());
    }
    SetPixelRate(state, frame);
}
BENCHMARK(GiflibEGifPutLine);

void GiflibDGifGetLine(benchmark::State& state) {
    const Frame& frame = BenchFrame();
    MemoryFile file = GiflibEncode(frame);
    Bytes pixels(frame.pixels.size());
    for (auto _ : state) {
        file.at = 0;
        int error = 0;
        GifFileType* gif = DGifOpen(&file, ReadFromMemory, &error);
        GifRecordType record;
        while (DGifGetRecordType(gif, &record) == GIF_OK && record != IMAGE_DESC_RECORD_TYPE) {
        }
        DGifGetImageDesc(gif);
        for (int y = 0; y < frame.height; ++y) {
            DGifGetLine(gif, pixels.data() + y * frame.width, frame.width);
        }
        DGifCloseFile(gif, &error);
        benchmark::DoNotOptimize(pixels.data());
    }
    SetPixelRate(state, frame);
}
BENCHMARK(GiflibDGifGetLine);
#endif

}  // namespace
