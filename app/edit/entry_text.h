// Reading what the user typed into a value field (or gave on the command
// line): whole numbers and the end of a text.
#pragma once

#include <cstdint>

// True when nothing but blanks is left.
bool OnlyBlanks(const char* text);

// A whole number as "%d%" scans it (leading blanks, an optional sign,
// digits) with nothing but blanks after it. The scanner wraps at 32 bits,
// so the value is read again here and held at +-kWholeNumberLimit: a huge
// count stays huge instead of wrapping round to a small one.
constexpr std::int64_t kWholeNumberLimit = 999999999999;
bool ReadWholeNumber(const char* text, std::int64_t* value);
