// Draws every compiled bitmap and icon onto one sheet, at their own size and
// enlarged, with the start-up window's title as its banner sweep shows it
// (the banner through a mask made from the title), and writes it as a PNG:
//
//     resource_gallery SHEET.png [SCALE]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "framework/platform/draw/bitmaps.h"
#include "framework/platform/draw/png_file.h"
#include "framework/platform/draw/raster.h"
#include "framework/platform/draw/resource_images.h"

namespace {

constexpr std::uint32_t kSheetGrey = 0x909090;
constexpr int kGap = 8;
constexpr std::uint16_t kTitle = 512;
constexpr std::uint16_t kSolidBanner = 514;
constexpr std::uint16_t kOutlinedBanner = 516;

// Lays pictures out in rows, left to right.
struct Sheet {
    std::vector<std::pair<JSurface, JPoint>> placed;
    int x = kGap;
    int y = kGap;
    int rowHeight = 0;
    int width = 0;

    void Add(JSurface picture) {
        const int height = picture.height;
        placed.emplace_back(std::move(picture), JPoint{x, y});
        x += placed.back().first.width + kGap;
        rowHeight = std::max(rowHeight, height);
        width = std::max(width, x);
    }
    void NewRow() {
        x = kGap;
        y += rowHeight + kGap;
        rowHeight = 0;
    }
    JSurface Draw() const {
        JSurface sheet;
        JSurfaceResize(&sheet, width, y + rowHeight + kGap, kSheetGrey);
        for (const auto& [picture, at] : placed) {
            for (int row = 0; row < picture.height; ++row) {
                std::copy(picture.Row(row), picture.Row(row) + picture.width,
                          sheet.Row(at.y + row) + at.x);
            }
        }
        return sheet;
    }
};

JSurface Enlarged(const JSurface& picture, int scale) {
    JSurface big;
    JSurfaceResize(&big, picture.width * scale, picture.height * scale);
    for (int y = 0; y < big.height; ++y) {
        for (int x = 0; x < big.width; ++x) {
            big.Row(y)[x] = picture.At(x / scale, y / scale);
        }
    }
    return big;
}

// An icon over the sheet's grey, so that its transparent pixels show.
JSurface OnGrey(const JMaskedImage& icon) {
    JSurface shown = icon.image;
    for (std::size_t i = 0; i < shown.pixels.size(); ++i) {
        if (icon.mask.pixels[i] == kWhite) {
            shown.pixels[i] = kSheetGrey;
        }
    }
    return shown;
}

JSurface ProgramIcon() {
    const JProgramIcon icon = JCompiledProgramIcon();
    JSurface shown;
    JSurfaceResize(&shown, icon.width, icon.height);
    for (std::size_t i = 0; i < shown.pixels.size(); ++i) {
        const std::uint32_t pixel = icon.pixels[i];
        const std::uint32_t alpha = pixel >> 24;
        auto mix = [&](int shift) {
            const std::uint32_t over = (pixel >> shift) & 0xFF;
            const std::uint32_t under = (kSheetGrey >> shift) & 0xFF;
            return ((over * alpha + under * (255 - alpha)) / 255) << shift;
        };
        shown.pixels[i] = mix(16) | mix(8) | mix(0);
    }
    return shown;
}

// The title as the sweep shows it at one phase: white, and the banner
// shifted right by `phase` wherever the title's mask is dark.
JSurface Sweep(const JSurface& title, const JSurface& banner, int phase) {
    JSurface shown;
    JSurfaceResize(&shown, title.width, title.height, kWhite);
    for (int y = 0; y < title.height; ++y) {
        for (int x = 0; x < title.width; ++x) {
            if (RasterToMono(title.At(x, y)) == kBlack) {
                const int source = ((x - phase) % banner.width + banner.width) % banner.width;
                shown.Row(y)[x] = banner.At(source, y);
            }
        }
    }
    return shown;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: resource_gallery SHEET.png [SCALE]\n");
        return 2;
    }
    const int scale = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    Sheet sheet;
    std::size_t count = 0;
    const JBitmapResource* bitmaps = JCompiledBitmaps(&count);
    for (std::size_t i = 0; i < count; ++i) {
        JSurface bitmap;
        JLoadBitmapResource(bitmaps[i].id, &bitmap);
        sheet.Add(bitmap);
        sheet.Add(Enlarged(bitmap, bitmap.width > 200 ? 1 : scale));
        sheet.NewRow();
    }
    JSurface title;
    JSurface solid;
    JSurface outlined;
    if (JLoadBitmapResource(kTitle, &title) && JLoadBitmapResource(kSolidBanner, &solid) &&
        JLoadBitmapResource(kOutlinedBanner, &outlined)) {
        for (const JSurface* banner : {&solid, &outlined}) {
            for (int phase : {0, 90, 200, 350}) {
                sheet.Add(Enlarged(Sweep(title, *banner, phase), 2));
            }
            sheet.NewRow();
        }
    }
    const JMaskedImageResource* icons = JCompiledIcons(&count);
    for (std::size_t i = 0; i < count; ++i) {
        JMaskedImage icon;
        JLoadIcon(icons[i].id, &icon);
        sheet.Add(OnGrey(icon));
        sheet.Add(Enlarged(OnGrey(icon), scale * 2));
    }
    sheet.Add(ProgramIcon());
    sheet.Add(Enlarged(ProgramIcon(), scale));
    if (!JWritePng(sheet.Draw(), argv[1])) {
        std::fprintf(stderr, "%s: cannot be written\n", argv[1]);
        return 1;
    }
    return 0;
}
