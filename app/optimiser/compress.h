// The compression run: optimise every frame, build the whole GIF89a stream in
// memory, compare its size with the file's, report the saving and, when
// saving, replace the file. The file on disk is not touched before the user's
// last answer, so a test or a declined save leaves it as it was.
#pragma once

#include "app/codec/document.h"
#include "app/optimiser/compression_options.h"

struct FileSpec;

// True when a file was written (never in test mode).
bool CompressDocument(GifDocument& document, const FileSpec* spec, bool saveMode,
                      const CompressionOptions& options);

// Called after a successful save so that the document's windows show the
// new size and name.
using DocumentRefresh = void (*)(GifDocument& document);
// Runs CompressDocument on the document's own file.
void CompressCommand(GifDocument& document, bool saveMode, const CompressionOptions& options,
                     DocumentRefresh refresh);

// Writes the output stream over the file at `spec`; the document's file size
// becomes the new file's. A failure tells the user and leaves the old file.
bool SaveStreamToFile(GifDocument& document, const FileSpec* spec);

// Builds the GIF stream of the document in the output stream as it stands
// (frames already optimised), with `global` as the global colour table,
// leaving out frames that change nothing when asked to.
void WriteGifStream(const GifDocument& document, const ColourIds& global,
                    bool mergeUnchangedFrames);
