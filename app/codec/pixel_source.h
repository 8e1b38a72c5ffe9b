// The pixels of a rectangle handed to the encoder one by one, row by row in
// plain or interlaced order. A row filler produces each row's bytes, so the
// same encoder serves plain copies and rows computed from two screens.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "app/codec/pixel_map.h"
#include "app/codec/row_order.h"

// Fills `row` with the `width` bytes of the image row whose first pixel sits
// at `sourceOffset` in the source (row x stride + left, in the coordinates of
// the rectangle being encoded).
using RowFiller =
    std::function<void(std::uint8_t* row, std::uint32_t width, std::uint32_t sourceOffset)>;

class PixelSource {
public:
    PixelSource(const FrameRect& rect, std::uint32_t stride, bool interlaced, RowFiller filler);

    std::uint8_t Next() {
        if (position_ == row_.size()) {
            FillNextRow();
        }
        return row_[position_++];
    }

private:
    void FillNextRow();

    std::vector<std::uint8_t> row_;
    std::size_t position_;  // next byte of row_ to hand out
    std::uint32_t stride_;
    int left_;
    RowOrder order_;
    RowFiller filler_;
};
