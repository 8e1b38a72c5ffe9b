// A 32-bit pixel array, one 0x00RRGGBB word a pixel, rows top-down. The frame
// window's content, every picture and every mask is one.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/platform/draw/geometry.h"

struct JSurface {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    JRect Bounds() const { return JRect{0, 0, width, height}; }
    std::uint32_t* Row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
    const std::uint32_t* Row(int y) const {
        return pixels.data() + static_cast<std::size_t>(y) * width;
    }
    std::uint32_t At(int x, int y) const { return Row(y)[x]; }
};

// Gives the surface a new size; the contents become `fill`.
void JSurfaceResize(JSurface* surface, int width, int height, std::uint32_t fill = 0xFFFFFF);

constexpr std::uint32_t kRgbMask = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

constexpr std::uint32_t JRgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return (r << 16) | (g << 8) | b;
}
constexpr std::uint32_t JRgbRed(std::uint32_t rgb) {
    return (rgb >> 16) & 0xFF;
}
constexpr std::uint32_t JRgbGreen(std::uint32_t rgb) {
    return (rgb >> 8) & 0xFF;
}
constexpr std::uint32_t JRgbBlue(std::uint32_t rgb) {
    return rgb & 0xFF;
}
