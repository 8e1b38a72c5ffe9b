#include "app/optimiser/size_estimate.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxBits = 12;
constexpr int kSlots = 1 << 13;  // twice the codes, so probes stay short
constexpr int kBands = 8;

// Strings are numbered from 65536 up, above every colour.
constexpr std::uint32_t kFirstString = 0x10000;

class CodeCounter {
public:
    explicit CodeCounter(int rootBits)
        : initialBits_(rootBits + 1), firstFree_((1 << rootBits) + 2) {
        Restart();
    }

    // Parses the pixels as one more stretch of the same stream.
    void Parse(const Pixel* pixels, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t pixel = pixels[i];
            if (prefix_ == kNone) {
                prefix_ = pixel;
                continue;
            }
            const std::uint64_t key = std::uint64_t(prefix_) << 16 | pixel;
            std::uint32_t slot = Hash(key);
            while (keys_[slot] != kEmpty && keys_[slot] != key) {
                slot = (slot + 1) & (kSlots - 1);
            }
            if (keys_[slot] == key) {
                prefix_ = strings_[slot];
                continue;
            }
            Emit();
            if (nextCode_ < kMaxCodes) {
                keys_[slot] = key;
                strings_[slot] = kFirstString + std::uint32_t(nextCode_++);
            } else {
                bits_ += std::uint64_t(width_);  // the clear code
                Restart();
            }
            prefix_ = pixel;
        }
    }

    std::uint64_t Finish() {
        if (prefix_ != kNone) {
            Emit();
        }
        return bits_;
    }

private:
    static constexpr std::uint64_t kEmpty = ~std::uint64_t(0);
    static constexpr std::uint32_t kNone = ~std::uint32_t(0);

    static std::uint32_t Hash(std::uint64_t key) {
        return std::uint32_t((key * 0x9E3779B97F4A7C15ull) >> (64 - 13));
    }

    void Emit() {
        bits_ += std::uint64_t(width_);
        if (nextCode_ > (1 << width_) - 1 && width_ < kMaxBits) {
            ++width_;
        }
    }

    void Restart() {
        keys_.fill(kEmpty);
        nextCode_ = firstFree_;
        width_ = initialBits_;
    }

    int initialBits_;
    int firstFree_;
    int nextCode_ = 0;
    int width_ = 0;
    std::uint32_t prefix_ = kNone;
    std::uint64_t bits_ = 0;
    std::array<std::uint64_t, kSlots> keys_;
    std::array<std::uint32_t, kSlots> strings_;
};

}  // namespace

std::uint64_t EstimateLzwBits(const std::vector<Pixel>& pixels, int width, int rootBits,
                              int sampling) {
    CodeCounter counter(rootBits);
    if (width <= 0 || pixels.size() < kEstimateWholeBelow || sampling <= 1) {
        counter.Parse(pixels.data(), pixels.size());
        return counter.Finish();
    }
    // Each band's first rows are parsed as one stream; the count is scaled
    // up to the whole image.
    const std::size_t rows = pixels.size() / std::size_t(width);
    const std::size_t bandRows = std::max<std::size_t>(1, rows / kBands);
    const std::size_t takenRows = std::max<std::size_t>(1, bandRows / std::size_t(sampling));
    std::size_t parsed = 0;
    for (std::size_t band = 0; band * bandRows < rows; ++band) {
        const std::size_t first = band * bandRows;
        const std::size_t count = std::min(takenRows, rows - first) * std::size_t(width);
        counter.Parse(pixels.data() + first * std::size_t(width), count);
        parsed += count;
    }
    return counter.Finish() * pixels.size() / std::max<std::size_t>(parsed, 1);
}
