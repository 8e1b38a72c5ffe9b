#include "app/edit/entry_text.h"

#include <algorithm>

#include "framework/core/format.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

bool OnlyBlanks(const char* text) {
    while (*text == ' ') {
        ++text;
    }
    return *text == '\0';
}

bool ReadWholeNumber(const char* text, std::int64_t* value) {
    const char* cursor = text;
    std::int32_t scanned = 0;
    if (!JScanAdvance(&cursor, "%d%", &scanned)) {
        return false;
    }
    // The scan stops after ten digits; the rest of a longer number follows.
    while (IsDigit(*cursor)) {
        ++cursor;
    }
    if (!OnlyBlanks(cursor)) {
        return false;
    }
    const char* at = text;
    while (*at == ' ') {
        ++at;
    }
    const bool negative = *at == '-';
    if (*at == '+' || *at == '-') {
        ++at;
    }
    std::int64_t magnitude = 0;
    for (; IsDigit(*at); ++at) {
        magnitude = std::min(magnitude * 10 + (*at - '0'), kWholeNumberLimit);
    }
    *value = negative ? -magnitude : magnitude;
    return true;
}
