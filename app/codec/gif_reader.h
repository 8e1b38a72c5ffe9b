// Reading a GIF file (GIF87a or GIF89a) into an animation document. The
// reader is tolerant: a damaged or truncated file still gives a document of
// every frame read before the damage, with a warning saying how much of the
// file could be decoded. Every image is decoded as it is read and at once
// re-encoded with our own encoder, so that all frames are held alike.
#pragma once

#include <cstdint>
#include <vector>

#include "app/codec/document.h"
#include "app/optimiser/transparent_index.h"

struct FileSpec;
struct JFile;

// What the reader keeps of an image beside its frame record until loading
// ends: the size and colours of the table the image uses.
struct LoadingFrame {
    GifFrame* frame;
    std::uint16_t colourCount;             // entries of the table the image's pixels index
    std::vector<std::uint8_t> localTable;  // red, green, blue; empty when none
};

enum class GifSignature { NotGif = 0, Gif87a = 1, Gif89a = 2 };

// Opens a document from an open file: the warnings met are shown one by one
// afterwards; a file that cannot be read as a GIF is refused with a message.
// `band` chooses the transparent index of frames whose colours are remapped.
GifDocument* OpenGifDocument(const FileSpec* spec, JFile* file, TransparencyBand band);

GifSignature ReadGifSignature(JFile* file);

// Warnings collected while reading; they never stop the read.
const std::vector<char*>& LoadWarnings();
void DiscardLoadWarnings();
// Shows the warnings one after another, each offering to skip the rest.
void ShowLoadWarnings();

// The name a file is shown by in messages: its base name and extension.
char* DisplayNameTemp(const FileSpec* spec);
