#include "app/optimiser/colour_tables.h"

#include <algorithm>
#include <numeric>

namespace {

constexpr std::size_t kTableEntries = 256;

// The colours a frame draws, from its histogram.
std::vector<Pixel> DrawnColours(const GifFrame& frame) {
    std::vector<Pixel> drawn;
    ForEachDrawnColour(frame, [&drawn](Pixel colour, std::uint32_t) { drawn.push_back(colour); });
    std::sort(drawn.begin(), drawn.end());
    drawn.erase(std::unique(drawn.begin(), drawn.end()), drawn.end());
    return drawn;
}

// Frames from the largest area down; ties keep the file's order.
std::vector<const GifFrame*> FramesByArea(const GifDocument& document) {
    std::vector<const GifFrame*> frames;
    for (const std::unique_ptr<GifFrame>& frame : document.frames) {
        frames.push_back(frame.get());
    }
    std::stable_sort(frames.begin(), frames.end(), [](const GifFrame* a, const GifFrame* b) {
        return RectArea(a->rect) > RectArea(b->rect);
    });
    return frames;
}

// Colours that frames change to most often first: a frame whose colours all
// sit early in the table is written with narrower codes. Ties keep the
// order of the colour ids, which is the order the file gave them.
ColourIds OrderedByChanges(const GifDocument& document, std::vector<Pixel> colours) {
    const auto weight = [&document](Pixel colour) {
        return colour < document.changeWeights.size() ? document.changeWeights[colour] : 0;
    };
    std::stable_sort(colours.begin(), colours.end(),
                     [&weight](Pixel a, Pixel b) { return weight(a) > weight(b); });
    return colours;
}

}  // namespace

ColourIds ChooseGlobalTable(GifDocument& document, const ColourIds* keep) {
    std::vector<Pixel> kept;
    if (keep) {
        kept = *keep;
        std::sort(kept.begin(), kept.end());
        kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
    }
    std::vector<Pixel> chosen = kept;
    // A full table still leaves a transparent index to every frame that does
    // not use all of its colours.
    const std::size_t capacity = kTableEntries - (keep ? keep->size() - kept.size() : 0);
    if (document.leavesUncovered) {
        const Pixel background = ColourId(document, document.backgroundColour);
        if (!std::binary_search(chosen.begin(), chosen.end(), background) &&
            chosen.size() < capacity) {
            chosen.insert(std::upper_bound(chosen.begin(), chosen.end(), background), background);
        }
    }
    for (const GifFrame* frame : FramesByArea(document)) {
        std::vector<Pixel> merged;
        const std::vector<Pixel> drawn = DrawnColours(*frame);
        std::set_union(chosen.begin(), chosen.end(), drawn.begin(), drawn.end(),
                       std::back_inserter(merged));
        if (merged.size() <= capacity) {
            chosen = std::move(merged);
        }
    }
    if (!keep) {
        return OrderedByChanges(document, std::move(chosen));
    }
    std::vector<Pixel> added;
    std::set_difference(chosen.begin(), chosen.end(), kept.begin(), kept.end(),
                        std::back_inserter(added));
    ColourIds table = *keep;
    const ColourIds ordered = OrderedByChanges(document, std::move(added));
    table.insert(table.end(), ordered.begin(), ordered.end());
    return table;
}

void TableLookup::Set(const ColourIds& table) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        indexOf_[table[i]] = std::int16_t(i);
    }
}

void TableLookup::Clear(const ColourIds& table) {
    for (Pixel colour : table) {
        indexOf_[colour] = -1;
    }
}

