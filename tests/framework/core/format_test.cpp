#include "framework/core/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "framework/core/memory.h"
#include "framework/core/strings.h"

namespace {

// Formats into a heap string and checks that the measuring pass agrees.
template <typename... Values>
std::string Format(const char* format, const Values&... values) {
    const JFormatArg args[] = {JFormatArg(values)..., JFormatArg()};
    char* text = JFormatList(format, args, sizeof...(Values));
    std::string result = text;
    EXPECT_EQ(JFormatMeasureList(format, args, sizeof...(Values)), result.size()) << format;
    JStrFree(text);
    return result;
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();

// ---------------------------------------------------------------------------
// Directive syntax

TEST(FormatTest, LiteralsAndPercentSigns) {
    EXPECT_EQ(Format("plain text"), "plain text");
    EXPECT_EQ(Format("100%%%"), "100%");
    EXPECT_EQ(Format("%f1.2,2%%%%", 12.3456), "12.35%");
    EXPECT_EQ(Format("ends with %"), "ends with ");  // a trailing lone % is dropped
    EXPECT_EQ(Format("[%d03", 7), "[007");           // missing closing %
    EXPECT_EQ(Format("%q%%d%", 42), "42");           // unknown letter takes no value
    EXPECT_EQ(Format("%s% and %s%", "this", "that"), "this and that");
    EXPECT_EQ(Format("%c%%c%", 'o', 'k'), "ok");
}

TEST(FormatTest, MissingAndMismatchedValues) {
    EXPECT_EQ(Format("%d%|%s%|%f%"), "0||0");  // past the end: none
    EXPECT_EQ(Format("%d%", 7.9), "7");        // a real is truncated
    EXPECT_EQ(Format("%d%", -7.9), "-7");
    EXPECT_EQ(Format("%d%", "text"), "0");
    EXPECT_EQ(Format("[%s%]", 5), "[]");
    EXPECT_EQ(Format("%f%", 3), "3");
    EXPECT_EQ(Format("%s%", static_cast<const char*>(nullptr)), "");
}

// ---------------------------------------------------------------------------
// Integers

TEST(FormatTest, IntegerSpecs) {
    EXPECT_EQ(Format("%d%:%d02,2%.%d03,3%", 1, 5, 1234), "1:05.234");
    EXPECT_EQ(Format("%d%:%d02,2%:%d02,2%.%d02,2%", 1, 2, 3, 4), "1:02:03.04");
    EXPECT_EQ(Format("%x02,2%%x02,2%%x02,2%", 255, 0, 16), "FF0010");
    EXPECT_EQ(Format("%x08%", 255), "000000FF");
    EXPECT_EQ(Format("%d03,3%", 12345), "345");
    EXPECT_EQ(Format("%d02,2%", 7), "07");
    EXPECT_EQ(Format("%d05,2%", 7), "00007");  // the pad counts all digits
    EXPECT_EQ(Format("%d4%", 7), "   7");
    EXPECT_EQ(Format("%d*5%", 42), "***42");
    EXPECT_EQ(Format("%d,%", 42), "42");     // ',' as pad, no width
    EXPECT_EQ(Format("%d3,x%", 42), " 42");  // ',' without a digit is left unread
    EXPECT_EQ(Format("%ds02%|%dl%|%db%", 5, 6, 300), "05|6|300");  // size has no effect
}

TEST(FormatTest, SpecValuesComeBeforeTheValue) {
    EXPECT_EQ(Format("%d0v%", 3, 7), "007");
    EXPECT_EQ(Format("%d0v,v%", 4, 2, 12345), "45");
    EXPECT_EQ(Format("%d0v,v%", 4, 2, 7), "0007");
    EXPECT_EQ(Format("%d0v%", 0x10003, 7), "007");  // low 16 bits of the width
}

TEST(FormatTest, SignedUnsignedAndHexUseThe32BitSlot) {
    EXPECT_EQ(Format("%d%", INT32_MIN), "-2147483648");
    EXPECT_EQ(Format("%d%", 0x1FFFFFFFFLL), "-1");
    EXPECT_EQ(Format("%u%", -1), "4294967295");
    EXPECT_EQ(Format("%x%", -1), "FFFFFFFF");
    EXPECT_EQ(Format("%d03%", -5), "-005");  // the sign is outside the width
    EXPECT_EQ(Format("%d03%", 0), "000");
    EXPECT_EQ(Format("%c%", 0x141), "A");
}

TEST(FormatTest, MeasureEqualsWrittenLength) {
    const char* specs[] = {"%d%",     "%d03%",  "%d-6%",     "%d05,2%",    "%d0,0%",       "%u08%",
                           "%x02,2%", "%d1,1%", "%d 12%",    "%d0v%",      "%d0v,v%",      "%f%",
                           "%f+%",    "%f5.3%", "%f03.2,2%", "%f1,2.0,0%", "%fs*8,9.4,12%"};
    const std::int64_t values[] = {0, 5, -5, 99, -100, 123456, INT32_MIN, INT32_MAX, -1};
    for (const char* spec : specs) {
        for (const std::int64_t value : values) {
            const JFormatArg integer[] = {JFormatArg(value)};
            const JFormatArg real[] = {JFormatArg(static_cast<double>(value) / 7)};
            const JFormatArg withSpecValues[] = {JFormatArg(3), JFormatArg(2), JFormatArg(value)};
            for (const JFormatArg* args : {integer, real, withSpecValues}) {
                const std::size_t count = args == withSpecValues ? 3 : 1;
                char* text = JFormatList(spec, args, count);
                EXPECT_EQ(JFormatMeasureList(spec, args, count), std::strlen(text))
                    << spec << " " << value;
                JStrFree(text);
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Real numbers

TEST(FormatTest, RealSpecs) {
    EXPECT_EQ(Format("%f%", 2.0), "2");
    EXPECT_EQ(Format("%f%", 0.5), "0.5");
    EXPECT_EQ(Format("%f%", -0.25), "-0.25");
    EXPECT_EQ(Format("%f1.2,2%", 12.3456), "12.35");
    EXPECT_EQ(Format("%f1,3.1,1%", 1.5), "1.5");
    EXPECT_EQ(Format("%f1,5.3,3%", 2.0), "2.000");
    EXPECT_EQ(Format("%f+%", 3.0), "+3");
    EXPECT_EQ(Format("%f3%", 5.0), "  5");
    EXPECT_EQ(Format("%f*5%", 12.5), "***12.5");
    EXPECT_EQ(Format("%f.3%", 5.0), "..5");       // a leading '.' is the integer pad
    EXPECT_EQ(Format("%f1,3%", 12345.0), "345");  // leading digits dropped
    EXPECT_EQ(Format("%f%", 0.1), "0.1");
    EXPECT_EQ(Format("%f%", 1234567.0), "1234567");
}

TEST(FormatTest, RealSignModes) {
    EXPECT_EQ(Format("%fs%", 1, 3.0), "+3");
    EXPECT_EQ(Format("%fs%", 0, 3.0), "3");
    EXPECT_EQ(Format("%fs%", 0x100, 3.0), "3");  // only the low byte counts
    EXPECT_EQ(Format("%fs%", 0, -3.0), "-3");
    EXPECT_EQ(Format("%f%", -0.0), "0");  // negative zero is not below zero
    EXPECT_EQ(Format("%f+%", -0.0), "+0");
    EXPECT_EQ(Format("%f1.2,2%", -0.001), "-0.00");  // the sign is decided before rounding
}

TEST(FormatTest, RealSpecialValues) {
    EXPECT_EQ(Format("%f+5.2,2%", kNaN), "NAN");
    EXPECT_EQ(Format("%f%", -kNaN), "NAN");
    EXPECT_EQ(Format("%f5%", kInfinity), "inf");
    EXPECT_EQ(Format("%f%", -kInfinity), "-inf");
    EXPECT_EQ(Format("%f+%", kInfinity), "+inf");
}

// Rounding works on the exact binary value, halves away from zero.
TEST(FormatTest, RealRounding) {
    EXPECT_EQ(Format("%f1.2,2%", 0.125), "0.13");
    EXPECT_EQ(Format("%f1.0,0%", 2.5), "3");
    EXPECT_EQ(Format("%f1.0,0%", 0.5), "1");
    EXPECT_EQ(Format("%f1.0,0%", -2.5), "-3");
    EXPECT_EQ(Format("%f1.2,2%", 2.675), "2.67");  // really 2.67499999...
    EXPECT_EQ(Format("%f1.2,2%", 1.005), "1.00");  // really 1.00499999...
    EXPECT_EQ(Format("%f1.2,2%", 9.999), "10.00");
    EXPECT_EQ(Format("%f1.2,2%", 0.996), "1.00");
    EXPECT_EQ(Format("%f1.2,2%", 0.001), "0.00");
    EXPECT_EQ(Format("%f1.2,2%", 0.005), "0.01");  // 0.005000000000000000104...
    EXPECT_EQ(Format("%f1.0,20%", 0.1), "0.10000000000000000555");
    // 0.3 is stored as 0.29999...: trailing zeros are dropped after rounding
    // to the most digits allowed, not before.
    EXPECT_EQ(Format("%f%", 0.3), "0.3");
    EXPECT_EQ(Format("%f%", 0.1 + 0.2), "0.3");
    EXPECT_EQ(Format("%f1.0,3%", 0.3), "0.3");
    EXPECT_EQ(Format("%f1.3,3%", 0.3), "0.300");
    EXPECT_EQ(Format("%f%", 1.0 / 3), "0.3333333333");
    EXPECT_EQ(Format("%f%", 2.99999999999), "3");
}

TEST(FormatTest, RealExtremes) {
    const std::string full = Format("%f1,400%", 1e300);
    ASSERT_EQ(full.size(), 301u);
    EXPECT_EQ(full.substr(0, 28), "1000000000000000052504760255");
    EXPECT_EQ(Format("%f%", 1e300), full.substr(46));  // at most 255 integer digits
    EXPECT_EQ(Format("%f%", 1e-300), "0");
    EXPECT_EQ(Format("%f1.2,2%", 5e-324), "0.00");
    // Only the first 25 significant digits decide the fraction length.
    const std::string tiny = Format("%f1.0,400%", 5e-324);
    EXPECT_EQ(tiny, "0." + std::string(323, '0') + "4940656458412465441765688");
}

// ---------------------------------------------------------------------------
// The other forms

TEST(FormatTest, IntoCutsToCapacityAndTerminates) {
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(JFormatInto(buffer, 5, "%d%", 123456789), buffer);
    EXPECT_STREQ(buffer, "1234");
    EXPECT_EQ(buffer[5], 'x');
    JFormatInto(buffer, 1, "abc");
    EXPECT_STREQ(buffer, "");
    buffer[0] = 'q';
    JFormatInto(buffer, 0, "abc");
    EXPECT_EQ(buffer[0], 'q');
}

TEST(FormatTest, FormatMayBeTheBufferItself) {
    char buffer[32] = "<%d03%>";
    JFormatInto(buffer, sizeof buffer, buffer, 5);
    EXPECT_STREQ(buffer, "<005>");
}

TEST(FormatTest, UnsignedAndTemporaryForms) {
    char buffer[11];
    JFormatUnsigned(buffer, sizeof buffer, 4294967295u);
    EXPECT_STREQ(buffer, "4294967295");
    JFormatUnsigned(buffer, 3, 12345);
    EXPECT_STREQ(buffer, "12");
    JTempMark();
    EXPECT_STREQ(JFormatTemp("%s%-%d%", "frame", 3), "frame-3");
    JTempRelease();
}

// ---------------------------------------------------------------------------
// Scanning

TEST(ScanTest, HexBytes) {
    std::uint8_t r = 1, g = 1, b = 1;
    EXPECT_TRUE(JScan("FF0010", "%xbl2%%xbl2%%xbl2%", &r, &g, &b));
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 16);
    b = 1;
    EXPECT_FALSE(JScan("ff00", "%xbl2%%xbl2%%xbl2%", &r, &g, &b));
    EXPECT_EQ(r, 255);
    EXPECT_EQ(b, 0);  // the failing directive stored its partial value
    EXPECT_EQ(JLastScan().converted, 2u);
    EXPECT_FALSE(JLastScan().matched);
}

TEST(ScanTest, ResultRecord) {
    std::int32_t first = 0, second = 0;
    EXPECT_TRUE(JScan("200 204", "%dl% %dl%", &first, &second));
    EXPECT_EQ(first, 200);
    EXPECT_EQ(second, 204);
    second = 9;
    EXPECT_FALSE(JScan("200", "%dl% %dl%", &first, &second));
    EXPECT_EQ(first, 200);
    EXPECT_EQ(second, 9);  // never reached: the literal blank did not match
    const ScanResult& result = JLastScan();
    EXPECT_EQ(result.consumed, 3u);
    EXPECT_EQ(result.inputLength, 3u);
    EXPECT_EQ(result.converted, 1u);
    EXPECT_EQ(result.formatReached, 4u);
    EXPECT_EQ(result.formatLength, 9u);

    EXPECT_TRUE(JScan("  -12abc", "%d%", &first));  // trailing input does not matter
    EXPECT_EQ(first, -12);
    EXPECT_EQ(JLastScan().consumed, 5u);
}

TEST(ScanTest, ParseHelpers) {
    EXPECT_EQ(JParseInt("no digits"), 0);
    EXPECT_EQ(JParseInt("  +42x"), 42);
    EXPECT_EQ(JParseInt("-"), 0);
    EXPECT_EQ(JParseInt("4294967295"), -1);  // 32-bit wrapping
    EXPECT_EQ(JParseUnsigned("-3"), 0u);     // no sign for u
    EXPECT_EQ(JParseUnsigned("3000000000"), 3000000000u);
    EXPECT_EQ(JParseFloat("3.25"), 3.25);
    EXPECT_EQ(JParseFloat(" -.5"), -0.5);
    EXPECT_EQ(JParseFloat("7."), 7.0);
    EXPECT_EQ(JParseFloat("1e5"), 1.0);  // no exponents
}

TEST(ScanTest, SizeLettersKeepBitsThenStoreByTargetType) {
    std::int32_t wide = 0;
    EXPECT_TRUE(JScan("-1", "%db%", &wide));
    EXPECT_EQ(wide, -1);
    EXPECT_TRUE(JScan("300", "%db%", &wide));
    EXPECT_EQ(wide, 44);
    EXPECT_TRUE(JScan("70000", "%ds%", &wide));
    EXPECT_EQ(wide, 4464);
    EXPECT_TRUE(JScan("-70000", "%dl%", &wide));
    EXPECT_EQ(wide, -70000);
    std::uint32_t unsignedWide = 0;
    EXPECT_TRUE(JScan("FF", "%xb%", &unsignedWide));
    EXPECT_EQ(unsignedWide, 255u);
    std::int8_t narrow = 0;
    EXPECT_TRUE(JScan("300", "%d%", &narrow));
    EXPECT_EQ(narrow, 44);  // 32 bits kept, the int8 target keeps its own
    std::uint16_t half = 0;
    EXPECT_TRUE(JScan("65537", "%u%", &half));
    EXPECT_EQ(half, 1);
}

TEST(ScanTest, Modifiers) {
    std::int32_t value = 0, other = 0;
    EXPECT_TRUE(JScan("12345", "%dll3%%d%", &value, &other));  // size l, then limit 3
    EXPECT_EQ(value, 123);
    EXPECT_EQ(other, 45);
    EXPECT_TRUE(JScan("12345678901", "%d%", &value));  // default limit 10
    EXPECT_EQ(value, 1234567890);
    EXPECT_FALSE(JScan("***42", "%ds*%", &value));  // size s; '*' is no modifier
    EXPECT_TRUE(JScan("***42", "%dls*%", &value));  // size l, skip '*'
    EXPECT_EQ(value, 42);
    EXPECT_TRUE(JScan("5,6", "%dw%,%d%", &value));  // w takes no destination
    EXPECT_EQ(value, 6);
    EXPECT_EQ(JLastScan().converted, 2u);
    EXPECT_FALSE(JScan(" 5", "%dx%", &value));  // x: no blank skipping
    EXPECT_TRUE(JScan("1  2", "%d% %d%", &value, &other));
    EXPECT_EQ(other, 2);
}

TEST(ScanTest, FormatSyntaxWhenScanning) {
    std::int32_t value = 0;
    EXPECT_FALSE(JScan("%", "%%%"));  // a literal percent sign cannot be matched
    EXPECT_FALSE(JScan("5", "%q%%d%", &value));
    EXPECT_TRUE(JScan("5", "%d", &value));    // missing closing %
    EXPECT_TRUE(JScan("5", "%d%%", &value));  // trailing lone %
    EXPECT_FALSE(JScan("y1", "x%d%", &value));
    EXPECT_EQ(JLastScan().formatReached, 0u);
    EXPECT_TRUE(JScan("anything", ""));
}

TEST(ScanTest, AdvanceMovesTheCursorOnlyOnAMatch) {
    const char* text = "12 34 x";
    const char* cursor = text;
    std::int32_t value = 0;
    EXPECT_TRUE(JScanAdvance(&cursor, "%d%", &value));
    EXPECT_EQ(cursor, text + 2);
    EXPECT_TRUE(JScanAdvance(&cursor, "%d%", &value));
    EXPECT_EQ(value, 34);
    EXPECT_EQ(cursor, text + 5);
    EXPECT_FALSE(JScanAdvance(&cursor, "%d%", &value));
    EXPECT_EQ(cursor, text + 5);
}

TEST(ScanTest, Text) {
    char word[16] = "";
    char small[4] = "";
    std::int32_t number = 0;
    EXPECT_TRUE(JScan("plain", "%s%", word));  // an array by name is a buffer too
    EXPECT_STREQ(word, "plain");
    EXPECT_TRUE(JScan("  hello world", "%s%", &word));
    EXPECT_STREQ(word, "hello");
    EXPECT_TRUE(JScan("a b,7", "%sd,%,%d%", &word, &number));  // the delimiter stays
    EXPECT_STREQ(word, "a b");
    EXPECT_EQ(number, 7);
    EXPECT_TRUE(JScan("abcdef", "%s%", &small));
    EXPECT_STREQ(small, "abc");  // cut to the buffer
    EXPECT_FALSE(JScan("   ", "%s%", &word));
    EXPECT_TRUE(JScan("--key", "%ss-%", &word));
    EXPECT_STREQ(word, "key");

    char* heap = nullptr;
    EXPECT_TRUE(JScan("name:value", "%sd:a%:%st%", &heap, &word));
    EXPECT_STREQ(heap, "name");
    JStrFree(heap);
    JTempMark();
    char* temporary = nullptr;
    EXPECT_TRUE(JScan("name:value", "%sd:%:%st%", &word, &temporary));
    EXPECT_STREQ(word, "name");
    EXPECT_STREQ(temporary, "value");
    JTempRelease();
}

TEST(ScanTest, Characters) {
    char a = 0, b = 0;
    EXPECT_TRUE(JScan(" x", "%c%%c%", &a, &b));
    EXPECT_EQ(a, ' ');
    EXPECT_EQ(b, 'x');
    std::int32_t value = 7;
    EXPECT_FALSE(JScan("q", "%c%%c%%d%", &a, &b, &value));
    EXPECT_EQ(a, 'q');
    EXPECT_EQ(value, 7);  // the failing %c% consumed no destination
}

TEST(ScanTest, WrongTargetsConvertOrAreSkipped) {
    double real = 0;
    std::int32_t value = 0;
    EXPECT_TRUE(JScan("-7 2.9", "%d% %f%", &real, &value));
    EXPECT_EQ(real, -7.0);
    EXPECT_EQ(value, 2);
    EXPECT_TRUE(JScan("abc 5", "%s% %d%", &real, &value));  // consumed, nothing stored
    EXPECT_EQ(value, 5);
    EXPECT_TRUE(JScan("1 2", "%d% %d%", &value));  // more directives than targets
}

TEST(ScanTest, Reals) {
    double value = 1;
    EXPECT_TRUE(JScan("  -0.25", "%f%", &value));
    EXPECT_EQ(value, -0.25);
    EXPECT_FALSE(JScan("abc", "%f%", &value));
    EXPECT_EQ(value, 0.0);
    EXPECT_TRUE(JScan(".", "%f%", &value));
    EXPECT_TRUE(JScan(" ", "%f%", &value));  // blanks count as movement
    EXPECT_EQ(JParseFloat("0.1000000000000000055511151231257827"), 0.1);
    EXPECT_EQ(JParseFloat("9007199254740993"), 9007199254740992.0);  // tie: to even
    EXPECT_EQ(JParseFloat("9007199254740993.0000000001"), 9007199254740994.0);
    EXPECT_EQ(JParseFloat(("1" + std::string(400, '0')).c_str()), kInfinity);
    EXPECT_EQ(JParseFloat(("0." + std::string(400, '0') + "1").c_str()), 0.0);
    EXPECT_EQ(JParseFloat(("0." + std::string(323, '0') + "4940656458412465").c_str()), 5e-324);
}

// What "%f%" writes with enough digits reads back as the same double.
TEST(ScanTest, RealsRoundTrip) {
    std::mt19937_64 random(12345);
    for (int i = 0; i < 300; ++i) {
        const double value = std::ldexp(std::uniform_real_distribution<double>(-1, 1)(random),
                                        std::uniform_int_distribution<int>(-1074, 1023)(random));
        const std::string text = Format("%f1,400.0,400%", value);
        EXPECT_EQ(JParseFloat(text.c_str()), value) << text;
    }
}

}  // namespace
