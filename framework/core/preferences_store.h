// The settings file's line format: "key:value" lines ended by CR LF. Values
// are escaped (line feed as \n, backslash as \\) and a long value is split
// over consecutive lines with the same key, at most 80 escaped characters a
// line. The file is always rewritten whole (with JFileReplace, so a failed
// save leaves the old settings intact).
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/core/files.h"

constexpr std::size_t kSettingsKeyMax = 50;
constexpr std::size_t kSettingsValueMax = 80;
constexpr std::size_t kSettingsPieceMax = 79;  // value characters a line carries
constexpr std::uint32_t kSettingsLineRead = 132;

struct SettingsLine {
    char key[kSettingsKeyMax + 1];
    char value[kSettingsValueMax + 1];  // unescaped
};

enum class SettingsRead { Line, End, Bad };

// Reads the next line; End at the end of the file, Bad for a line that ends
// the reading (no colon, a key over 50 or a value over 80 characters).
SettingsRead ReadSettingsLine(JFile* file, SettingsLine* line);

// Writes one key with its value, split over as many lines as it needs.
bool WriteSettingsValue(JFile* file, const char* key, const char* value);
