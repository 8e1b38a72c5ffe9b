#include "framework/core/strings.h"

#include <gtest/gtest.h>

#include "framework/core/memory.h"

namespace {

// Checks a heap result and releases it.
void ExpectHeap(char* result, const char* expected) {
    EXPECT_STREQ(result, expected);
    JStrFree(result);
}

TEST(StringsTest, Comparisons) {
    EXPECT_TRUE(JStrEqual("abc", "abc"));
    EXPECT_FALSE(JStrEqual("abc", "abcd"));
    EXPECT_FALSE(JStrEqual("abc", "ABC"));
    EXPECT_TRUE(JStrEqualN("abcX", "abcY", 3));
    EXPECT_FALSE(JStrEqualN("abcX", "abcY", 4));
    EXPECT_TRUE(JStrEqualN("ab", "ab", 10));  // equal up to both terminators
    EXPECT_TRUE(JStrEqualNoCase("Hello, World", "hELLO, wORLD"));
    EXPECT_FALSE(JStrEqualNoCase("a", "ab"));
    EXPECT_FALSE(JStrEqualNoCase("\xE9", "\xC9"));  // ASCII letters only
    EXPECT_EQ(JStrLen(""), 0u);
    EXPECT_EQ(JStrLen("four"), 4u);
}

TEST(StringsTest, Copies) {
    char buffer[16] = "xxxxxxxxxxxxxxx";
    JStrCopyN(buffer, "abcdef", 3);
    EXPECT_STREQ(buffer, "abc");
    char* end = JStrCopyEnd(buffer, "hello");
    EXPECT_EQ(end, buffer + 5);
    JStrCopyEnd(end, " you");
    EXPECT_STREQ(buffer, "hello you");

    ExpectHeap(JStrDup("text"), "text");
    ExpectHeap(JStrDupN("text", 2), "te");
    ExpectHeap(JStrDupN("te", 10), "te");
    ExpectHeap(JStrDupTail("xtail"), "tail");
    ExpectHeap(JStrDupTail(""), "");
    JTempMark();
    EXPECT_STREQ(JStrDupTempN("temporary", 4), "temp");
    EXPECT_STREQ(JStrRepeatTemp('-', 3), "---");
    JTempRelease();
    JStrFree(nullptr);
}

TEST(StringsTest, Joining) {
    ExpectHeap(JStrConcat("ab", "cd"), "abcd");
    ExpectHeap(JStrConcat("", ""), "");
    const char* parts[] = {"one", ", ", "two", "", ", three", nullptr};
    ExpectHeap(JStrConcatList(parts), "one, two, three");
    const char* none[] = {nullptr};
    ExpectHeap(JStrConcatList(none), "");
    ExpectHeap(JStrAppendChar("ab", 'c'), "abc");
    ExpectHeap(JStrRepeat('*', 4), "****");
    ExpectHeap(JStrRepeat('*', 0), "");
    char filled[] = "abcdef";
    JStrFill(filled, '.', 3);
    EXPECT_STREQ(filled, "...def");
}

TEST(StringsTest, Searching) {
    const char* s = "a.b.c";
    EXPECT_EQ(JStrFind(s, '.'), s + 1);
    EXPECT_EQ(JStrFind(s, 'x'), nullptr);
    EXPECT_EQ(JStrFind(s, '\0'), s + 5);
    EXPECT_EQ(JStrFindOrEnd(s, 'c'), s + 4);
    EXPECT_EQ(JStrFindOrEnd(s, 'x'), s + 5);
    EXPECT_EQ(JStrFindLast(s, '.'), s + 3);
    EXPECT_EQ(JStrFindLast(s, 'x'), nullptr);
    EXPECT_EQ(JStrFindNth(s, '.', 1), s + 1);
    EXPECT_EQ(JStrFindNth(s, '.', 2), s + 3);
    EXPECT_EQ(JStrFindNth(s, '.', 3), nullptr);
    EXPECT_EQ(JStrFindNth(s, '.', 0), nullptr);
    EXPECT_EQ(JStrFindNoCase("GIF file", 'f'), static_cast<const char*>("GIF file") + 2);
    EXPECT_EQ(JStrFindNoCase("abc", 'x'), nullptr);
}

TEST(StringsTest, Capitalize) {
    ExpectHeap(JStrCapitalize("save as... the file"), "Save As... The File");
    ExpectHeap(JStrCapitalize("  two  blanks 9lives"), "  Two  Blanks 9lives");
    ExpectHeap(JStrCapitalize(""), "");
}

}  // namespace
