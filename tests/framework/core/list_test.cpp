#include <gtest/gtest.h>

#include <vector>

#include "framework/core/list.h"

namespace {

class ListTest : public testing::Test {
protected:
    void SetUp() override { list_ = JListNew(); }
    void TearDown() override { JListFree(list_); }

    void Append(std::initializer_list<JListValue> values) {
        for (JListValue v : values) {
            JListAppend(list_, v);
        }
    }

    // Walks head to tail, checking the links both ways.
    std::vector<JListValue> Contents() {
        std::vector<JListValue> forward;
        for (JListValue v = JListFirst(list_); v != 0; v = JListNext(list_)) {
            forward.push_back(v);
        }
        std::vector<JListValue> backward;
        for (JListValue v = JListLast(list_); v != 0; v = JListPrev(list_)) {
            backward.insert(backward.begin(), v);
        }
        EXPECT_EQ(forward, backward);
        EXPECT_EQ(forward.size(), JListCount(list_));
        return forward;
    }

    JList* list_ = nullptr;
};

using Values = std::vector<JListValue>;

TEST_F(ListTest, WalkYieldsValuesInOrderThenZero) {
    Append({1, 2, 3});
    EXPECT_EQ(JListFirst(list_), 1u);
    EXPECT_EQ(JListNext(list_), 2u);
    EXPECT_EQ(JListNext(list_), 3u);
    EXPECT_EQ(JListNext(list_), 0u);
    EXPECT_EQ(JListCurrent(list_), 0u);
    // Without a cursor the walk starts again at the head (or the tail).
    EXPECT_EQ(JListNext(list_), 1u);
    JListNext(list_);
    JListNext(list_);
    JListNext(list_);
    EXPECT_EQ(JListPrev(list_), 3u);
}

TEST_F(ListTest, RemovingTheMiddleLeavesTheCursorOnItsSuccessor) {
    Append({1, 2, 3});
    JListFirst(list_);
    JListNext(list_);
    EXPECT_EQ(JListRemoveCurrent(list_), 2u);
    EXPECT_EQ(JListCurrent(list_), 3u);
    EXPECT_EQ(Contents(), (Values{1, 3}));
}

TEST_F(ListTest, RemovingTheLastLeavesNoCursorAndNextRestartsAtHead) {
    Append({1, 2, 3});
    JListLast(list_);
    EXPECT_EQ(JListRemoveCurrent(list_), 3u);
    EXPECT_EQ(JListCurrent(list_), 0u);
    EXPECT_EQ(JListNext(list_), 1u);
    EXPECT_EQ(Contents(), (Values{1, 2}));
}

TEST_F(ListTest, RemovingWithoutCursorDoesNothing) {
    Append({1});
    JListNext(list_);  // runs off the end
    EXPECT_EQ(JListRemoveCurrent(list_), 0u);
    EXPECT_EQ(JListCount(list_), 1u);
}

TEST_F(ListTest, PrependOnEmptyListMakesHeadAndTail) {
    JListPrepend(list_, 7);
    EXPECT_EQ(JListFirst(list_), 7u);
    EXPECT_EQ(JListLast(list_), 7u);
    JListPrepend(list_, 6);
    EXPECT_EQ(Contents(), (Values{6, 7}));
}

TEST_F(ListTest, InsertionsLinkAroundTheCursor) {
    Append({1, 4});
    JListFirst(list_);
    JListInsertAfter(list_, 2);  // cursor moves onto 2
    JListInsertAfter(list_, 3);
    JListFirst(list_);
    JListInsertBefore(list_, 0x10);
    JListLast(list_);
    JListInsertAfter(list_, 5);  // a new tail
    EXPECT_EQ(Contents(), (Values{0x10, 1, 2, 3, 4, 5}));
}

TEST_F(ListTest, SetCurrentReplacesAndReturnsTheOldValue) {
    Append({1, 2});
    JListFirst(list_);
    EXPECT_EQ(JListSetCurrent(list_, 9), 1u);
    EXPECT_EQ(Contents(), (Values{9, 2}));
}

std::vector<JListValue> gReleased;
void Record(JListValue value) {
    gReleased.push_back(value);
}

TEST_F(ListTest, ClearHandsEveryValueOverHeadFirst) {
    Append({1, 2, 3});
    gReleased.clear();
    JListClear(list_, Record);
    EXPECT_EQ(gReleased, (Values{1, 2, 3}));
    EXPECT_EQ(JListCount(list_), 0u);
    EXPECT_EQ(JListFirst(list_), 0u);
}

bool Equals(std::uintptr_t wanted, JListValue value) {
    return value == wanted;
}

TEST_F(ListTest, FindStopsOnMatchAndFindAndRemoveTakesItOut) {
    Append({1, 2, 3, 2});
    EXPECT_TRUE(JListFindFromHead(list_, Equals, 2));
    EXPECT_EQ(JListCurrent(list_), 2u);
    JListNext(list_);
    // Searching on from the cursor finds the second 2.
    EXPECT_TRUE(JListFind(list_, Equals, 2));
    EXPECT_EQ(JListNext(list_), 0u);
    EXPECT_FALSE(JListFindFromHead(list_, Equals, 8));
    EXPECT_EQ(JListFindAndRemove(list_, Equals, 3), 3u);
    EXPECT_EQ(JListFindAndRemove(list_, Equals, 3), 0u);
    EXPECT_EQ(Contents(), (Values{1, 2, 2}));
}

TEST_F(ListTest, RemoveByHandle) {
    Append({1});
    JListNode* two = JListAppend(list_, 2);
    Append({3});
    EXPECT_EQ(JListRemoveNode(list_, two), 2u);
    EXPECT_EQ(JListCurrent(list_), 3u);
    EXPECT_EQ(Contents(), (Values{1, 3}));
}

}  // namespace
