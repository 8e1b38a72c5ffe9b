// The %-directive engine: values into text and text back into values.
//
// Formatting runs one routine per directive against a sink that either only
// counts or also writes, so the measuring pass yields exactly the bytes of the
// writing pass. Real numbers go through an exact decimal expansion of the
// double: every digit is the true digit of the binary value, so rounding to
// any number of fraction digits is exact, and scanning can round correctly by
// comparing the input against exact midpoints between doubles.

#include "framework/core/format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "framework/core/memory.h"
#include "framework/core/strings.h"

namespace {

// ---------------------------------------------------------------------------
// Walking a format

struct FormatText {
    const char* text;
    std::size_t length;
};

// The engine walks a private copy: the caller's format may be the very buffer
// being written into, and it is never touched.
FormatText CopyFormat(const char* format) {
    static std::vector<char> scratch;
    const std::size_t length = format ? JStrLen(format) : 0;
    if (scratch.size() < length + 1) {
        scratch.resize(length + 1);
    }
    std::copy_n(format ? format : "", length, scratch.data());
    scratch[length] = '\0';
    return {scratch.data(), length};
}

// The characters of a spec; reads as '\0' past its end (a spec holds no '%').
struct SpecReader {
    const char* at;
    const char* end;
};

char Peek(const SpecReader& spec, std::size_t ahead = 0) {
    return spec.at + ahead < spec.end ? spec.at[ahead] : '\0';
}

bool Accept(SpecReader& spec, char c) {
    if (spec.at < spec.end && *spec.at == c) {
        ++spec.at;
        return true;
    }
    return false;
}

struct Directive {
    char letter;
    SpecReader spec;
    std::size_t next;  // format position after the closing '%'
};

// Reads the directive whose '%' is at `at`. False for a lone '%' that ends
// the format: it produces nothing and ends the walk.
bool ReadDirective(const FormatText& format, std::size_t at, Directive* directive) {
    if (at + 1 >= format.length) {
        return false;
    }
    const char* specBegin = format.text + at + 2;
    const char* formatEnd = format.text + format.length;
    const char* specEnd = std::find(specBegin, formatEnd, '%');
    const std::size_t next = static_cast<std::size_t>(specEnd - format.text);
    *directive = {format.text[at + 1], {specBegin, specEnd}, std::min(next + 1, format.length)};
    return true;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of `c` as a digit in `base` (10 or 16, either case), or -1.
int DigitValue(char c, unsigned base) {
    if (IsDigit(c)) {
        return c - '0';
    }
    if (base == 16 && c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (base == 16 && c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// ---------------------------------------------------------------------------
// Exact decimal expansion of doubles

constexpr int kMaxDecimalDigits = 800;  // (2^55 - 1) x 2^-1075 needs 769
constexpr int kSignificantDigits = 25;  // what decides the length of a fraction
constexpr int kPointLimit = 100000;     // keeps absurdly long input from overflowing

// A non-negative number 0.d1 d2 d3 ... x 10^point, digits as values 0-9 with
// a non-zero first digit; no digits at all is zero. Digits past `length` are
// zeros.
struct Decimal {
    std::array<std::uint8_t, kMaxDecimalDigits + 1> digits;
    int length = 0;
    int point = 0;
};

int DigitAt(const Decimal& value, int index) {
    return index >= 0 && index < value.length ? value.digits[index] : 0;
}

int Compare(const Decimal& a, const Decimal& b) {
    if (a.length == 0 || b.length == 0) {
        return (a.length != 0) - (b.length != 0);
    }
    if (a.point != b.point) {
        return a.point < b.point ? -1 : 1;
    }
    for (int i = 0, n = std::max(a.length, b.length); i < n; ++i) {
        if (DigitAt(a, i) != DigitAt(b, i)) {
            return DigitAt(a, i) < DigitAt(b, i) ? -1 : 1;
        }
    }
    return 0;
}

// An unsigned integer in base 10^9, least significant limb first.
constexpr std::uint32_t kLimbBase = 1000000000;
struct BigNumber {
    std::array<std::uint32_t, 96> limbs;
    int count = 0;
};

void MultiplyBy(BigNumber& number, std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (int i = 0; i < number.count; ++i) {
        const std::uint64_t product = std::uint64_t{number.limbs[i]} * factor + carry;
        number.limbs[i] = static_cast<std::uint32_t>(product % kLimbBase);
        carry = product / kLimbBase;
    }
    for (; carry != 0; carry /= kLimbBase) {
        number.limbs[number.count++] = static_cast<std::uint32_t>(carry % kLimbBase);
    }
}

// Multiplies by 2^exponent or 5^exponent in chunks that keep a limb product
// within 64 bits.
void MultiplyByPower(BigNumber& number, std::uint32_t base, int exponent) {
    const int chunk = base == 2 ? 30 : 13;
    const std::uint32_t chunkFactor = base == 2 ? (1u << 30) : 1220703125u;  // 5^13
    for (; exponent >= chunk; exponent -= chunk) {
        MultiplyBy(number, chunkFactor);
    }
    std::uint32_t rest = 1;
    for (; exponent > 0; --exponent) {
        rest *= base;
    }
    MultiplyBy(number, rest);
}

void AppendLimb(Decimal& value, std::uint32_t limb, bool whole) {
    std::array<std::uint8_t, 9> reversed{};
    int count = 0;
    do {
        reversed[count++] = static_cast<std::uint8_t>(limb % 10);
        limb /= 10;
    } while (whole ? count < 9 : limb != 0);
    while (count > 0) {
        value.digits[value.length++] = reversed[--count];
    }
}

// mantissa x 2^exponent, exactly. With a negative exponent k the value is
// mantissa x 5^-k / 10^-k: the digits of mantissa x 5^-k, point moved left.
Decimal ExactDecimal(std::uint64_t mantissa, int exponent) {
    Decimal value;
    if (mantissa == 0) {
        return value;
    }
    for (; (mantissa & 1) == 0; mantissa >>= 1) {
        ++exponent;
    }
    BigNumber number;
    for (; mantissa != 0; mantissa /= kLimbBase) {
        number.limbs[number.count++] = static_cast<std::uint32_t>(mantissa % kLimbBase);
    }
    MultiplyByPower(number, exponent > 0 ? 2 : 5, std::abs(exponent));
    AppendLimb(value, number.limbs[number.count - 1], false);
    for (int i = number.count - 2; i >= 0; --i) {
        AppendLimb(value, number.limbs[i], true);
    }
    value.point = value.length - std::max(-exponent, 0);
    return value;
}

struct BinaryParts {
    std::uint64_t mantissa;
    int exponent;
};

// A non-negative double (or +inf, read as 2^1024) as mantissa x 2^exponent.
BinaryParts Decompose(std::uint64_t bits) {
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    const int biased = static_cast<int>(bits >> 52) & 0x7FF;
    if (biased == 0) {
        return {fraction, -1074};
    }
    return {fraction | (std::uint64_t{1} << 52), biased - 1075};
}

Decimal ExactDecimal(double magnitude) {
    const BinaryParts parts = Decompose(std::bit_cast<std::uint64_t>(magnitude));
    return ExactDecimal(parts.mantissa, parts.exponent);
}

// Rounds to `fraction` digits after the point, halves away from zero. A
// result of zero has no digits.
void RoundToFraction(Decimal& value, int fraction) {
    const int kept = value.point + fraction;
    if (value.length == 0 || kept >= value.length) {
        return;
    }
    if (kept < 0) {
        value.length = 0;
        return;
    }
    const bool up = value.digits[kept] >= 5;
    value.length = kept;
    if (!up) {
        return;
    }
    int i = kept - 1;
    for (; i >= 0 && value.digits[i] == 9; --i) {
        value.digits[i] = 0;
    }
    if (i >= 0) {
        ++value.digits[i];
        return;
    }
    // All nines (or nothing kept): the carry becomes a new leading 1.
    value.digits[0] = 1;
    value.length = 1;
    ++value.point;
}

// The midpoint between the double with these bits and the next one up.
Decimal UpperMidpoint(std::uint64_t bits) {
    const BinaryParts low = Decompose(bits);
    const BinaryParts high = Decompose(bits + 1);
    const int exponent = std::min(low.exponent, high.exponent);
    const std::uint64_t sum =
        (low.mantissa << (low.exponent - exponent)) + (high.mantissa << (high.exponent - exponent));
    return ExactDecimal(sum, exponent - 1);
}

constexpr std::uint64_t kInfinityBits = 0x7FF0000000000000;

constexpr std::array<double, 23> kExactPowersOfTen = [] {
    std::array<double, 23> powers{};
    double power = 1;
    for (double& p : powers) {
        p = power;
        power *= 10;
    }
    return powers;
}();

// Nearest double to `value`, ties to even.
double ToDouble(const Decimal& value) {
    if (value.length == 0 || value.point < -330) {
        return 0;
    }
    if (value.point > 310) {
        return std::numeric_limits<double>::infinity();
    }
    const int exponent = value.point - value.length;
    if (value.length <= 15 && exponent >= -22 && exponent <= 22) {
        // Both operands are exact, so one operation rounds once, correctly.
        std::uint64_t digits = 0;
        for (int i = 0; i < value.length; ++i) {
            digits = digits * 10 + value.digits[i];
        }
        const double whole = static_cast<double>(digits);
        return exponent < 0 ? whole / kExactPowersOfTen[-exponent]
                            : whole * kExactPowersOfTen[exponent];
    }
    // Positive doubles are ordered like their bit patterns: search for the
    // first one whose upper midpoint lies above the value.
    std::uint64_t low = 0;
    std::uint64_t high = kInfinityBits;
    while (low < high) {
        const std::uint64_t middle = low + (high - low) / 2;
        const int order = Compare(value, UpperMidpoint(middle));
        if (order < 0 || (order == 0 && (middle & 1) == 0)) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return std::bit_cast<double>(low);
}

// ---------------------------------------------------------------------------
// Formatting

// Counts every byte and stores those that fit; `out` is null while measuring.
struct Sink {
    char* out;
    std::size_t limit;
    std::size_t length;
};

void Put(Sink& sink, char c) {
    if (sink.out && sink.length < sink.limit) {
        sink.out[sink.length] = c;
    }
    ++sink.length;
}

void PutText(Sink& sink, const char* text) {
    for (; text && *text; ++text) {
        Put(sink, *text);
    }
}

void PutRepeated(Sink& sink, char c, int count) {
    for (; count > 0; --count) {
        Put(sink, c);
    }
}

struct ArgReader {
    const JFormatArg* args;
    std::size_t count;
    std::size_t next;
};

JFormatArg NextArg(ArgReader& reader) {
    return reader.next < reader.count ? reader.args[reader.next++] : JFormatArg();
}

std::int64_t Truncate(double value) {
    constexpr double kLimit = 9223372036854775808.0;  // 2^63
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= kLimit) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (value < -kLimit) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(value);
}

std::int64_t ArgInteger(const JFormatArg& arg) {
    switch (arg.kind) {
        case JFormatArg::Kind::Signed:
        case JFormatArg::Kind::Unsigned:
            return arg.integer;
        case JFormatArg::Kind::Real:
            return Truncate(arg.real);
        default:
            return 0;
    }
}

double ArgReal(const JFormatArg& arg) {
    switch (arg.kind) {
        case JFormatArg::Kind::Real:
            return arg.real;
        case JFormatArg::Kind::Signed:
            return static_cast<double>(arg.integer);
        case JFormatArg::Kind::Unsigned:
            return static_cast<double>(static_cast<std::uint64_t>(arg.integer));
        default:
            return 0;
    }
}

const char* ArgText(const JFormatArg& arg) {
    return arg.kind == JFormatArg::Kind::Text ? arg.text : nullptr;
}

// Pad character, minimum width and maximum digits of one run of digits.
struct DigitField {
    char pad;
    std::int16_t width;
    std::int16_t max;
};

// A run of decimal digits, or `v` for the next value's low 16 bits.
std::int16_t ReadCount(SpecReader& spec, ArgReader& args, std::int16_t fallback) {
    if (Accept(spec, 'v')) {
        return static_cast<std::int16_t>(ArgInteger(NextArg(args)));
    }
    if (!IsDigit(Peek(spec))) {
        return fallback;
    }
    std::uint32_t count = 0;
    for (; IsDigit(Peek(spec)); ++spec.at) {
        count = count * 10 + static_cast<std::uint32_t>(*spec.at - '0');
    }
    return static_cast<std::int16_t>(count);
}

char ReadPad(SpecReader& spec, char fallback) {
    const char c = Peek(spec);
    if (c == '0') {
        ++spec.at;
        return '0';
    }
    if (c == '\0' || IsDigit(c) || c == 'v') {
        return fallback;
    }
    ++spec.at;
    return c;
}

DigitField ReadDigitField(SpecReader& spec, ArgReader& args, char pad, std::int16_t max) {
    DigitField field{ReadPad(spec, pad), ReadCount(spec, args, 0), max};
    const char afterComma = Peek(spec, 1);
    if (Peek(spec) == ',' && (IsDigit(afterComma) || afterComma == 'v')) {
        ++spec.at;
        field.max = ReadCount(spec, args, max);
    }
    return field;
}

DigitField ReadIntegerSpec(SpecReader spec, ArgReader& args) {
    // The size letter only matters when scanning: every value is a full slot.
    if (Peek(spec) == 'b' || Peek(spec) == 'l' || Peek(spec) == 's') {
        ++spec.at;
    }
    return ReadDigitField(spec, args, ' ', 255);
}

void PutInteger(Sink& sink, std::uint32_t magnitude, bool negative, unsigned base,
                const DigitField& field) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::array<char, 32> reversed{};
    int count = 0;
    do {
        reversed[count++] = kDigits[magnitude % base];
        magnitude /= base;
    } while (magnitude != 0);
    if (negative) {
        Put(sink, '-');
    }
    // The pad is counted against all digits, before the maximum cuts any.
    PutRepeated(sink, field.pad, field.width - count);
    for (int i = std::clamp<int>(field.max, 0, count) - 1; i >= 0; --i) {
        Put(sink, reversed[i]);
    }
}

void FormatInteger(Sink& sink, SpecReader spec, ArgReader& args, unsigned base, bool isSigned) {
    const DigitField field = ReadIntegerSpec(spec, args);
    const auto bits = static_cast<std::uint32_t>(ArgInteger(NextArg(args)));
    const bool negative = isSigned && static_cast<std::int32_t>(bits) < 0;
    PutInteger(sink, negative ? 0u - bits : bits, negative, base, field);
}

struct RealSpec {
    bool alwaysSign;
    DigitField integer;
    DigitField fraction;  // width is the minimum number of fraction digits
};

RealSpec ReadRealSpec(SpecReader spec, ArgReader& args) {
    RealSpec real{};
    if (Accept(spec, '+')) {
        real.alwaysSign = true;
    } else if (Accept(spec, 's')) {
        real.alwaysSign = static_cast<std::uint8_t>(ArgInteger(NextArg(args))) != 0;
    }
    real.integer = ReadDigitField(spec, args, ' ', 255);
    Accept(spec, '.');
    real.fraction = ReadDigitField(spec, args, '0', 10);
    return real;
}

// The minimum fraction digits plus as many more (up to the maximum) as reach
// the last non-zero one among the first significant digits.
int FractionLength(const Decimal& exact, const DigitField& fraction) {
    const int minimum = std::max<int>(fraction.width, 0);
    const int first = exact.point + minimum;
    const int end = std::min({first + fraction.max - minimum, kSignificantDigits, exact.length});
    int length = minimum;
    for (int index = std::max(first, 0); index < end; ++index) {
        if (exact.digits[index] != 0) {
            length = minimum + (index - first) + 1;
        }
    }
    return length;
}

int IntegerPositions(int point, const DigitField& integer) {
    const int positions =
        point <= integer.width ? integer.width : std::min<int>(point, integer.max);
    return std::max(positions, 1);
}

void PutReal(Sink& sink, double value, const RealSpec& spec) {
    if (std::isnan(value)) {
        PutText(sink, "NAN");
        return;
    }
    // Negative zero is not below zero and prints without a sign.
    const bool negative = value < 0;
    if (negative || spec.alwaysSign) {
        Put(sink, negative ? '-' : '+');
    }
    const double magnitude = std::fabs(value);
    if (std::isinf(magnitude)) {
        PutText(sink, "inf");
        return;
    }
    Decimal digits = ExactDecimal(magnitude);
    // Trailing zeros are judged on the value rounded to the most fraction
    // digits allowed: 0.3 is stored as 0.29999..., and "%f%" must show 0.3,
    // not 0.3000000000.
    RoundToFraction(digits, std::max<int>(spec.fraction.max, spec.fraction.width));
    const int fraction = FractionLength(digits, spec.fraction);
    RoundToFraction(digits, fraction);
    // A value that rounds to zero has no digits; placing its point at the end
    // of the fraction makes every position read as a leading zero.
    const int point = digits.length == 0 ? -fraction : digits.point;
    const int positions = IntegerPositions(point, spec.integer);
    for (int k = 0; k < positions; ++k) {
        const int index = point - positions + k;
        const bool last = k == positions - 1;
        Put(sink, index >= 0 || last ? static_cast<char>('0' + DigitAt(digits, index))
                                     : spec.integer.pad);
    }
    if (fraction > 0) {
        Put(sink, '.');
        // The rounded digits always reach the last fraction position, so the
        // fraction pad never shows: positions before the first digit read 0.
        for (int i = 0; i < fraction; ++i) {
            Put(sink, static_cast<char>('0' + DigitAt(digits, point + i)));
        }
    }
}

void FormatDirective(Sink& sink, const Directive& directive, ArgReader& args) {
    switch (directive.letter) {
        case 'd':
            return FormatInteger(sink, directive.spec, args, 10, true);
        case 'u':
            return FormatInteger(sink, directive.spec, args, 10, false);
        case 'x':
            return FormatInteger(sink, directive.spec, args, 16, false);
        case 'f': {
            const RealSpec spec = ReadRealSpec(directive.spec, args);
            return PutReal(sink, ArgReal(NextArg(args)), spec);
        }
        case 's':
            return PutText(sink, ArgText(NextArg(args)));
        case 'c':
            return Put(sink, static_cast<char>(ArgInteger(NextArg(args))));
        case '%':
            return Put(sink, '%');
        default:
            return;  // unknown letters produce nothing and take no value
    }
}

void Render(const FormatText& format, const JFormatArg* args, std::size_t count, Sink& sink) {
    ArgReader reader{args, count, 0};
    std::size_t at = 0;
    while (at < format.length) {
        if (format.text[at] != '%') {
            Put(sink, format.text[at++]);
            continue;
        }
        Directive directive{};
        if (!ReadDirective(format, at, &directive)) {
            return;
        }
        FormatDirective(sink, directive, reader);
        at = directive.next;
    }
}

std::size_t Measure(const FormatText& format, const JFormatArg* args, std::size_t count) {
    Sink counter{nullptr, 0, 0};
    Render(format, args, count, counter);
    return counter.length;
}

char* RenderInto(char* block, std::size_t capacity, const FormatText& format,
                 const JFormatArg* args, std::size_t count) {
    Sink writer{block, capacity - 1, 0};
    Render(format, args, count, writer);
    block[std::min(writer.length, writer.limit)] = '\0';
    return block;
}

// ---------------------------------------------------------------------------
// Scanning

ScanResult gLastScan{};

struct ScanState {
    const char* in;
    const JScanArg* args;
    std::size_t count;
    std::size_t next;
};

JScanArg NextTarget(ScanState& state) {
    return state.next < state.count ? state.args[state.next++] : JScanArg();
}

template <typename T>
void StoreAs(const JScanArg& target, T value) {
    *static_cast<T*>(target.target) = value;
}

void StoreInteger(const JScanArg& target, std::int64_t value) {
    if (!target.target) {
        return;
    }
    using Kind = JScanArg::Kind;
    switch (target.kind) {
        case Kind::Int8:
            return StoreAs(target, static_cast<std::int8_t>(value));
        case Kind::UInt8:
            return StoreAs(target, static_cast<std::uint8_t>(value));
        case Kind::Int16:
            return StoreAs(target, static_cast<std::int16_t>(value));
        case Kind::UInt16:
            return StoreAs(target, static_cast<std::uint16_t>(value));
        case Kind::Int32:
            return StoreAs(target, static_cast<std::int32_t>(value));
        case Kind::UInt32:
            return StoreAs(target, static_cast<std::uint32_t>(value));
        case Kind::Real:
            return StoreAs(target, static_cast<double>(value));
        case Kind::Char:
            return StoreAs(target, static_cast<char>(value));
        default:
            return;  // not a number: nothing sensible to store
    }
}

void StoreReal(const JScanArg& target, double value) {
    if (target.kind == JScanArg::Kind::Real && target.target) {
        StoreAs(target, value);
        return;
    }
    StoreInteger(target, Truncate(value));
}

enum class TextStore : std::uint8_t { Buffer, Heap, Temporary };

void StoreText(const JScanArg& target, const char* text, std::size_t length, TextStore store) {
    if (!target.target) {
        return;
    }
    if (target.kind == JScanArg::Kind::Buffer && target.capacity > 0) {
        JStrCopyN(static_cast<char*>(target.target), text, std::min(length, target.capacity - 1));
    } else if (target.kind == JScanArg::Kind::StringPointer && store == TextStore::Heap) {
        StoreAs(target, JStrDupN(text, length));
    } else if (target.kind == JScanArg::Kind::StringPointer && store == TextStore::Temporary) {
        StoreAs(target, JStrDupTempN(text, length));
    }
}

struct ScanModifiers {
    int digitLimit = 10;
    bool store = true;
    bool skipBlanks = true;
};

// Reads one modifier (l<digits>, s<char>, w, x); false when the next spec
// character is none. A skip (`s`) acts on the input at once.
bool ReadModifier(SpecReader& spec, ScanModifiers& modifiers, ScanState& state) {
    if (Accept(spec, 'l')) {
        int limit = 0;
        for (; IsDigit(Peek(spec)); ++spec.at) {
            limit = std::min(limit * 10 + (*spec.at - '0'), 1000000);
        }
        modifiers.digitLimit = limit == 0 ? 10 : limit;
    } else if (Accept(spec, 's')) {
        const char skipped = Peek(spec);
        if (skipped != '\0') {
            ++spec.at;
            while (*state.in == skipped) {
                ++state.in;
            }
        }
    } else if (Accept(spec, 'w')) {
        modifiers.store = false;
    } else if (Accept(spec, 'x')) {
        modifiers.skipBlanks = false;
    } else {
        return false;
    }
    return true;
}

void SkipBlanks(ScanState& state, const ScanModifiers& modifiers) {
    while (modifiers.skipBlanks && *state.in == ' ') {
        ++state.in;
    }
}

struct NumberSpec {
    char size;  // 'b', 's', or '\0' for 32 bits
    ScanModifiers modifiers;
};

NumberSpec ReadNumberSpec(SpecReader spec, ScanState& state) {
    NumberSpec number{'\0', {}};
    if (Accept(spec, 'b')) {
        number.size = 'b';
    } else if (Accept(spec, 's')) {
        number.size = 's';
    } else {
        Accept(spec, 'l');
    }
    bool more = true;
    while (more) {
        more = ReadModifier(spec, number.modifiers, state);
    }
    SkipBlanks(state, number.modifiers);
    return number;
}

// The low bits the size letter keeps, widened by the directive's signedness.
std::int64_t KeepBits(std::uint32_t value, char size, bool isSigned) {
    switch (size) {
        case 'b':
            return isSigned ? std::int64_t{static_cast<std::int8_t>(value)}
                            : std::int64_t{static_cast<std::uint8_t>(value)};
        case 's':
            return isSigned ? std::int64_t{static_cast<std::int16_t>(value)}
                            : std::int64_t{static_cast<std::uint16_t>(value)};
        default:
            return isSigned ? std::int64_t{static_cast<std::int32_t>(value)} : std::int64_t{value};
    }
}

bool ReadSign(ScanState& state) {
    if (*state.in == '+' || *state.in == '-') {
        return *state.in++ == '-';
    }
    return false;
}

// d, u, x. Stores even when no digit was read (the value is then 0).
bool ScanInteger(ScanState& state, SpecReader spec, unsigned base, bool acceptsSign,
                 bool isSigned) {
    const NumberSpec number = ReadNumberSpec(spec, state);
    const bool negative = acceptsSign && ReadSign(state);
    std::uint32_t value = 0;
    int digits = 0;
    for (; digits < number.modifiers.digitLimit && DigitValue(*state.in, base) >= 0; ++digits) {
        value = value * base + static_cast<std::uint32_t>(DigitValue(*state.in++, base));
    }
    if (negative) {
        value = 0u - value;
    }
    if (number.modifiers.store) {
        StoreInteger(NextTarget(state), KeepBits(value, number.size, isSigned));
    }
    return digits > 0;
}

// Digits, then a '.' and more digits, into an exact decimal.
void AddDigit(Decimal& value, int digit, bool beforePoint) {
    if (value.length == 0 && digit == 0) {
        if (!beforePoint) {
            value.point = std::max(value.point - 1, -kPointLimit);
        }
        return;
    }
    if (beforePoint) {
        value.point = std::min(value.point + 1, kPointLimit);
    }
    if (value.length < kMaxDecimalDigits) {
        value.digits[value.length++] = static_cast<std::uint8_t>(digit);
    } else if (digit != 0) {
        // Beyond any midpoint's digits: all that matters is that more follows.
        value.digits[kMaxDecimalDigits] = 1;
        value.length = kMaxDecimalDigits + 1;
    }
}

bool ScanReal(ScanState& state, SpecReader spec) {
    const char* start = state.in;
    const NumberSpec number = ReadNumberSpec(spec, state);
    const bool negative = ReadSign(state);
    Decimal digits;
    for (; IsDigit(*state.in); ++state.in) {
        AddDigit(digits, *state.in - '0', true);
    }
    if (*state.in == '.') {
        for (++state.in; IsDigit(*state.in); ++state.in) {
            AddDigit(digits, *state.in - '0', false);
        }
    }
    const double magnitude = ToDouble(digits);
    if (number.modifiers.store) {
        StoreReal(NextTarget(state), negative ? -magnitude : magnitude);
    }
    return state.in != start;
}

// s: its own letters a, t and d<delimiter> mixed with the scan modifiers.
bool ScanText(ScanState& state, SpecReader spec) {
    TextStore store = TextStore::Buffer;
    char delimiter = ' ';
    ScanModifiers modifiers;
    for (bool more = true; more;) {
        if (Accept(spec, 'a')) {
            store = TextStore::Heap;
        } else if (Accept(spec, 't')) {
            store = TextStore::Temporary;
        } else if (Accept(spec, 'd')) {
            delimiter = Peek(spec);
            Accept(spec, delimiter);
        } else {
            more = ReadModifier(spec, modifiers, state);
        }
    }
    SkipBlanks(state, modifiers);
    const char* field = state.in;
    while (*state.in != '\0' && *state.in != delimiter) {
        ++state.in;
    }
    if (state.in == field) {
        return false;
    }
    if (modifiers.store) {
        StoreText(NextTarget(state), field, static_cast<std::size_t>(state.in - field), store);
    }
    return true;
}

bool ScanCharacter(ScanState& state) {
    if (*state.in == '\0') {
        return false;
    }
    const char c = *state.in++;
    const JScanArg target = NextTarget(state);
    if (target.kind == JScanArg::Kind::Buffer) {
        StoreText(target, &c, 1, TextStore::Buffer);
    } else {
        StoreInteger(target, static_cast<unsigned char>(c));
    }
    return true;
}

bool ScanDirective(ScanState& state, const Directive& directive) {
    switch (directive.letter) {
        case 'd':
            return ScanInteger(state, directive.spec, 10, true, true);
        case 'u':
            return ScanInteger(state, directive.spec, 10, false, false);
        case 'x':
            return ScanInteger(state, directive.spec, 16, true, false);
        case 'f':
            return ScanReal(state, directive.spec);
        case 's':
            return ScanText(state, directive.spec);
        case 'c':
            return ScanCharacter(state);
        default:
            return false;  // also '%': a literal percent sign cannot be matched
    }
}

// Walks the format against the input; fills the shared result.
void Scan(const char* text, const char* formatText, const JScanArg* args, std::size_t count) {
    const FormatText format = CopyFormat(formatText);
    const char* input = text ? text : "";
    ScanState state{input, args, count, 0};
    std::uint32_t converted = 0;
    std::size_t at = 0;
    while (at < format.length) {
        if (format.text[at] != '%') {
            if (*state.in != format.text[at]) {
                break;
            }
            ++state.in;
            ++at;
            continue;
        }
        Directive directive{};
        if (!ReadDirective(format, at, &directive)) {
            at = format.length;  // a lone '%' at the end ends the walk
            break;
        }
        if (!ScanDirective(state, directive)) {
            break;
        }
        ++converted;
        at = directive.next;
    }
    gLastScan = ScanResult{static_cast<std::uint32_t>(state.in - input),
                           static_cast<std::uint32_t>(JStrLen(input)),
                           converted,
                           static_cast<std::uint32_t>(at),
                           static_cast<std::uint32_t>(format.length),
                           at == format.length};
}

}  // namespace

// ---------------------------------------------------------------------------

std::size_t JFormatMeasureList(const char* format, const JFormatArg* args, std::size_t count) {
    return Measure(CopyFormat(format), args, count);
}

char* JFormatList(const char* format, const JFormatArg* args, std::size_t count) {
    const FormatText text = CopyFormat(format);
    const std::size_t length = Measure(text, args, count);
    return RenderInto(static_cast<char*>(JAlloc(length + 1)), length + 1, text, args, count);
}

char* JFormatTempList(const char* format, const JFormatArg* args, std::size_t count) {
    const FormatText text = CopyFormat(format);
    const std::size_t length = Measure(text, args, count);
    return RenderInto(static_cast<char*>(JTempAlloc(length + 1)), length + 1, text, args, count);
}

char* JFormatIntoList(char* buffer, std::size_t capacity, const char* format,
                      const JFormatArg* args, std::size_t count) {
    if (!buffer || capacity == 0) {
        return buffer;
    }
    return RenderInto(buffer, capacity, CopyFormat(format), args, count);
}

void JFormatUnsigned(char* buffer, std::size_t capacity, std::uint32_t value) {
    const JFormatArg arg(value);
    JFormatIntoList(buffer, capacity, "%u%", &arg, 1);
}

const ScanResult& JLastScan() {
    return gLastScan;
}

bool JScanList(const char* text, const char* format, const JScanArg* args, std::size_t count) {
    Scan(text, format, args, count);
    return gLastScan.matched;
}

bool JScanAdvanceList(const char** cursor, const char* format, const JScanArg* args,
                      std::size_t count) {
    if (!cursor || !*cursor) {
        return false;
    }
    Scan(*cursor, format, args, count);
    if (gLastScan.matched) {
        *cursor += gLastScan.consumed;
    }
    return gLastScan.matched;
}

std::int32_t JParseInt(const char* text) {
    std::int32_t value = 0;
    JScan(text, "%d%", &value);
    return value;
}

std::uint32_t JParseUnsigned(const char* text) {
    std::uint32_t value = 0;
    JScan(text, "%u%", &value);
    return value;
}

double JParseFloat(const char* text) {
    double value = 0;
    JScan(text, "%f%", &value);
    return value;
}
