// The options that steer a compression run, as the preferences hold them.
#pragma once

#include "app/optimiser/transparent_index.h"

struct CompressionOptions {
    bool omitFrameTerminators = true;
    bool excludeOrigin = true;             // Exclude (0,0) from frame rectangles
    bool smallFirstFrameRectangle = true;  // Use a small rectangle for the first frame
    bool useInterframeTransparency = true;
    TransparencyBand band = TransparencyBand::UltralowA;
    // Frames that change nothing are left out of the stream, their delay
    // added to the frame before.
    bool mergeUnchangedFrames = true;
    // Every row mode is encoded and LZW strings are chosen looking ahead:
    // smaller files, more time.
    bool thorough = false;
};
