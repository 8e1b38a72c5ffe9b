// What the file dialogs' directory and file lists show for a folder: the
// names as found (to open) beside the names as shown. A name that is not
// valid UTF-8 is shown with a replacement character for each bad byte and
// still opens by its own bytes.
#pragma once

#include <string>
#include <vector>

struct JFileListing {
    std::vector<std::string> directories;       // names; ".." first below the root
    std::vector<std::string> files;             // names matching the pattern
    std::vector<std::string> shownDirectories;  // "[name]"
    std::vector<std::string> shownFiles;
};

// Fills the listing of `directory` (ending with "/") for `pattern`; false
// when the folder cannot be read.
bool JFillFileListing(const std::string& directory, const std::string& pattern,
                      JFileListing* listing);

// The name as it can be drawn: valid UTF-8 as it is, each byte of a broken
// sequence as U+FFFD.
std::string JShownFileName(const std::string& name);
