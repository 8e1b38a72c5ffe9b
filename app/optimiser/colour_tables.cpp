#include "app/optimiser/colour_tables.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "app/optimiser/colour_ordering.h"

namespace {

constexpr std::size_t kTableEntries = 256;

// The colours a frame draws, from its histogram.
std::vector<Pixel> DrawnColours(const GifFrame& frame) {
    std::vector<Pixel> drawn;
    const std::size_t used = std::min(frame.table.size(), frame.histogram.size());
    for (std::size_t i = 0; i < used; ++i) {
        if (frame.histogram[i] != 0) {
            drawn.push_back(frame.table[i]);
        }
    }
    std::sort(drawn.begin(), drawn.end());
    drawn.erase(std::unique(drawn.begin(), drawn.end()), drawn.end());
    return drawn;
}

// Pixels drawn of each colour over all frames.
std::unordered_map<Pixel, std::uint64_t> ColourWeights(const GifDocument& document) {
    std::unordered_map<Pixel, std::uint64_t> weights;
    for (const std::unique_ptr<GifFrame>& frame : document.frames) {
        const std::size_t used = std::min(frame->table.size(), frame->histogram.size());
        for (std::size_t i = 0; i < used; ++i) {
            if (frame->histogram[i] != 0) {
                weights[frame->table[i]] += frame->histogram[i];
            }
        }
    }
    return weights;
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

ColourIds OrderedByEngine(const GifDocument& document, const std::vector<Pixel>& colours,
                          const std::unordered_map<Pixel, std::uint64_t>& weights) {
    ColourSet set = NewColourSet(colours.size());
    for (Pixel colour : colours) {
        const auto weight = weights.find(colour);
        AddColour(set, document.colours[colour].Packed(),
                  weight == weights.end() ? 0 : weight->second);
    }
    OrderColours(set);
    ColourIds ordered(set.entries.size());
    for (const ColourEntry& entry : set.entries) {
        const Pixel colour = document.colourIds.at(entry.colour);
        ordered[entry.newIndex] = colour;
    }
    return ordered;
}

}  // namespace

ColourIds ChooseGlobalTable(GifDocument& document) {
    std::vector<Pixel> chosen;
    if (document.leavesUncovered) {
        chosen.push_back(ColourId(document, document.backgroundColour));
    }
    // A full table still leaves a transparent index to every frame that does
    // not use all of its colours.
    const std::size_t capacity = kTableEntries;
    for (const GifFrame* frame : FramesByArea(document)) {
        std::vector<Pixel> merged;
        const std::vector<Pixel> drawn = DrawnColours(*frame);
        std::vector<Pixel> sortedChosen = chosen;
        std::sort(sortedChosen.begin(), sortedChosen.end());
        std::set_union(sortedChosen.begin(), sortedChosen.end(), drawn.begin(), drawn.end(),
                       std::back_inserter(merged));
        if (merged.size() <= capacity) {
            chosen = std::move(merged);
        }
    }
    return OrderedByEngine(document, chosen, ColourWeights(document));
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
    PixelColours found;
    std::unordered_map<Pixel, std::uint32_t> counts;
    for (Pixel pixel : pixels) {
        if (pixel == kBackgroundPixel) {
            found.transparent = true;
        } else {
            ++counts[pixel];
        }
    }
    for (const auto& [colour, count] : counts) {
        found.colours.push_back(colour);
    }
    std::sort(found.colours.begin(), found.colours.end(), [&counts](Pixel a, Pixel b) {
        const std::uint32_t countA = counts[a];
        const std::uint32_t countB = counts[b];
        return countA != countB ? countA > countB : a < b;
    });
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

std::optional<TablePlan> PlanTable(const std::vector<Pixel>& pixels, bool declareTransparency,
                                   const ColourIds& global, const TableLookup& globalLookup,
                                   TableLookup& scratch, TransparencyBand band) {
    const PixelColours found = CountPixelColours(pixels);
    const bool transparent = found.transparent || declareTransparency;
    const std::size_t needed = found.colours.size() + (transparent ? 1 : 0);
    if (needed > kTableEntries) {
        return std::nullopt;
    }
    TablePlan plan;
    plan.transparent = transparent;
    if (AllIn(found.colours, globalLookup)) {
        plan.table = global;
        FillIndices(plan, pixels, globalLookup, band);
    } else {
        plan.local = true;
        plan.table = found.colours;
        scratch.Set(plan.table);
        FillIndices(plan, pixels, scratch, band);
        scratch.Clear(plan.table);
    }
    return plan;
}
