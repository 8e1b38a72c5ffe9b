// Frame optimisation: each frame of a document is cut down to the rectangle
// that really changes on the screen, pixels left as they were may become
// transparent, and of up to four encodings of the frame the shortest is kept,
// with the global table or, when its colours are not all there, a table of
// its own. What every frame shows, with its disposal honoured, stays as it
// was; a frame whose colours fit no table is kept as it came.
#pragma once

#include "app/codec/document.h"
#include "app/optimiser/compression_options.h"

// Rewrites every frame's rectangle, disposal (restore to background may
// become do not dispose), table, transparent flag and index, histogram and
// encoded image; one progress step per frame. The canvas is rebuilt
// afterwards. Returns the global table the frames without a table of their
// own index.
ColourIds OptimiseFrames(GifDocument& document, const CompressionOptions& options);

// The table size a frame needs: 1 + the larger of its highest used index (0
// when none) and, when its transparent flag is set, its transparent index.
int ColoursNeeded(const GifFrame& frame);
