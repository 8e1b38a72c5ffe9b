#include "framework/core/string_lists.h"

#include "framework/core/format.h"
#include "framework/core/memory.h"
#include "framework/core/resources.h"
#include "framework/core/strings.h"

namespace {

constexpr std::size_t kTextBufferSize = 255;  // texts hold at most 254 bytes
constexpr std::size_t kRangeBufferSize = 255;
constexpr std::uint16_t kListLength = 100;

const char kListNotFound[] = "IJString list not found";
const char kStringError[] = "IJString Error";

// Loads lists from the cache's count up to list `last`, in order.
void GrowCache(IJStringCache* cache, std::uint16_t last, std::uint16_t baseId) {
    std::uint16_t wanted = static_cast<std::uint16_t>(last + 1);
    cache->lists =
        static_cast<IJStringList**>(JRealloc(cache->lists, sizeof(IJStringList*) * wanted));
    for (std::uint16_t k = cache->count; k < wanted; ++k) {
        cache->lists[k] = IJStringLoad(static_cast<std::uint16_t>(baseId + k));
    }
    cache->count = wanted;
}

}  // namespace

void JLoadString(std::uint16_t id, char* buffer, std::size_t size, const char* fallback) {
    if (size == 0) {
        return;
    }
    const char* text = JResourceText(id);
    const char* source = text ? text : fallback;
    std::size_t length = JStrLen(source);
    JStrCopyN(buffer, source, length < size ? length : size - 1);
}

IJStringList* IJStringLoad(std::uint16_t rangeId) {
    if (!JResourceText(rangeId)) {
        return nullptr;
    }
    char range[kRangeBufferSize];
    JLoadString(rangeId, range, sizeof range, "");
    std::int32_t first = 0;
    std::int32_t last = -1;
    JScan(range, "%dl% %dl%", &first, &last);
    std::int32_t count = last - first + 1;
    if (count < 0) {
        count = 0;
    }
    auto* list = static_cast<IJStringList*>(JAlloc(sizeof(IJStringList)));
    list->count = static_cast<std::uint16_t>(count);
    list->texts = static_cast<char**>(JAlloc(sizeof(char*) * (list->count ? list->count : 1)));
    for (std::uint16_t p = 0; p < list->count; ++p) {
        char text[kTextBufferSize];
        JLoadString(static_cast<std::uint16_t>(first + p), text, sizeof text, "");
        list->texts[p] = JStrDup(text);
    }
    return list;
}

const char* IJStringAt(const IJStringList* list, std::uint16_t position) {
    return position < list->count ? list->texts[position] : nullptr;
}

void IJStringListFree(IJStringList* list) {
    for (std::uint16_t p = 0; p < list->count; ++p) {
        JStrFree(list->texts[p]);
    }
    JFree(list->texts);
    JFree(list);
}

void IJStringCacheClear(IJStringCache* cache) {
    for (std::uint16_t k = 0; k < cache->count; ++k) {
        if (cache->lists[k]) {
            IJStringListFree(cache->lists[k]);
        }
    }
    if (cache->lists) {
        JFree(cache->lists);
    }
    *cache = IJStringCache{nullptr, 0};
}

const char* IJStringGet(IJStringCache* cache, std::uint16_t index, std::uint16_t baseId) {
    std::uint16_t k = index / kListLength;
    std::uint16_t p = index % kListLength;
    if (k >= cache->count) {
        GrowCache(cache, k, baseId);
    }
    if (!cache->lists) {
        return kListNotFound;
    }
    const IJStringList* list = cache->lists[k];
    if (!list) {
        return kStringError;
    }
    const char* text = IJStringAt(list, p);
    return text ? text : kStringError;
}

const char* IJString(std::uint16_t index) {
    static IJStringCache cache{nullptr, 0};
    return IJStringGet(&cache, index, kApplicationStringBase);
}

const char* IJStringOutOfMemory(std::uint16_t index) {
    static IJStringCache cache{nullptr, 0};
    return IJStringGet(&cache, index, kOutOfMemoryStringBase);
}
