#include <gtest/gtest.h>

#include <string>

#include "app/optimiser/size_text.h"

namespace {

std::string ByteCount(std::uint32_t count) {
    char buffer[32];
    return FormatByteCount(count, buffer, sizeof buffer);
}

std::string FileSize(std::uint32_t count) {
    char buffer[32];
    return FormatFileSize(count, buffer, sizeof buffer);
}

TEST(SizeTextTest, ByteCountsAreSeparatedInThousands) {
    EXPECT_EQ(ByteCount(0), "0");
    EXPECT_EQ(ByteCount(999), "999");
    EXPECT_EQ(ByteCount(1000), "1,000");
    EXPECT_EQ(ByteCount(1005), "1,005");
    EXPECT_EQ(ByteCount(7500), "7,500");
    EXPECT_EQ(ByteCount(1000000), "1,000,000");
    EXPECT_EQ(ByteCount(1234567), "1,234,567");
    EXPECT_EQ(ByteCount(2000005), "2,000,005");
    EXPECT_EQ(ByteCount(4294967295u), "4294,967,295");  // millions are not split
}

TEST(SizeTextTest, FileSizesTruncateTenths) {
    EXPECT_EQ(FileSize(0), "0 bytes");
    EXPECT_EQ(FileSize(1), "1 byte");
    EXPECT_EQ(FileSize(1023), "1023 bytes");
    EXPECT_EQ(FileSize(1024), "1K");
    EXPECT_EQ(FileSize(1535), "1.4K");
    EXPECT_EQ(FileSize(103000), "100K");  // tenths dropped from 100 up
    EXPECT_EQ(FileSize(150000), "146K");
    EXPECT_EQ(FileSize(1572864), "1.5M");
    EXPECT_EQ(FileSize(1073741824u), "1G");
    EXPECT_EQ(FileSize(4294967295u), "3.9G");  // tenths computed without overflow
}

}  // namespace
