#include "framework/core/list.h"

#include "framework/core/memory.h"

namespace {

JListNode* NewNode(JListValue value) {
    auto* node = static_cast<JListNode*>(JAlloc(sizeof(JListNode)));
    node->value = value;
    node->next = nullptr;
    node->prev = nullptr;
    return node;
}

// Links `node` between two neighbours (either may be none, at the ends) and
// puts the cursor on it.
void LinkBetween(JList* list, JListNode* node, JListNode* before, JListNode* after) {
    node->prev = before;
    node->next = after;
    (before ? before->next : list->head) = node;
    (after ? after->prev : list->tail) = node;
    list->cursor = node;
    ++list->count;
}

JListValue ValueAt(const JListNode* node) {
    return node ? node->value : 0;
}

}  // namespace

JList* JListNew() {
    auto* list = static_cast<JList*>(JAlloc(sizeof(JList)));
    *list = JList{nullptr, nullptr, nullptr, 0};
    return list;
}

void JListClear(JList* list, void (*release)(JListValue value)) {
    JListNode* node = list->head;
    while (node) {
        JListNode* next = node->next;
        if (release) {
            release(node->value);
        }
        JFree(node);
        node = next;
    }
    *list = JList{nullptr, nullptr, nullptr, 0};
}

void JListFree(JList* list) {
    JListClear(list, nullptr);
    JFree(list);
}

std::uint32_t JListCount(const JList* list) {
    return list->count;
}

JListValue JListFirst(JList* list) {
    list->cursor = list->head;
    return ValueAt(list->cursor);
}

JListValue JListLast(JList* list) {
    list->cursor = list->tail;
    return ValueAt(list->cursor);
}

JListValue JListNext(JList* list) {
    list->cursor = list->cursor ? list->cursor->next : list->head;
    return ValueAt(list->cursor);
}

JListValue JListPrev(JList* list) {
    list->cursor = list->cursor ? list->cursor->prev : list->tail;
    return ValueAt(list->cursor);
}

JListValue JListCurrent(const JList* list) {
    return ValueAt(list->cursor);
}

JListValue JListSetCurrent(JList* list, JListValue value) {
    if (!list->cursor) {
        return 0;
    }
    JListValue old = list->cursor->value;
    list->cursor->value = value;
    return old;
}

void JListInsertAfter(JList* list, JListValue value) {
    JListNode* before = list->cursor;
    // Without a cursor the new node goes in front of the head.
    LinkBetween(list, NewNode(value), before, before ? before->next : list->head);
}

void JListInsertBefore(JList* list, JListValue value) {
    JListNode* after = list->cursor;
    // Without a cursor the new node goes after the tail.
    LinkBetween(list, NewNode(value), after ? after->prev : list->tail, after);
}

JListNode* JListAppend(JList* list, JListValue value) {
    list->cursor = list->tail;
    JListInsertAfter(list, value);
    return list->cursor;
}

void JListPrepend(JList* list, JListValue value) {
    list->cursor = list->head;
    JListInsertBefore(list, value);
}

JListValue JListRemoveCurrent(JList* list) {
    JListNode* node = list->cursor;
    if (!node) {
        return 0;
    }
    (node->prev ? node->prev->next : list->head) = node->next;
    (node->next ? node->next->prev : list->tail) = node->prev;
    list->cursor = node->next;
    --list->count;
    JListValue value = node->value;
    JFree(node);
    return value;
}

JListValue JListRemoveNode(JList* list, JListNode* node) {
    list->cursor = node;
    return JListRemoveCurrent(list);
}

bool JListFind(JList* list, JListPredicate predicate, std::uintptr_t context) {
    for (JListNode* node = list->cursor; node; node = node->next) {
        if (predicate(context, node->value)) {
            list->cursor = node;
            return true;
        }
    }
    list->cursor = nullptr;
    return false;
}

bool JListFindFromHead(JList* list, JListPredicate predicate, std::uintptr_t context) {
    list->cursor = list->head;
    return JListFind(list, predicate, context);
}

JListValue JListFindAndRemove(JList* list, JListPredicate predicate, std::uintptr_t context) {
    return JListFindFromHead(list, predicate, context) ? JListRemoveCurrent(list) : 0;
}
