// The transparent colour index of a frame, chosen by the user's band from the
// colour count and the frame's histogram. The index is always one that no
// pixel of the frame uses.
#pragma once

#include <cstdint>

enum class TransparencyBand : std::uint8_t {
    UltralowA,  // lowest unused index
    UltralowB,  // highest unused index
    Superlow,   // just above the highest used index
    Low,        // the colour count
    Medium,     // top of the colour count's power of two
    High,       // top of a 2-, 4-, 8- or 16-colour table, else 255
    Ultrahigh,  // 255
};

// `histogram` holds `colourCount` pixel counts (at most 256).
std::uint8_t PickTransparentIndex(std::uint16_t colourCount, const std::uint32_t* histogram,
                                  TransparencyBand band);
