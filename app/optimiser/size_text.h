// Byte counts as the reports and the document window show them.
#pragma once

#include <cstddef>
#include <cstdint>

// "1,234,567": thousands separated by commas.
char* FormatByteCount(std::uint32_t count, char* buffer, std::size_t capacity);
// "1 byte", "1023 bytes", "1.4K", "146K", "1.5M", "2G": tenths truncated,
// and dropped from 100 units up (except for G).
char* FormatFileSize(std::uint32_t count, char* buffer, std::size_t capacity);
