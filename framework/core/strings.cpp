#include "framework/core/strings.h"

#include <cstdint>

#include "framework/core/memory.h"

namespace {

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Length of `s`, but no more than n: callers may pass a count longer than
// the text, and nothing past its terminator is read.
std::size_t BoundedLength(const char* s, std::size_t n) {
    std::size_t length = 0;
    while (length < n && s[length] != '\0') {
        ++length;
    }
    return length;
}

char* CopyTerminated(char* destination, const char* source, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        destination[i] = source[i];
    }
    destination[n] = '\0';
    return destination;
}

char* HeapString(std::size_t length) {
    return static_cast<char*>(JAlloc(length + 1));
}

}  // namespace

bool JStrEqual(const char* a, const char* b) {
    for (; *a == *b; ++a, ++b) {
        if (*a == '\0') {
            return true;
        }
    }
    return false;
}

bool JStrEqualN(const char* a, const char* b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) {
            return false;
        }
        if (a[i] == '\0') {
            return true;
        }
    }
    return true;
}

bool JStrEqualNoCase(const char* a, const char* b) {
    for (; UpperAscii(*a) == UpperAscii(*b); ++a, ++b) {
        if (*a == '\0') {
            return true;
        }
    }
    return false;
}

std::size_t JStrLen(const char* s) {
    std::size_t length = 0;
    while (s && s[length] != '\0') {
        ++length;
    }
    return length;
}

void JStrCopyN(char* destination, const char* source, std::size_t n) {
    CopyTerminated(destination, source, BoundedLength(source, n));
}

char* JStrCopyEnd(char* destination, const char* source) {
    const std::size_t length = JStrLen(source);
    return CopyTerminated(destination, source, length) + length;
}

char* JStrDup(const char* s) {
    const std::size_t length = JStrLen(s);
    return CopyTerminated(HeapString(length), s, length);
}

char* JStrDupN(const char* s, std::size_t n) {
    const std::size_t length = BoundedLength(s, n);
    return CopyTerminated(HeapString(length), s, length);
}

char* JStrDupTempN(const char* s, std::size_t n) {
    const std::size_t length = BoundedLength(s, n);
    return CopyTerminated(static_cast<char*>(JTempAlloc(length + 1)), s, length);
}

char* JStrDupTail(const char* s) {
    return JStrDup(*s != '\0' ? s + 1 : s);
}

void JStrFree(char* s) {
    if (s) {
        JFree(s);
    }
}

char* JStrConcat(const char* a, const char* b) {
    const char* const pair[] = {a, b, nullptr};
    return JStrConcatList(pair);
}

char* JStrConcatList(const char* const* strings) {
    std::size_t total = 0;
    for (const char* const* s = strings; *s; ++s) {
        total += JStrLen(*s);
    }
    char* result = HeapString(total);
    char* end = result;
    *end = '\0';
    for (const char* const* s = strings; *s; ++s) {
        end = JStrCopyEnd(end, *s);
    }
    return result;
}

char* JStrAppendChar(const char* s, char c) {
    const std::size_t length = JStrLen(s);
    char* result = CopyTerminated(HeapString(length + 1), s, length);
    result[length] = c;
    result[length + 1] = '\0';
    return result;
}

const char* JStrFind(const char* s, char c) {
    for (;; ++s) {
        if (*s == c) {
            return s;
        }
        if (*s == '\0') {
            return nullptr;
        }
    }
}

const char* JStrFindOrEnd(const char* s, char c) {
    while (*s != '\0' && *s != c) {
        ++s;
    }
    return s;
}

const char* JStrFindLast(const char* s, char c) {
    const char* found = nullptr;
    for (;; ++s) {
        if (*s == c) {
            found = s;
        }
        if (*s == '\0') {
            return found;
        }
    }
}

const char* JStrFindNth(const char* s, char c, unsigned n) {
    // The count is a 16-bit value, like every count of the framework.
    auto remaining = static_cast<std::uint16_t>(n);
    if (remaining == 0) {
        return nullptr;
    }
    for (;; ++s) {
        if (*s == c && --remaining == 0) {
            return s;
        }
        if (*s == '\0') {
            return nullptr;
        }
    }
}

const char* JStrFindNoCase(const char* s, char c) {
    const char wanted = UpperAscii(c);
    for (;; ++s) {
        if (UpperAscii(*s) == wanted) {
            return s;
        }
        if (*s == '\0') {
            return nullptr;
        }
    }
}

char* JStrRepeat(char c, std::size_t n) {
    char* result = HeapString(n);
    JStrFill(result, c, n);
    result[n] = '\0';
    return result;
}

char* JStrRepeatTemp(char c, std::size_t n) {
    char* result = static_cast<char*>(JTempAlloc(n + 1));
    JStrFill(result, c, n);
    result[n] = '\0';
    return result;
}

void JStrFill(char* destination, char c, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        destination[i] = c;
    }
}

char* JStrCapitalize(const char* s) {
    char* result = JStrDup(s);
    for (char* p = result; *p != '\0'; ++p) {
        if (p == result || p[-1] == ' ') {
            *p = UpperAscii(*p);
        }
    }
    return result;
}
