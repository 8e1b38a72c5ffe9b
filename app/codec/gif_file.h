// GIF files named by the user: opening one by its path, and telling the
// user plainly what is wrong with a file that cannot be opened or saved.
#pragma once

#include <memory>

#include "app/codec/document.h"
#include "framework/core/files.h"

enum class FileAction { Open, Save };

// Tells the user what is wrong with the named file. A problem of None
// tells the general "could not be opened" (or "created").
void TellFileProblem(JFileProblem problem, FileAction action, const char* name);

// Opens the GIF file at a path as typed (relative to the current folder, or
// absolute); null after telling the user why not.
std::unique_ptr<GifDocument> OpenGifFile(const char* path, KeyframeUse keyframes);
