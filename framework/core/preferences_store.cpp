#include "framework/core/preferences_store.h"

#include "framework/core/strings.h"

namespace {

// Length of a value text once escaped.
std::size_t EscapedLength(char c) {
    return (c == '\n' || c == '\\') ? 2 : 1;
}

// How many value characters the next line carries.
std::size_t PieceLength(const char* value) {
    std::size_t taken = 0;
    std::size_t escaped = 0;
    while (value[taken] != '\0' && taken < kSettingsPieceMax &&
           escaped + EscapedLength(value[taken]) <= kSettingsValueMax) {
        escaped += EscapedLength(value[taken]);
        ++taken;
    }
    return taken;
}

bool WritePiece(JFile* file, const char* key, const char* piece, std::size_t length) {
    char line[kSettingsKeyMax + 1 + kSettingsValueMax];
    std::size_t used = 0;
    for (const char* k = key; *k != '\0' && used < kSettingsKeyMax; ++k) {
        line[used++] = *k;
    }
    line[used++] = ':';
    for (std::size_t i = 0; i < length; ++i) {
        char c = piece[i];
        if (c == '\n' || c == '\\') {
            line[used++] = '\\';
            c = (c == '\n') ? 'n' : '\\';
        }
        line[used++] = c;
    }
    return JFileWriteLine(file, line, static_cast<std::uint32_t>(used));
}

void Unescape(const char* escaped, std::size_t length, char* out) {
    std::size_t used = 0;
    for (std::size_t i = 0; i < length; ++i) {
        char c = escaped[i];
        if (c == '\\') {
            if (++i == length) {
                break;  // a backslash at the very end is dropped
            }
            c = escaped[i] == 'n' ? '\n' : escaped[i];
        }
        out[used++] = c;
    }
    out[used] = '\0';
}

}  // namespace

SettingsRead ReadSettingsLine(JFile* file, SettingsLine* line) {
    char text[kSettingsLineRead];
    std::uint32_t length = kSettingsLineRead;
    if (!JFileReadLine(file, text, &length) || length == 0) {
        return SettingsRead::End;
    }
    std::uint32_t colon = 0;
    while (colon < length && text[colon] != ':') {
        ++colon;
    }
    if (colon == length || colon > kSettingsKeyMax) {
        return SettingsRead::Bad;
    }
    std::uint32_t valueLength = length - colon - 1;
    if (valueLength > kSettingsValueMax) {
        return SettingsRead::Bad;
    }
    JStrCopyN(line->key, text, colon);
    Unescape(text + colon + 1, valueLength, line->value);
    return SettingsRead::Line;
}

bool WriteSettingsValue(JFile* file, const char* key, const char* value) {
    do {
        std::size_t length = PieceLength(value);
        if (!WritePiece(file, key, value, length)) {
            return false;
        }
        value += length;
    } while (*value != '\0');
    return true;
}
