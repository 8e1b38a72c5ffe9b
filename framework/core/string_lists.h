// Texts by index. The resources hold, beside the texts, range strings ("1000
// 1098") naming the ids that make up one list; a family of lists is named by
// the id of its first range string. Lists load on first use and live for the
// rest of the run.
#pragma once

#include <cstddef>
#include <cstdint>

// Copies resource string `id` into the buffer (at most size - 1 bytes and a
// terminator), or the default when the resources have no such string.
void JLoadString(std::uint16_t id, char* buffer, std::size_t size, const char* fallback);

struct IJStringList {
    std::uint16_t count;
    char** texts;  // texts[p] is resource id first + p; a missing id is ""
};

struct IJStringCache {
    IJStringList** lists;  // null entries for lists whose range string is missing
    std::uint16_t count;
};

// Builds the list described by range string `rangeId`; null when it is missing.
IJStringList* IJStringLoad(std::uint16_t rangeId);
const char* IJStringAt(const IJStringList* list, std::uint16_t position);  // null past the end
// The program keeps its lists for the whole run; these serve short-lived
// caches such as a test's.
void IJStringListFree(IJStringList* list);
void IJStringCacheClear(IJStringCache* cache);
// Never null: a missing list or position gives an error text in its place.
// The text belongs to the list.
const char* IJStringGet(IJStringCache* cache, std::uint16_t index, std::uint16_t baseId);

constexpr std::uint16_t kApplicationStringBase = 128;
constexpr std::uint16_t kOutOfMemoryStringBase = 160;

// The application's texts: index i is resource id 1000 + i (lists of 100).
const char* IJString(std::uint16_t index);
// The out-of-memory texts: index i is resource id 2200 + i.
const char* IJStringOutOfMemory(std::uint16_t index);
