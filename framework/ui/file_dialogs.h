// The Open and Save dialogs: a name field, the file type, and lists of the
// places to start from, the directories and the matching files side by side.
// They check a typed name before they accept it (patterns refill the lists,
// a directory is entered, the extension is made to agree with the file type,
// an existing file is overwritten only when the user says so) and tell the
// user why they changed anything. They never write, delete or rename a file;
// the Save dialog's "Create Directory" makes a directory when asked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/files.h"
#include "framework/platform/platform.h"

// The dialogs' controls, for tests and the gallery.
constexpr int kFileDialogName = 101;
constexpr int kFileDialogTypes = 102;  // the Open dialog's drop-down list
constexpr int kFileDialogDrives = 103;
constexpr int kFileDialogDirectories = 104;
constexpr int kFileDialogFiles = 105;
constexpr int kFileDialogCreateDirectory = 106;
constexpr int kFileDialogTypeText = 107;  // the Save dialog's file type
constexpr int kFileDialogDirectory = 120;

// The chosen file, or null when cancelled; release it with JFileSpecFree.
// `typeRows`: rows of the file-type table offered (empty: rows 0 to 17).
// `directory`: where to start (ending with "/"); null for the folder the last
// dialog ended in, at first the current directory.
FileSpec* JOpenFileDialog(const std::vector<std::uint16_t>& typeRows,
                          const char* directory = nullptr);
FileSpec* JSaveFileDialog(std::uint16_t typeRow, const char* directory = nullptr);

// The file dialog or Create Directory dialog being shown, or none.
JWnd JCurrentFileDialog();
// The folder the dialog shows, ending with "/".
std::string JFileDialogFolder();

// A typed name made a path: absolute as it is, "~" for the home folder, else
// taken in `folder`; "." and ".." parts are resolved as written.
std::string JFileDialogPath(const std::string& folder, const std::string& typed);
