// Replacing a file whole, as saving does. The old content stays until the
// new content is complete and durable, and saving a file keeps what else
// names it: a link stays a link to the saved file, other hard links see the
// new content, and the owner, group and mode stay as they were.
#pragma once

#include "framework/core/files.h"

enum class JReplaceResult {
    Replaced,
    Refused,       // the file may not be written; the problem says why
    CreateFailed,  // no new file could be made
    OpenFailed,
    WriteFailed,  // nothing was changed
};

using JFileWriter = bool (*)(JFile* file, void* context);

// Replaces the file at `location` (or makes it) with what `write` puts into
// a file. Folders, devices, pipes, read-only files and links to nothing are
// refused. A file that can be replaced is written beside it under a private
// temporary name, made durable and renamed over it. A file with other hard
// links, or whose owner or group a new file could not be given, or whose
// folder may not be written, is written in place instead: the new content
// is made in memory first and room for it claimed on the disk, and a failed
// write puts the old content back.
JReplaceResult JFileReplace(const FileSpec* location, JFileWriter write, void* context,
                            JFileProblem* why = nullptr);
