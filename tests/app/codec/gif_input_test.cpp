#include "app/codec/gif_input.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/core/files.h"
#include "tests/test_directory.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(GifInputMemory, ReadingExactlyTheBlockSucceedsAndTheNextByteFails) {
    Bytes block{1, 2, 3, 4};
    InputFromMemory(4, block.data());
    EXPECT_EQ(InputPosition(), 0u);
    const std::uint8_t* bytes = InputBytes(4);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[3], 4);
    std::uint8_t byte = 0;
    EXPECT_FALSE(InputByte(byte));
    EXPECT_TRUE(InputAtEnd());
    EXPECT_EQ(InputPosition(), 4u);
    EndInputFromMemory();
}

TEST(GifInputMemory, ZeroLengthRequestsAndTerminatorSubBlockSucceed) {
    Bytes block{0, 3, 7, 8, 9};
    InputFromMemory(std::uint32_t(block.size()), block.data());
    EXPECT_NE(InputBytes(0), nullptr);
    std::uint8_t length = 99;
    EXPECT_NE(InputSubBlock(length), nullptr);
    EXPECT_EQ(length, 0);
    const std::uint8_t* data = InputSubBlock(length);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(length, 3);
    EXPECT_EQ(data[2], 9);
    EndInputFromMemory();
}

TEST(GifInputMemory, DetachedInputHandsOutNothing) {
    Bytes block{1, 2, 3};
    InputFromMemory(3, block.data());
    EndInputFromMemory();
    EXPECT_EQ(InputBytes(1), nullptr);
    EXPECT_TRUE(InputAtEnd());
}

class GifInputFile : public testing::Test {
protected:
    JFile* Open(const std::string& contents) {
        directory_.Write("input.gif", contents);
        FileSpec* spec = JFileSpecFromPath(directory_.File("input.gif").c_str());
        file_ = JFileOpen(spec, JFileMode::Read);
        JFileSpecFree(spec);
        return file_;
    }
    void TearDown() override {
        EndFileInput();
        if (file_) {
            JFileClose(file_);
        }
    }

    TestDirectory directory_;
    JFile* file_ = nullptr;
};

TEST_F(GifInputFile, RefillKeepsUnconsumedBytesInFront) {
    std::string contents(2000, '\0');
    for (std::size_t i = 0; i < contents.size(); ++i) {
        contents[i] = char(i * 7);
    }
    JFile* file = Open(contents);
    ASSERT_NE(file, nullptr);
    std::uint32_t refilled = 0;
    BeginFileInput(file, 2000, 2000, [&refilled](std::uint32_t bytes) { refilled += bytes; });
    ASSERT_NE(InputBytes(1021), nullptr);
    EXPECT_EQ(refilled, 1024u);
    const std::uint8_t* bytes = InputBytes(7);  // 3 buffered, 4 new
    ASSERT_NE(bytes, nullptr);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(bytes[i], std::uint8_t((1021 + i) * 7)) << i;
    }
    EXPECT_EQ(InputPosition(), 1028u);
    EXPECT_EQ(InputBytes(1025), nullptr);  // more than the buffer holds
}

TEST_F(GifInputFile, TruncatedSubBlockFailsAndEndDependsOnBufferedBytes) {
    std::string contents = "GIF89a";
    contents += char(255);
    contents += std::string(100, 'x');
    JFile* file = Open(contents);
    ASSERT_NE(file, nullptr);
    std::uint32_t position = 0;
    JFileSeek(file, 6);
    JFileTell(file, &position);
    BeginFileInput(file, std::uint32_t(contents.size()), std::uint32_t(contents.size()) - position);
    EXPECT_EQ(InputPosition(), 6u);
    std::uint8_t length = 0;
    EXPECT_EQ(InputSubBlock(length), nullptr);
    EXPECT_FALSE(InputAtEnd());  // the 100 bytes stay buffered
    EXPECT_NE(InputBytes(100), nullptr);
    EXPECT_TRUE(InputAtEnd());
}

TEST_F(GifInputFile, PositionAfterScreenDescriptorIsThirteen) {
    std::string contents = "GIF87a";
    contents += std::string("\x01\x00\x01\x00\x00\x00\x00", 7);
    contents += "\x3B";
    JFile* file = Open(contents);
    ASSERT_NE(file, nullptr);
    JFileSeek(file, 6);
    BeginFileInput(file, std::uint32_t(contents.size()), std::uint32_t(contents.size()) - 6);
    ASSERT_NE(InputBytes(7), nullptr);
    EXPECT_EQ(InputPosition(), 13u);
}

}  // namespace
