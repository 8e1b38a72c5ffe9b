// Colours of the drawing layer: three 16-bit components, converted to and
// from the 8-bit components that surfaces hold.
#pragma once

#include <cstdint>

#include "framework/platform/draw/surface.h"

struct JColour {
    std::uint16_t red = 0;
    std::uint16_t green = 0;
    std::uint16_t blue = 0;

    bool operator==(const JColour&) const = default;
};

// (c - (c >> 8)) >> 8: 0xFFFF gives 255, 0x8080 gives 128, 0x00FF gives 0.
constexpr std::uint8_t JComponentTo8(std::uint16_t c) {
    return static_cast<std::uint8_t>((c - (c >> 8)) >> 8);
}
constexpr std::uint16_t JComponentTo16(std::uint8_t b) {
    return static_cast<std::uint16_t>(b * 257);
}

constexpr std::uint32_t JColourToRgb(const JColour& c) {
    return JRgb(JComponentTo8(c.red), JComponentTo8(c.green), JComponentTo8(c.blue));
}
constexpr JColour JColourFromRgb(std::uint32_t rgb) {
    return JColour{JComponentTo16(static_cast<std::uint8_t>(JRgbRed(rgb))),
                   JComponentTo16(static_cast<std::uint8_t>(JRgbGreen(rgb))),
                   JComponentTo16(static_cast<std::uint8_t>(JRgbBlue(rgb)))};
}

constexpr JColour kColourBlack{0, 0, 0};
constexpr JColour kColourWhite{0xFFFF, 0xFFFF, 0xFFFF};
