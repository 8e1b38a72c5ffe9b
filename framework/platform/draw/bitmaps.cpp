#include "framework/platform/draw/bitmaps.h"

#include <algorithm>

#include "framework/platform/draw/resource_images.h"

namespace {

struct BitmapTable {
    const JBitmapResource* entries = nullptr;
    std::size_t count = 0;
};

BitmapTable& Table() {
    static BitmapTable table;
    return table;
}

// 4 by 4 ordered-dither thresholds: level n of 16 sets the cells below n.
constexpr std::uint8_t kBayer[4][4] = {
    {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

JPattern GreyPattern(int level) {  // level 0 (all clear) to 16 (all set)
    JPattern pattern;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            if (kBayer[y & 3][x & 3] < level) {
                pattern.rows[y] |= static_cast<std::uint8_t>(0x80 >> x);
            }
        }
    }
    return pattern;
}

// Line patterns: horizontal, vertical, two diagonals, crosses and diagonal
// crosses, each at spacings 2, 4, 8 and 8 with a double line.
JPattern LinePattern(int kind, int spacing, bool doubled) {
    JPattern pattern;
    auto on = [&](int offset) {
        const int m = ((offset % spacing) + spacing) % spacing;
        return m == 0 || (doubled && m == 1);
    };
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            bool set = false;
            switch (kind) {
                case 0:
                    set = on(y);
                    break;
                case 1:
                    set = on(x);
                    break;
                case 2:
                    set = on(x + y);
                    break;
                case 3:
                    set = on(x - y);
                    break;
                case 4:
                    set = on(x) || on(y);
                    break;
                case 5:
                    set = on(x + y) || on(x - y);
                    break;
                case 6:
                    set = on(x) && on(y);
                    break;  // dots
                default:
                    set = (y % 4 == 0) || (x == ((y / 4) % 2) * 4);
                    break;  // bricks
            }
            if (set) {
                pattern.rows[y] |= static_cast<std::uint8_t>(0x80 >> x);
            }
        }
    }
    return pattern;
}

// Fill patterns 2 to 6 (bitmaps 258 to 262) are the five standard shades in
// fifths of background: all foreground, dark grey, the even checkerboard
// through which disabled shapes are drawn (pattern 4), light grey, all
// background. 263 to 301 then run finely from all foreground to all
// background, and 257 is the checkerboard again.
constexpr int kStandardShades[5] = {0, 4, 8, 12, 16};

bool BuiltInPattern(std::uint16_t id, JPattern* pattern) {
    if (id == 257) {
        *pattern = GreyPattern(8);
        return true;
    }
    if (id >= 258 && id <= 262) {
        *pattern = GreyPattern(kStandardShades[id - 258]);
        return true;
    }
    if (id >= 263 && id <= 301) {
        *pattern = GreyPattern(((id - 263) * 16 + 19) / 38);
        return true;
    }
    if (id >= 129 && id <= 160) {
        const int index = id - 129;
        constexpr int kSpacings[4] = {2, 4, 8, 8};
        *pattern = LinePattern(index / 4, kSpacings[index % 4], index % 4 == 3);
        return true;
    }
    return false;
}

const JBitmapResource* FindInTable(std::uint16_t id) {
    const BitmapTable& table = Table();
    const JBitmapResource* end = table.entries + table.count;
    const JBitmapResource* found = std::lower_bound(
        table.entries, end, id, [](const JBitmapResource& e, std::uint16_t v) { return e.id < v; });
    return found != end && found->id == id ? found : nullptr;
}

}  // namespace

void JUseBitmapTable(const JBitmapResource* table, std::size_t count) {
    Table() = BitmapTable{table, table == nullptr ? 0 : count};
}

bool JLoadBitmapResource(std::uint16_t id, JSurface* surface) {
    const JBitmapResource* entry = FindInTable(id);
    if (entry == nullptr) {
        entry = JCompiledBitmap(id);
    }
    if (entry != nullptr) {
        JSurfaceResize(surface, entry->width, entry->height);
        std::copy(entry->pixels, entry->pixels + surface->pixels.size(), surface->pixels.begin());
        return true;
    }
    JPattern pattern;
    if (!BuiltInPattern(id, &pattern)) {
        return false;
    }
    JSurfaceResize(surface, 8, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            // A set bit is white, as in a one-bit bitmap.
            surface->Row(y)[x] = (pattern.rows[y] >> (7 - x)) & 1 ? kWhite : kBlack;
        }
    }
    return true;
}

std::uint16_t JPatternBitmapId(int pattern) {
    if (pattern >= 2 && pattern <= 45) {
        return static_cast<std::uint16_t>(256 + pattern);
    }
    if (pattern >= 46 && pattern <= 50) {
        return 302;
    }
    if (pattern >= 51 && pattern <= 90) {
        return static_cast<std::uint16_t>(pattern + 78);
    }
    return pattern >= 91 ? 257 : 0;
}

bool JLoadPattern(std::uint16_t bitmapId, JPattern* pattern) {
    JSurface bitmap;
    if (!JLoadBitmapResource(bitmapId, &bitmap) || bitmap.width < 8 || bitmap.height < 8) {
        return false;
    }
    *pattern = JPattern{};
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            if (RasterToMono(bitmap.At(x, y)) == kWhite) {
                pattern->rows[y] |= static_cast<std::uint8_t>(0x80 >> x);
            }
        }
    }
    return true;
}
