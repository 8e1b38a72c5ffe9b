// Colour tables of a written file. The document keeps every colour; when a
// stream is written, one global table holds the colours of as many frames
// as fit, and a frame whose colours are not all in it carries a table of
// its own with exactly the colours it needs.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "app/codec/document.h"
#include "app/optimiser/transparent_index.h"

// The colours of the global table in the order that keeps codes small:
// the colours of the largest frames first, as many frames as fit, the
// colours most frames change to first. When some screen leaves the canvas uncovered, the
// background colour is among them. A table to keep, when given, stands
// first as it is.
ColourIds ChooseGlobalTable(GifDocument& document, const ColourIds* keep = nullptr);

// Finds a colour's index in a table; -1 when the table lacks it. Sized to
// the document's colour list.
class TableLookup {
public:
    explicit TableLookup(std::size_t colourCount) : indexOf_(colourCount, -1) {}
    void Set(const ColourIds& table);
    void Clear(const ColourIds& table);
    int IndexOf(Pixel colour) const { return indexOf_[colour]; }

private:
    std::vector<std::int16_t> indexOf_;
};

// How a frame's pixels are written: the table, whether it is the frame's
// own, the transparent index and the indices of the pixels.
struct TablePlan {
    ColourIds table;
    bool local = false;
    bool transparent = false;
    std::uint8_t transparentIndex = 0;
    std::vector<std::uint32_t> histogram;  // per index of the table
    std::vector<std::uint8_t> indices;     // the pixels, row after row
};

// A colour a table must hold at a given index.
struct PinnedColour {
    std::uint8_t index;
    Pixel colour;
};

// The background index a stream is written with: the background colour's
// place in the global table when some screen shows background, else 0.
std::uint8_t WrittenBackgroundIndex(const GifDocument& document, const ColourIds& global);

// Plans a table for rectangle-sized pixels in which kBackgroundPixel stands
// for a transparent pixel: the global table when it holds every colour,
// otherwise a table of the pixels' own colours. Transparency is declared
// when a pixel is transparent or when `declareTransparency` asks, and the
// table holds the pinned colour when there is one. With `ownTable` the
// pixels' own colours make the table even when the global one would do.
// None when the colours and the transparent index cannot share 256 entries.
std::optional<TablePlan> PlanTable(const std::vector<Pixel>& pixels, bool declareTransparency,
                                   std::optional<PinnedColour> pinned, const ColourIds& global,
                                   const TableLookup& globalLookup, TableLookup& scratch,
                                   TransparencyBand band, bool ownTable = false);
