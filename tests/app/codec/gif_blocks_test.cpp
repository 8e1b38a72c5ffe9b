#include "app/codec/gif_blocks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/codec/output_stream.h"
#include "framework/core/memory.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Output() {
    return CopyOutput();
}

class GifBlocks : public testing::Test {
protected:
    void SetUp() override { ResetOutput(); }
};

TEST_F(GifBlocks, ScreenHeaderIsGif89aWithAspectByte49) {
    std::uint8_t table[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    WriteScreenHeader(0x0102, 0x0304, 7, 2, table);
    Bytes expected{'G', 'I', 'F', '8', '9', 'a', 0x02, 0x01, 0x04, 0x03, 0x80 | 0x10 | 0x01, 7, 49};
    expected.insert(expected.end(), table, table + 12);
    EXPECT_EQ(Output(), expected);
}

TEST_F(GifBlocks, ScreenHeaderWithoutTable) {
    WriteScreenHeader(1, 1, 0, 1, nullptr);
    EXPECT_EQ(Output(), (Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x00, 0, 49}));
}

TEST_F(GifBlocks, ImageDescriptorPacksInterlaceAndLocalTable) {
    WriteImageDescriptor(1, 2, 3, 4, true, 8, nullptr);
    EXPECT_EQ(Output(), (Bytes{0x2C, 1, 0, 2, 0, 3, 0, 4, 0, 0x40}));
    ResetOutput();
    std::uint8_t table[6] = {9, 9, 9, 8, 8, 8};
    WriteImageDescriptor(0, 0, 1, 1, false, 1, table);
    EXPECT_EQ(Output(), (Bytes{0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0x80, 9, 9, 9, 8, 8, 8}));
}

TEST_F(GifBlocks, GraphicControlPacksDisposalUserInputAndTransparency) {
    WriteGraphicControl(true, 2, true, 0x1234, 5);
    EXPECT_EQ(Output(), (Bytes{0x21, 0xF9, 4, 2 * 4 + 2 + 1, 0x34, 0x12, 5, 0}));
}

TEST_F(GifBlocks, LoopExtensionIsNineteenBytes) {
    WriteLoopExtension(3);
    Bytes expected{0x21, 0xFF, 11,  'N', 'E', 'T', 'S', 'C', 'A', 'P',
                   'E',  '2',  '.', '0', 3,   1,   3,   0,   0};
    EXPECT_EQ(Output(), expected);
}

TEST_F(GifBlocks, CommentOf300BytesIsSplitInto255And45) {
    std::string text(300, 'c');
    WriteCommentExtension(text.c_str());
    Bytes out = Output();
    ASSERT_EQ(out.size(), 2u + 1u + 255u + 1u + 45u + 1u);
    EXPECT_EQ(out[2], 255);
    EXPECT_EQ(out[2 + 256], 45);
    EXPECT_EQ(out.back(), 0);
}

TEST_F(GifBlocks, EmptyCommentAndTrailer) {
    WriteCommentExtension("");
    WriteTrailer();
    EXPECT_EQ(Output(), (Bytes{0x21, 0xFE, 0x00, 0x3B}));
}

TEST_F(GifBlocks, OutputStreamSpansBlocksInOrder) {
    Bytes chunk(70001);
    for (std::size_t i = 0; i < chunk.size(); ++i) {
        chunk[i] = std::uint8_t(i * 13);
    }
    for (int i = 0; i < 3; ++i) {
        WriteOutput(std::uint32_t(chunk.size()), chunk.data());
    }
    Bytes rest(kOutputBlockSize * 2 - 3 * 70001, 7);  // ends on a block boundary
    WriteOutput(std::uint32_t(rest.size()), rest.data());
    EXPECT_EQ(OutputSize(), kOutputBlockSize * 2);
    Bytes out = Output();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(std::equal(chunk.begin(), chunk.end(), out.begin() + i * 70001)) << i;
    }
    ResetOutput();
    EXPECT_EQ(OutputSize(), 0u);
    WriteOutputByte(42);
    EXPECT_EQ(Output(), (Bytes{42}));
}

}  // namespace
