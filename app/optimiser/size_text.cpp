#include "app/optimiser/size_text.h"

#include "framework/core/format.h"

namespace {

constexpr std::uint32_t kKilo = 1024;
constexpr std::uint32_t kMega = 1024 * 1024;
constexpr std::uint32_t kGiga = 1024 * 1024 * 1024;

// Whole units and truncated tenths of `unit`, with the tenths dropped from
// `tenthsBelow` units up.
char* FormatUnits(std::uint32_t count, std::uint32_t unit, const char* letter,
                  std::uint32_t tenthsBelow, char* buffer, std::size_t capacity) {
    std::uint32_t whole = count / unit;
    auto tenths = static_cast<std::uint32_t>(std::uint64_t{count % unit} * 10 / unit);
    if (tenths != 0 && whole < tenthsBelow) {
        return JFormatInto(buffer, capacity, "%d%.%d%%s%", whole, tenths, letter);
    }
    return JFormatInto(buffer, capacity, "%d%%s%", whole, letter);
}

}  // namespace

char* FormatByteCount(std::uint32_t count, char* buffer, std::size_t capacity) {
    std::uint32_t units = count % 1000;
    std::uint32_t thousands = count / 1000 % 1000;
    std::uint32_t millions = count / 1000000;
    if (millions > 0) {
        return JFormatInto(buffer, capacity, "%d%,%d03%,%d03%", millions, thousands, units);
    }
    if (thousands > 0) {
        return JFormatInto(buffer, capacity, "%d%,%d03%", thousands, units);
    }
    return JFormatInto(buffer, capacity, "%d%", units);
}

char* FormatFileSize(std::uint32_t count, char* buffer, std::size_t capacity) {
    if (count < kKilo) {
        return count == 1 ? JFormatInto(buffer, capacity, "1 byte")
                          : JFormatInto(buffer, capacity, "%d% bytes", count);
    }
    if (count < kMega) {
        return FormatUnits(count, kKilo, "K", 100, buffer, capacity);
    }
    if (count < kGiga) {
        return FormatUnits(count, kMega, "M", 100, buffer, capacity);
    }
    return FormatUnits(count, kGiga, "G", 0xFFFFFFFFu, buffer, capacity);
}