namespace {

struct PixelColours {
    std::vector<Pixel> colours;  // distinct, most used first
    bool transparent = false;
};

PixelColours CountPixelColours(const std::vector<Pixel>& pixels) {
    // One count per possible pixel, all zero between calls: frames are
    // large and their colours few, so only the colours met are reset.
    thread_local std::vector<std::uint32_t> counts(std::size_t(kBackgroundPixel) + 1, 0);
    PixelColours found;
    for (Pixel pixel : pixels) {
        if (counts[pixel]++ == 0) {
            found.colours.push_back(pixel);
        }
    }
    if (counts[kBackgroundPixel] != 0) {
        found.transparent = true;
        found.colours.erase(
            std::find(found.colours.begin(), found.colours.end(), kBackgroundPixel));
    }
    std::sort(found.colours.begin(), found.colours.end(), [](Pixel a, Pixel b) {
        return counts[a] != counts[b] ? counts[a] > counts[b] : a < b;
    });
    for (Pixel colour : found.colours) {
        counts[colour] = 0;
    }
    counts[kBackgroundPixel] = 0;
    return found;
}

bool AllIn(const std::vector<Pixel>& colours, const TableLookup& lookup) {
    return std::all_of(colours.begin(), colours.end(),
                       [&lookup](Pixel colour) { return lookup.IndexOf(colour) >= 0; });
}

void FillIndices(TablePlan& plan, const std::vector<Pixel>& pixels, const TableLookup& lookup,
                 TransparencyBand band) {
    plan.histogram.assign(plan.table.size(), 0);
    plan.indices.resize(pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (pixels[i] != kBackgroundPixel) {
            const int index = lookup.IndexOf(pixels[i]);
            plan.indices[i] = std::uint8_t(index);
            ++plan.histogram[std::size_t(index)];
        }
    }
    if (!plan.transparent) {
        return;
    }
    std::vector<std::uint32_t> counts = plan.histogram;
    counts.resize(kTableEntries, 0);
    plan.transparentIndex =
        PickTransparentIndex(std::uint16_t(plan.table.size()), counts.data(), band);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (pixels[i] == kBackgroundPixel) {
            plan.indices[i] = plan.transparentIndex;
        }
    }
}

}  // namespace

std::uint8_t WrittenBackgroundIndex(const GifDocument& document, const ColourIds& global) {
    if (!document.leavesUncovered) {
        return 0;
    }
    for (std::size_t i = 0; i < global.size(); ++i) {
        if (document.colours[global[i]] == document.backgroundColour) {
            return std::uint8_t(i);
        }
    }
    return 0;
}

namespace {

bool HoldsPinned(const ColourIds& table, const std::optional<PinnedColour>& pinned) {
    return !pinned || (pinned->index < table.size() && table[pinned->index] == pinned->colour);
}

// The pixels' colours with the pinned one moved to its index; entries up to
// it that no pixel needs repeat the pinned colour, whose last place is the
// one the pixels use.
ColourIds WithPinned(ColourIds colours, const PinnedColour& pinned) {
    const auto at = std::find(colours.begin(), colours.end(), pinned.colour);
    if (at != colours.end()) {
        colours.erase(at);
    }
    if (colours.size() <= pinned.index) {
        colours.resize(pinned.index + std::size_t(1), pinned.colour);
    } else {
        colours.insert(colours.begin() + pinned.index, pinned.colour);
    }
    return colours;
}

}  // namespace

std::optional<TablePlan> PlanTable(const std::vector<Pixel>& pixels, bool declareTransparency,
                                   std::optional<PinnedColour> pinned, const ColourIds& global,
                                   const TableLookup& globalLookup, TableLookup& scratch,
                                   TransparencyBand band, bool ownTable) {
    const PixelColours found = CountPixelColours(pixels);
    const bool transparent = found.transparent || declareTransparency;
    TablePlan plan;
    plan.transparent = transparent;
    if (!ownTable && AllIn(found.colours, globalLookup) && HoldsPinned(global, pinned) &&
        found.colours.size() + (transparent ? 1 : 0) <= kTableEntries) {
        plan.table = global;
        FillIndices(plan, pixels, globalLookup, band);
    } else {
        plan.local = true;
        plan.table = pinned ? WithPinned(found.colours, *pinned) : found.colours;
        if (plan.table.size() + (transparent ? 1 : 0) > kTableEntries) {
            return std::nullopt;
        }
        scratch.Set(plan.table);
        FillIndices(plan, pixels, scratch, band);
        scratch.Clear(plan.table);
    }
    return plan;
}
