// The framework's doubly linked list with a built-in cursor. Iteration,
// insertion and removal all go through the cursor, which is shared by every
// user of the list: walks must not interleave.
//
// Values are pointer-sized so that a list can hold pointers; the moving
// operations return 0 at the ends, so lists walked with them hold no 0 values.
#pragma once

#include <cstdint>

using JListValue = std::uintptr_t;

struct JListNode {
    JListValue value;
    JListNode* next;  // toward the tail
    JListNode* prev;  // toward the head
};

struct JList {
    JListNode* head;
    JListNode* tail;
    JListNode* cursor;
    std::uint32_t count;
};

JList* JListNew();
void JListFree(JList* list);  // releases the nodes and the record, not the values
void JListClear(JList* list, void (*release)(JListValue value));

std::uint32_t JListCount(const JList* list);
JListValue JListFirst(JList* list);
JListValue JListLast(JList* list);
JListValue JListNext(JList* list);
JListValue JListPrev(JList* list);
JListValue JListCurrent(const JList* list);
JListValue JListSetCurrent(JList* list, JListValue value);  // returns the old value

void JListInsertAfter(JList* list, JListValue value);
void JListInsertBefore(JList* list, JListValue value);
JListNode* JListAppend(JList* list, JListValue value);
void JListPrepend(JList* list, JListValue value);
JListValue JListRemoveCurrent(JList* list);
JListValue JListRemoveNode(JList* list, JListNode* node);

using JListPredicate = bool (*)(std::uintptr_t context, JListValue value);
// Walks toward the tail from the cursor (JListFind) or from the head
// (JListFindFromHead); on a match the cursor stays on the found node.
bool JListFind(JList* list, JListPredicate predicate, std::uintptr_t context);
bool JListFindFromHead(JList* list, JListPredicate predicate, std::uintptr_t context);
// Finds from the head and removes the found node; 0 when nothing matched.
JListValue JListFindAndRemove(JList* list, JListPredicate predicate, std::uintptr_t context);

template <typename T>
JListValue JListValueOf(T* pointer) {
    return reinterpret_cast<JListValue>(pointer);
}
template <typename T>
T* JListPointer(JListValue value) {
    return reinterpret_cast<T*>(value);
}
