#include "framework/platform/draw/resource_images.h"

#include <algorithm>

namespace {

template <typename Record>
const Record* FindById(const Record* table, std::size_t count, std::uint16_t id) {
    const Record* end = table + count;
    const Record* found = std::lower_bound(
        table, end, id,
        [](const Record& record, std::uint16_t value) { return record.id < value; });
    return found != end && found->id == id ? found : nullptr;
}

bool LoadMasked(const JMaskedImageResource* table, std::size_t count, std::uint16_t id,
                JMaskedImage* result) {
    const JMaskedImageResource* found = FindById(table, count, id);
    if (found == nullptr) {
        return false;
    }
    JSurfaceResize(&result->image, found->width, found->height, kBlack);
    JSurfaceResize(&result->mask, found->width, found->height, kWhite);
    for (std::size_t i = 0; i < result->image.pixels.size(); ++i) {
        if (found->opaque[i] != 0) {
            result->image.pixels[i] = found->pixels[i];
            result->mask.pixels[i] = kBlack;
        }
    }
    result->hotX = found->hotX;
    result->hotY = found->hotY;
    return true;
}

}  // namespace

const JBitmapResource* JCompiledBitmap(std::uint16_t id) {
    std::size_t count = 0;
    const JBitmapResource* table = JCompiledBitmaps(&count);
    return FindById(table, count, id);
}

bool JLoadIcon(std::uint16_t id, JMaskedImage* icon) {
    std::size_t count = 0;
    const JMaskedImageResource* table = JCompiledIcons(&count);
    return LoadMasked(table, count, id, icon);
}

bool JLoadCursor(std::uint16_t id, JMaskedImage* cursor) {
    std::size_t count = 0;
    const JMaskedImageResource* table = JCompiledCursors(&count);
    return LoadMasked(table, count, id, cursor);
}
