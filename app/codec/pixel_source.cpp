#include "app/codec/pixel_source.h"

#include <algorithm>

PixelSource::PixelSource(const FrameRect& rect, std::uint32_t stride, bool interlaced,
                         RowFiller filler)
    : row_(std::size_t(std::max(RectWidth(rect), 0))),
      position_(row_.size()),
      stride_(stride),
      left_(rect.left),
      order_(RowOrder::Start(rect.top, rect.bottom, interlaced)),
      filler_(std::move(filler)) {}

void PixelSource::FillNextRow() {
    std::uint32_t offset = std::uint32_t(order_.row) * stride_ + std::uint32_t(left_);
    filler_(row_.data(), std::uint32_t(row_.size()), offset);
    position_ = 0;
    order_.Advance();
}
