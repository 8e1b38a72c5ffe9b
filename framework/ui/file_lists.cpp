#include "framework/ui/file_lists.h"

#include <cstdint>

#include "framework/platform/platform.h"

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// The length of the valid UTF-8 sequence at `at`, 0 when it is not one
// (overlong forms, surrogates and values past U+10FFFF included).
std::size_t ValidSequenceAt(const std::string& text, std::size_t at) {
    const auto byte = [&text](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(at);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    std::uint32_t lowest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        lowest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        lowest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    std::uint32_t value = lead & (0x7Fu >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
        value = value << 6 | (byte(at + i) & 0x3Fu);
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    return value >= lowest && value <= 0x10FFFF && !surrogate ? length : 0;
}

}  // namespace

std::string JShownFileName(const std::string& name) {
    std::string shown;
    shown.reserve(name.size());
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t length = ValidSequenceAt(name, at);
        if (length == 0) {
            shown += kReplacement;
            ++at;
        } else {
            shown.append(name, at, length);
            at += length;
        }
    }
    return shown;
}

bool JFillFileListing(const std::string& directory, const std::string& pattern,
                      JFileListing* listing) {
    JFileListing filled;
    if (!JListDirectories(directory.c_str(), "*", &filled.directories) ||
        !JListFiles(directory.c_str(), pattern.c_str(), &filled.files)) {
        return false;
    }
    filled.shownDirectories.reserve(filled.directories.size());
    for (const std::string& name : filled.directories) {
        filled.shownDirectories.push_back("[" + JShownFileName(name) + "]");
    }
    filled.shownFiles.reserve(filled.files.size());
    for (const std::string& name : filled.files) {
        filled.shownFiles.push_back(JShownFileName(name));
    }
    *listing = std::move(filled);
    return true;
}
