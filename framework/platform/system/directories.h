// Directories for the file dialogs: listings with a pattern, the places a
// user starts browsing from, making a directory and changing into one.
// Paths are UTF-8 byte strings passed through unchanged; directories given
// back end with "/", names within a listing carry no "/". The current
// directory itself is read with JCurrentDirectory (framework/core/files.h).
#pragma once

#include <string>
#include <vector>

// Whether `name` matches `pattern`: "*" matches any run of characters, "?"
// any one, other characters match without regard to ASCII case, so "*.gif"
// also finds "ANIM.GIF" (bytes above 127 must be equal). "*.*" matches every
// name, with or without a dot, as users of such patterns expect.
bool JMatchPattern(const char* pattern, const char* name);

// The files in `directory` whose names match `pattern`: regular files only
// (symbolic links count as what they point to), without hidden files (names
// starting with a dot). Sorted as a user reads them: by name ignoring ASCII
// case. False when the directory cannot be read.
bool JListFiles(const char* directory, const char* pattern, std::vector<std::string>* names);

// The sub-directories of `directory` matching `pattern` ("*" for all), sorted
// the same way, with ".." first (except at the root) and without "." and
// hidden directories. False when the directory cannot be read.
bool JListDirectories(const char* directory, const char* pattern, std::vector<std::string>* names);

// Makes one new directory (a trailing "/" is allowed); false when it exists
// already or cannot be made.
bool JCreateDirectory(const char* path);

bool JSetCurrentDirectory(const char* directory);

// The user's home folder from the password database, ending with "/"; empty
// when the account has none.
std::string JHomeFolder();

// The "drives" of the file dialogs: the root, the user's home folder (from the
// password database) and the mounted volumes a user would browse, each ending
// with "/", without repeats.
std::vector<std::string> JDriveList();

// The volumes in a mount table (the text of /proc/self/mounts): real file
// systems mounted under /media, /mnt or /run/media, sorted, ending with "/".
std::vector<std::string> JMountedVolumes(const char* mountTable);
