#include "app/codec/image_decode.h"

#include <gtest/gtest.h>

#include "tests/app/codec/codec_test_support.h"

namespace {

// An image of `rows` rows, one pixel wide, whose n-th stored row holds n.
Bytes RowsNumberedInStoredOrder(int rows) {
    CodeStream stream;
    stream.Put(1 << 4, 5);
    for (int n = 0; n < rows; ++n) {
        stream.Put(n, 5);  // with rows below 10 the table never forces 6 bits
    }
    stream.Put((1 << 4) + 1, 5);
    return stream.Image(4);
}

// The map row that received each stored row.
std::vector<int> StoredRowOrder(int rows) {
    Bytes pixels;
    EXPECT_EQ(DecodePixels(RowsNumberedInStoredOrder(rows), 1, rows, true, pixels),
              DecodeResult::Decoded);
    std::vector<int> order(std::size_t(rows), -1);
    for (int row = 0; row < rows; ++row) {
        order[pixels[std::size_t(row)]] = row;
    }
    return order;
}

TEST(InterlacedRows, OneToNineRowsFollowTheFourPasses) {
    EXPECT_EQ(StoredRowOrder(1), (std::vector<int>{0}));
    EXPECT_EQ(StoredRowOrder(2), (std::vector<int>{0, 1}));
    EXPECT_EQ(StoredRowOrder(3), (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(StoredRowOrder(4), (std::vector<int>{0, 2, 1, 3}));
    EXPECT_EQ(StoredRowOrder(5), (std::vector<int>{0, 4, 2, 1, 3}));
    EXPECT_EQ(StoredRowOrder(6), (std::vector<int>{0, 4, 2, 1, 3, 5}));
    EXPECT_EQ(StoredRowOrder(7), (std::vector<int>{0, 4, 2, 6, 1, 3, 5}));
    EXPECT_EQ(StoredRowOrder(8), (std::vector<int>{0, 4, 2, 6, 1, 3, 5, 7}));
    EXPECT_EQ(StoredRowOrder(9), (std::vector<int>{0, 8, 4, 2, 6, 1, 3, 5, 7}));
}

TEST(InterlacedRows, SurplusRowsAfterLastPassAreIgnored) {
    CodeStream stream;
    stream.Put(16, 5);
    for (int n : {1, 2, 3, 4}) {
        stream.Put(n, 5);
    }
    stream.Put(17, 5);
    Bytes pixels;
    EXPECT_EQ(DecodePixels(stream.Image(4), 1, 3, true, pixels),
              DecodeResult::DecodedWithExtraData);
    EXPECT_EQ(pixels, (Bytes{1, 3, 2}));
}

TEST(DecodeFrameImage, SkippingLeavesTransparentPixelsUnchanged) {
    Bytes source{5, 1, 5, 2};
    Bytes image = EncodePixels(source, 4, 1, 8, false);
    PixelMap map = MapOfBytes(4, 3, Bytes(12, 9));
    FrameImage record{{1, 0, 2, 4}, image};
    EXPECT_EQ(DecodeFrameImage(map, record, false, IndexPlacement{IdentityTable(), true, 5}),
              DecodeResult::Decoded);
    EXPECT_EQ(BytesOfMap(map), (Bytes{9, 9, 9, 9, 9, 1, 9, 2, 9, 9, 9, 9}));
}

TEST(DecodeFrameImage, WritesOnlyInsideItsRectangle) {
    Bytes source(6, 7);
    Bytes image = EncodePixels(source, 3, 2, 8, false);
    PixelMap map = MapOfBytes(5, 5, Bytes(25, 0));
    FrameImage record{{2, 1, 4, 4}, image};
    EXPECT_EQ(DecodeFrameImage(map, record, false, IndexPlacement{IdentityTable()}),
              DecodeResult::Decoded);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            bool inside = y >= 2 && y < 4 && x >= 1 && x < 4;
            EXPECT_EQ(*map.At(x, y), inside ? 7 : 0) << x << "," << y;
        }
    }
}

TEST(DecodeFrameImage, RectangleOutsideTheMapFailsUntouched) {
    Bytes source(4, 1);
    Bytes image = EncodePixels(source, 2, 2, 2, false);
    PixelMap map = MapOfBytes(2, 2, Bytes(4, 0));
    for (FrameRect rect : {FrameRect{1, 1, 3, 3}, FrameRect{-1, 0, 1, 2}, FrameRect{0, 2, 2, 1}}) {
        FrameImage record{rect, image};
        EXPECT_EQ(DecodeFrameImage(map, record, false, IndexPlacement{IdentityTable()}),
                  DecodeResult::Failed);
    }
    EXPECT_EQ(BytesOfMap(map), Bytes(4, 0));
}

}  // namespace
