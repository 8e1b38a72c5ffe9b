// Reading a GIF file (GIF87a or GIF89a) into an animation document. The
// reader is tolerant: a damaged or truncated file still gives a document of
// every frame read before the damage, with a warning saying how much of the
// file could be decoded. Every image is decoded as it is read and at once
// re-encoded with our own encoder, so that all frames are held alike.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/codec/document.h"

struct FileSpec;
struct JFile;

enum class GifSignature { NotGif = 0, Gif87a = 1, Gif89a = 2 };

// Opens a document from an open file: the warnings met are shown one by one
// afterwards; a file that cannot be read as a GIF is refused with a message.
// A document that will never be shown may skip its keyframes.
std::unique_ptr<GifDocument> OpenGifDocument(const FileSpec* spec, JFile* file,
                                             KeyframeUse keyframes = KeyframeUse::Build);

GifSignature ReadGifSignature(JFile* file);

// Warnings collected while reading; they never stop the read.
const std::vector<std::string>& LoadWarnings();
void DiscardLoadWarnings();
// Shows the warnings one after another, each offering to skip the rest.
void ShowLoadWarnings();

// The name a file is shown by in messages: its base name and extension.
char* DisplayNameTemp(const FileSpec* spec);
