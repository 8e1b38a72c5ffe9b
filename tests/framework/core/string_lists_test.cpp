#include <gtest/gtest.h>

#include <iterator>

#include "framework/core/resources.h"
#include "framework/core/string_lists.h"

namespace {

// A small resource table: two lists of family 50, the second with a gap.
constexpr JResourceString kTable[] = {
    {50, "1000 1098"}, {51, "1100 1199"},       {52, "1200 1202"},        {60, "1000 1002"},
    {1000, "first"},   {1002, "third"},         {1098, "last of list 0"}, {1100, "list 1"},
    {1200, "list 2"},  {1202, "end of list 2"},
};

class StringListTest : public testing::Test {
protected:
    void SetUp() override { JUseResourceTable(kTable, std::size(kTable)); }
    void TearDown() override {
        IJStringCacheClear(&cache_);
        JUseResourceTable(nullptr, 0);
    }

    const char* Get(std::uint16_t index) { return IJStringGet(&cache_, index, 50); }

    IJStringCache cache_{nullptr, 0};
};

TEST_F(StringListTest, IndexArithmeticMapsHundredsToLists) {
    EXPECT_STREQ(Get(0), "first");
    EXPECT_STREQ(Get(98), "last of list 0");
    EXPECT_STREQ(Get(99), "IJString Error");  // list 0 holds 99 texts
    EXPECT_STREQ(Get(100), "list 1");
    EXPECT_STREQ(Get(202), "end of list 2");
    EXPECT_STREQ(Get(203), "IJString Error");
    EXPECT_STREQ(Get(350), "IJString Error");  // no range string 53
}

TEST_F(StringListTest, ListsLoadInOrderAndOnlyOnce) {
    EXPECT_STREQ(Get(250), "IJString Error");
    EXPECT_EQ(cache_.count, 3);
    const IJStringList* first = cache_.lists[0];
    EXPECT_STREQ(Get(5), "");
    EXPECT_EQ(cache_.count, 3);
    EXPECT_EQ(cache_.lists[0], first);
}

TEST_F(StringListTest, MissingIdInsideARangeIsAnEmptyText) {
    IJStringList* list = IJStringLoad(60);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count, 3);
    EXPECT_STREQ(IJStringAt(list, 0), "first");
    EXPECT_STREQ(IJStringAt(list, 1), "");
    EXPECT_STREQ(IJStringAt(list, 2), "third");
    EXPECT_EQ(IJStringAt(list, 3), nullptr);
    IJStringListFree(list);
    EXPECT_EQ(IJStringLoad(61), nullptr);
}

TEST_F(StringListTest, LoadStringFallsBackAndCutsToTheBuffer) {
    char buffer[6];
    JLoadString(1098, buffer, sizeof buffer, "none");
    EXPECT_STREQ(buffer, "last ");
    JLoadString(1001, buffer, sizeof buffer, "none");
    EXPECT_STREQ(buffer, "none");
}

TEST(ApplicationStringsTest, FamiliesReadTheProgramTexts) {
    EXPECT_STREQ(IJString(170), "Yes");
    EXPECT_STREQ(IJString(278), "IJString Error");
    EXPECT_STREQ(IJStringOutOfMemory(1), "Ok");
    EXPECT_STREQ(IJStringOutOfMemory(5), "430 250");
}

}  // namespace
