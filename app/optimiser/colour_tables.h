// The colour-table work done when a file has been read: the local colour
// tables are merged into the global table, which is then compacted to the
// colours some frame really uses, reordered and cut to at most 255 colours,
// with every frame remapped and re-encoded to match.
#pragma once

#include <cstdint>
#include <vector>

#include "app/codec/document.h"
#include "app/optimiser/transparent_index.h"

struct LoadingFrame;

// Merges every frame's table into the document's; frames lose their local
// tables. Sets the colour count to the merged table's.
void MergeLocalTables(GifDocument& document, std::vector<LoadingFrame>& frames,
                      TransparencyBand band);
// Keeps only used colours, ordered and merged down to at most 255; one
// progress step of `stepsPerFrame` per frame.
void CompactGlobalTable(GifDocument& document, std::uint32_t stepsPerFrame, TransparencyBand band);
// Remaps a frame's histogram, pixels and transparent index with `map` (256
// entries; `tableSize` of them used) and encodes the frame anew.
void RemapFrame(GifDocument& document, GifFrame& frame, std::uint16_t tableSize,
                const std::uint8_t* map, TransparencyBand band);
