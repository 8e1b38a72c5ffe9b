// Writes the bundled sample animation with Pindle's own block writers and
// encoder: a ball bouncing over a shaded floor, every frame stored whole,
// as a simple animation tool would store it. Pindle can make it smaller.
//
//   make_samples OUTPUT.gif
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/codec/frame_image.h"
#include "app/codec/gif_blocks.h"
#include "app/codec/image_encode.h"
#include "app/codec/output_stream.h"
#include "framework/core/core_startup.h"
#include "framework/core/file_replace.h"
#include "framework/core/files.h"

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;
constexpr int kFrames = 24;
constexpr int kColours = 32;
constexpr int kBallColour = 31;
constexpr int kShadowColour = 30;
constexpr int kFloorTop = 90;

// Sky shades 0-15, floor shades 16-29, shadow, ball.
std::vector<std::uint8_t> Palette() {
    std::vector<std::uint8_t> table(3 * 256, 0);
    for (int i = 0; i < 16; ++i) {
        table[3 * i] = std::uint8_t(90 + 6 * i);
        table[3 * i + 1] = std::uint8_t(140 + 5 * i);
        table[3 * i + 2] = 230;
    }
    for (int i = 16; i < 30; ++i) {
        table[3 * i] = std::uint8_t(60 + 8 * (i - 16));
        table[3 * i + 1] = std::uint8_t(120 + 6 * (i - 16));
        table[3 * i + 2] = 70;
    }
    const std::uint8_t shadow[] = {40, 70, 40};
    const std::uint8_t ball[] = {220, 40, 40};
    std::copy(shadow, shadow + 3, &table[3 * kShadowColour]);
    std::copy(ball, ball + 3, &table[3 * kBallColour]);
    return table;
}

void DrawFrame(std::vector<std::uint8_t>& pixels, int frame) {
    const double t = double(frame) / kFrames;
    const int ballX = 20 + int(120 * t);
    const int ballY = kFloorTop - 12 - int(60 * std::fabs(std::sin(t * 2 * M_PI)));
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            std::uint8_t colour =
                y < kFloorTop ? std::uint8_t(y * 16 / kFloorTop)
                              : std::uint8_t(16 + (y - kFloorTop) * 14 / (kHeight - kFloorTop));
            const int sx = x - ballX;
            const int sy = (y - (kFloorTop + 4)) * 3;
            if (y >= kFloorTop && sx * sx + sy * sy < 100) {
                colour = kShadowColour;
            }
            const int dx = x - ballX;
            const int dy = y - ballY;
            if (dx * dx + dy * dy < 110) {
                colour = kBallColour;
            }
            pixels[std::size_t(y) * kWidth + std::size_t(x)] = colour;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_samples OUTPUT.gif\n", stderr);
        return 2;
    }
    JCoreStartup();
    InitOutput();
    SetOmitFrameTerminators(false);
    const std::vector<std::uint8_t> palette = Palette();
    std::vector<std::uint8_t> pixels(std::size_t(kWidth) * kHeight);
    std::vector<std::vector<std::uint8_t>> images;
    for (int frame = 0; frame < kFrames; ++frame) {
        DrawFrame(pixels, frame);
        FrameImage image{{0, 0, kHeight, kWidth}, {}};
        EncodeIndices(image, false, kColours, pixels.data());
        images.push_back(std::move(image.encoded));
    }
    ResetOutput();
    WriteScreenHeader(kWidth, kHeight, 0, BitsForColours(kColours), palette.data());
    WriteLoopExtension(0);
    WriteCommentExtension("Made by Pindle's sample maker.");
    for (const std::vector<std::uint8_t>& image : images) {
        WriteGraphicControl(false, 1, false, 6, 0);
        WriteImageDescriptor(0, 0, kWidth, kHeight, false, 1, nullptr);
        WriteOutput(std::uint32_t(image.size()), image.data());
    }
    WriteTrailer();
    FileSpec* spec = JFileSpecFromPath(argv[1]);
    if (!spec || JFileReplace(
                     spec, [](JFile* file, void*) { return WriteOutputToFile(file); }, nullptr) !=
                     JReplaceResult::Replaced) {
        std::fprintf(stderr, "make_samples: could not write %s\n", argv[1]);
        return 1;
    }
    JFileSpecFree(spec);
    return 0;
}
