#include "app/optimiser/transparent_index.h"

namespace {

std::uint16_t LowestUnused(std::uint16_t n, const std::uint32_t* histogram) {
    for (std::uint16_t i = 0; i < n; ++i) {
        if (histogram[i] == 0) {
            return i;
        }
    }
    return n;
}

std::uint16_t HighestUnused(std::uint16_t n, const std::uint32_t* histogram) {
    for (std::uint16_t i = n; i-- > 0;) {
        if (histogram[i] == 0) {
            return i;
        }
    }
    return n;
}

std::uint16_t AboveHighestUsed(std::uint16_t n, const std::uint32_t* histogram) {
    for (std::uint16_t i = n; i-- > 0;) {
        if (histogram[i] != 0) {
            return static_cast<std::uint16_t>(i + 1);
        }
    }
    return 0;
}

// 2^(p+1) - 1 for the highest set bit p of n (p = 0 for n below 2).
std::uint16_t TopOfPowerOfTwo(std::uint16_t n) {
    int p = 0;
    for (std::uint16_t v = n; v > 1; v >>= 1) {
        ++p;
    }
    return static_cast<std::uint16_t>((1u << (p + 1)) - 1);
}

std::uint16_t TopOfSmallTable(std::uint16_t n) {
    if (n < 2) {
        return 1;
    }
    if (n < 4) {
        return 3;
    }
    if (n < 8) {
        return 7;
    }
    return n < 16 ? 15 : 255;
}

}  // namespace

namespace {

std::uint16_t IndexForBand(std::uint16_t n, const std::uint32_t* histogram, TransparencyBand band) {
    switch (band) {
        case TransparencyBand::UltralowA:
            return LowestUnused(n, histogram);
        case TransparencyBand::UltralowB:
            return HighestUnused(n, histogram);
        case TransparencyBand::Superlow:
            return AboveHighestUsed(n, histogram);
        case TransparencyBand::Low:
            return n;
        case TransparencyBand::Medium:
            return TopOfPowerOfTwo(n);
        case TransparencyBand::High:
            return TopOfSmallTable(n);
        case TransparencyBand::Ultrahigh:
            break;
    }
    return 255;
}

}  // namespace

std::uint8_t PickTransparentIndex(std::uint16_t colourCount, const std::uint32_t* histogram,
                                  TransparencyBand band) {
    // A band may ask for an index past 255, or for one a full table's frame
    // uses; the lowest unused index serves then. The caller guarantees one
    // exists: a frame with transparency uses at most 255 of the 256 indices.
    std::uint16_t index = IndexForBand(colourCount, histogram, band);
    if (index > 255 || (index < colourCount && histogram[index] != 0)) {
        index = LowestUnused(colourCount, histogram);
    }
    return static_cast<std::uint8_t>(index > 255 ? 255 : index);
}
