#include "framework/core/resources.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr JResourceString kStrings[] = {
#include "resources/string_table.inc"
};

constexpr bool SortedById() {
    for (std::size_t i = 1; i < std::size(kStrings); ++i) {
        if (kStrings[i - 1].id >= kStrings[i].id) {
            return false;
        }
    }
    return true;
}
static_assert(SortedById(), "string_table.inc must list each id once, in increasing order");

const JResourceString* gTable = kStrings;
std::size_t gCount = std::size(kStrings);

}  // namespace

const char* JResourceText(std::uint16_t id) {
    const JResourceString* end = gTable + gCount;
    const JResourceString* found = std::lower_bound(
        gTable, end, id,
        [](const JResourceString& entry, std::uint16_t wanted) { return entry.id < wanted; });
    return (found != end && found->id == id) ? found->text : nullptr;
}

const JResourceString* JResourceTable(std::size_t* count) {
    *count = gCount;
    return gTable;
}

void JUseResourceTable(const JResourceString* table, std::size_t count) {
    gTable = table ? table : kStrings;
    gCount = table ? count : std::size(kStrings);
}
