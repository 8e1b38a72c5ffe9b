// The %-directive language: every message, label and small data line of the
// program is formatted and scanned with it. A directive is `%`, a conversion
// letter, an optional spec and a closing `%`: "%d02,2%", "%s%", "%f1.2,2%".
//
// The values follow the format in directive order. Each value is wrapped in a
// JFormatArg (or, for scanning, a JScanArg) that remembers its type, so a
// directive that meets a value of another kind converts it instead of reading
// garbage, and a directive without a value reads 0 (or an empty string).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/core/strings.h"

struct JFormatArg {
    enum class Kind : std::uint8_t { None, Signed, Unsigned, Real, Text };
    Kind kind = Kind::None;
    std::int64_t integer = 0;
    double real = 0;
    const char* text = nullptr;

    JFormatArg() = default;
    JFormatArg(signed char v) : kind(Kind::Signed), integer(v) {}
    JFormatArg(short v) : kind(Kind::Signed), integer(v) {}
    JFormatArg(int v) : kind(Kind::Signed), integer(v) {}
    JFormatArg(long v) : kind(Kind::Signed), integer(v) {}
    JFormatArg(long long v) : kind(Kind::Signed), integer(v) {}
    JFormatArg(unsigned char v) : kind(Kind::Unsigned), integer(v) {}
    JFormatArg(unsigned short v) : kind(Kind::Unsigned), integer(v) {}
    JFormatArg(unsigned v) : kind(Kind::Unsigned), integer(v) {}
    JFormatArg(unsigned long v) : kind(Kind::Unsigned), integer(static_cast<std::int64_t>(v)) {}
    JFormatArg(unsigned long long v)
        : kind(Kind::Unsigned), integer(static_cast<std::int64_t>(v)) {}
    JFormatArg(char v) : kind(Kind::Unsigned), integer(static_cast<unsigned char>(v)) {}
    JFormatArg(bool v) : kind(Kind::Unsigned), integer(v ? 1 : 0) {}
    JFormatArg(double v) : kind(Kind::Real), real(v) {}
    JFormatArg(float v) : kind(Kind::Real), real(v) {}
    JFormatArg(const char* v) : kind(Kind::Text), text(v) {}
};

// The array-based forms behind the variadic templates.
char* JFormatList(const char* format, const JFormatArg* args, std::size_t count);
char* JFormatTempList(const char* format, const JFormatArg* args, std::size_t count);
char* JFormatIntoList(char* buffer, std::size_t capacity, const char* format,
                      const JFormatArg* args, std::size_t count);
// Bytes the formatted text takes, without its terminator.
std::size_t JFormatMeasureList(const char* format, const JFormatArg* args, std::size_t count);

// New heap string, owned by the caller, released with JStrFree.
template <typename... Values>
char* JFormat(const char* format, const Values&... values) {
    const JFormatArg args[] = {JFormatArg(values)..., JFormatArg()};
    return JFormatList(format, args, sizeof...(Values));
}

// Temporary string: valid until the end of the current event-loop step.
template <typename... Values>
char* JFormatTemp(const char* format, const Values&... values) {
    const JFormatArg args[] = {JFormatArg(values)..., JFormatArg()};
    return JFormatTempList(format, args, sizeof...(Values));
}

// The same as a std::string, for code that keeps its texts that way.
template <typename... Values>
std::string JFormatString(const char* format, const Values&... values) {
    char* made = JFormat(format, values...);
    std::string text = made != nullptr ? made : "";
    JStrFree(made);
    return text;
}

// Writes into a caller's buffer of `capacity` bytes (the text is cut to fit,
// always terminated); returns the buffer.
template <typename... Values>
char* JFormatInto(char* buffer, std::size_t capacity, const char* format, const Values&... values) {
    const JFormatArg args[] = {JFormatArg(values)..., JFormatArg()};
    return JFormatIntoList(buffer, capacity, format, args, sizeof...(Values));
}

// Writes `value` with "%u%"; the buffer needs room for 11 bytes.
void JFormatUnsigned(char* buffer, std::size_t capacity, std::uint32_t value);

// A destination of a scan. The size letter of the directive decides how many
// bits of the value are kept; they are then stored into the destination as
// its own type. Text fields go into a buffer of known capacity (cut to fit) or,
// with the `a` and `t` spec letters, into a new heap or temporary string.
struct JScanArg {
    enum class Kind : std::uint8_t {
        None,
        Int8,
        UInt8,
        Int16,
        UInt16,
        Int32,
        UInt32,
        Real,
        Char,
        Buffer,
        StringPointer
    };
    Kind kind = Kind::None;
    void* target = nullptr;
    std::size_t capacity = 0;

    JScanArg() = default;
    JScanArg(std::int8_t* p) : kind(Kind::Int8), target(p) {}
    JScanArg(std::uint8_t* p) : kind(Kind::UInt8), target(p) {}
    JScanArg(std::int16_t* p) : kind(Kind::Int16), target(p) {}
    JScanArg(std::uint16_t* p) : kind(Kind::UInt16), target(p) {}
    JScanArg(std::int32_t* p) : kind(Kind::Int32), target(p) {}
    JScanArg(std::uint32_t* p) : kind(Kind::UInt32), target(p) {}
    JScanArg(double* p) : kind(Kind::Real), target(p) {}
    JScanArg(char* p) : kind(Kind::Char), target(p) {}  // a single character (%c%)
    JScanArg(char** p) : kind(Kind::StringPointer), target(p) {}
    template <std::size_t N>
    JScanArg(char (*buffer)[N]) : kind(Kind::Buffer), target(*buffer), capacity(N) {}
    JScanArg(char* buffer, std::size_t size) : kind(Kind::Buffer), target(buffer), capacity(size) {}
};

// What the most recent scan did.
struct ScanResult {
    std::uint32_t consumed;       // input bytes consumed
    std::uint32_t inputLength;    // total input length
    std::uint32_t converted;      // directives converted
    std::uint32_t formatReached;  // position reached in the format
    std::uint32_t formatLength;
    bool matched;  // the whole format was walked
};
const ScanResult& JLastScan();

bool JScanList(const char* text, const char* format, const JScanArg* args, std::size_t count);
bool JScanAdvanceList(const char** cursor, const char* format, const JScanArg* args,
                      std::size_t count);

// A character array given by name is a text buffer of its own size, not the
// single character its first element would be.
template <std::size_t N>
JScanArg JScanTarget(char (&buffer)[N]) {
    return JScanArg(buffer, N);
}
template <typename Target>
JScanArg JScanTarget(Target&& target) {
    return JScanArg(target);
}

// True when the whole format was matched; trailing input does not matter.
template <typename... Targets>
bool JScan(const char* text, const char* format, Targets&&... targets) {
    const JScanArg args[] = {JScanTarget(targets)..., JScanArg()};
    return JScanList(text, format, args, sizeof...(Targets));
}

// On a full match advances the cursor past the consumed input and returns
// true; otherwise leaves the cursor and returns false.
template <typename... Targets>
bool JScanAdvance(const char** cursor, const char* format, Targets&&... targets) {
    const JScanArg args[] = {JScanTarget(targets)..., JScanArg()};
    return JScanAdvanceList(cursor, format, args, sizeof...(Targets));
}

std::int32_t JParseInt(const char* text);        // "%d%", 0 when no digit was read
std::uint32_t JParseUnsigned(const char* text);  // "%u%", 0 when no digit was read
double JParseFloat(const char* text);            // "%f%"
