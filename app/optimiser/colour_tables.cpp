#include "app/optimiser/colour_tables.h"

#include <algorithm>
#include <array>

#include "app/codec/gif_reader.h"
#include "app/codec/image_encode.h"
#include "app/optimiser/colour_ordering.h"
#include "app/optimiser/frame_optimiser.h"
#include "app/optimiser/progress.h"

namespace {

using IndexMap = std::array<std::uint8_t, 256>;

std::uint32_t ColourAt(const std::uint8_t* table, std::size_t index) {
    const std::uint8_t* rgb = table + 3 * index;
    return std::uint32_t(rgb[0]) << 16 | std::uint32_t(rgb[1]) << 8 | rgb[2];
}

void AddUsedColours(ColourSet& set, const std::uint8_t* table, std::size_t size,
                    const std::vector<std::uint32_t>& histogram) {
    const std::size_t used = std::min(size, histogram.size());
    for (std::size_t i = 0; i < used; ++i) {
        if (histogram[i] != 0) {
            AddColour(set, ColourAt(table, i), histogram[i]);
        }
    }
}

// Indices past the table's size map to 0; no pixel uses them.
IndexMap MapOf(const ColourSet& set, const std::uint8_t* table, std::size_t size) {
    IndexMap map{};
    for (std::size_t i = 0; i < std::min<std::size_t>(size, 256); ++i) {
        map[i] = static_cast<std::uint8_t>(LookUpColour(set, ColourAt(table, i)));
    }
    return map;
}

// The document's table becomes the colours of the ordered set.
std::uint16_t TakeOrderedColours(GifDocument& document, const ColourSet& set) {
    for (const ColourEntry& entry : set.entries) {
        if (entry.newIndex < 255) {
            std::uint8_t* rgb = document.colourTable + 3 * entry.newIndex;
            rgb[0] = static_cast<std::uint8_t>(entry.colour >> 16);
            rgb[1] = static_cast<std::uint8_t>(entry.colour >> 8);
            rgb[2] = static_cast<std::uint8_t>(entry.colour);
        }
    }
    return static_cast<std::uint16_t>(std::min<std::size_t>(255, set.entries.size()));
}

}  // namespace

void RemapFrame(GifDocument& document, GifFrame& frame, std::uint16_t tableSize,
                const std::uint8_t* map, TransparencyBand band) {
    std::vector<std::uint32_t> histogram(tableSize, 0);
    for (std::size_t i = 0; i < std::min<std::size_t>(tableSize, frame.histogram.size()); ++i) {
        if (map[i] < tableSize) {
            histogram[map[i]] += frame.histogram[i];
        }
    }
    frame.histogram = std::move(histogram);
    DecodeFrameImagePlain(document, frame, frame.interlaced);

    IndexMap frameMap;
    std::copy_n(map, frameMap.size(), frameMap.begin());
    std::size_t range = tableSize;
    if (frame.transparent) {
        std::uint8_t index = PickTransparentIndex(tableSize, frame.histogram.data(), band);
        frameMap[frame.transparentIndex] = index;
        frame.transparentIndex = index;
        range = std::max<std::size_t>(range, std::size_t(index) + 1);
    }
    RemapRect(document.canvas, frame.rect, frameMap.data());
    FreeEncodedImage(frame);
    EncodeFrameImage(document.canvas, frame, frame.interlaced, ColoursNeededInRange(frame, range));
}

void MergeLocalTables(GifDocument& document, std::vector<LoadingFrame>& frames,
                      TransparencyBand band) {
    ColourSet set = NewColourSet();
    for (const LoadingFrame& loading : frames) {
        const std::uint8_t* table =
            loading.localTable.empty() ? document.colourTable : loading.localTable.data();
        AddUsedColours(set, table, loading.colourCount, loading.frame->histogram);
    }
    OrderColours(set);
    const auto merged = static_cast<std::uint16_t>(std::min<std::size_t>(255, set.entries.size()));
    const IndexMap globalMap = MapOf(set, document.colourTable, document.colourCount);
    for (LoadingFrame& loading : frames) {
        GifFrame& frame = *loading.frame;
        IndexMap map = loading.localTable.empty()
                           ? globalMap
                           : MapOf(set, loading.localTable.data(), loading.colourCount);
        std::uint16_t size = std::max(loading.colourCount, merged);
        frame.histogram.resize(size, 0);
        RemapFrame(document, frame, size, map.data(), band);
        frame.histogram.resize(merged);
        loading.colourCount = merged;
        loading.localTable.clear();
    }
    document.colourCount = TakeOrderedColours(document, set);
}

void CompactGlobalTable(GifDocument& document, std::uint32_t stepsPerFrame, TransparencyBand band) {
    const std::uint16_t n = document.colourCount;
    ColourSet set = NewColourSet();
    for (const GifFrame* frame : document.frames) {
        AddUsedColours(set, document.colourTable, n, frame->histogram);
    }
    if (set.entries.size() == 256) {
        document.coloursAltered = true;
    }
    OrderColours(set);
    const IndexMap map = MapOf(set, document.colourTable, n);
    for (GifFrame* frame : document.frames) {
        RemapFrame(document, *frame, n, map.data(), band);
        StepProgress(stepsPerFrame);
    }
    document.colourCount = TakeOrderedColours(document, set);
    // Remapped colours all lie below the new count.
    for (GifFrame* frame : document.frames) {
        frame->histogram.resize(document.colourCount);
    }
}
