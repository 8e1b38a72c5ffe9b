// The order in which the rows of a rectangle are stored: top to bottom, or
// the four interlaced passes of GIF (rows 0, 8, 16...; 4, 12...; 2, 6, 10...;
// 1, 3, 5...), where a pass whose first row lies at or beyond the bottom has
// no rows, so that images less than five rows high get exactly their rows.
#pragma once

struct RowOrder {
    int top;
    int bottom;
    int row;       // the next row in this order
    int step;      // interlaced: rows between two rows of this pass
    int nextStep;  // interlaced: the next pass's step
    int pass;
    bool interlaced;

    static RowOrder Start(int top, int bottom, bool interlaced) {
        return RowOrder{top, bottom, top, 8, 8, 0, interlaced};
    }

    bool HasRow() const { return interlaced ? pass < kPasses : row < bottom; }

    void Advance() {
        if (!interlaced) {
            ++row;
            return;
        }
        row += step;
        while (row >= bottom && pass < kPasses) {
            ++pass;
            step = nextStep;
            nextStep /= 2;
            row = top + step / 2;
        }
    }

    static constexpr int kPasses = 4;
};
