// Frame optimisation: each frame of a document is cut down to the rectangle
// that really changes on the screen, pixels left as they were may become
// transparent, and of up to five encodings of the frame the shortest is kept.
// What every frame shows, with its disposal honoured, stays as it was.
#pragma once

#include "app/codec/document.h"
#include "app/optimiser/compression_options.h"

// Rewrites every frame's rectangle, disposal (restore to background may
// become do not dispose), transparent flag and index, histogram and encoded
// image; one progress step per frame. The canvas is rebuilt afterwards.
void OptimiseFrames(GifDocument& document, const CompressionOptions& options);

// The colour table size a frame needs: 1 + the larger of its highest used
// index (0 when none) and, when its transparent flag is set, its transparent
// index.
int ColoursNeeded(const GifDocument& document, const GifFrame& frame);
// The same over the first `range` histogram entries (a table of another size
// than the document's, while colours are being remapped).
int ColoursNeededInRange(const GifFrame& frame, std::size_t range);
