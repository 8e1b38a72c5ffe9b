// Files named by a FileSpec (directory, base name, file type) rather than by
// a path text; the path is built only when the system is called. Paths are
// UTF-8 byte strings passed through unchanged; a directory always ends with
// the separator "/".
#pragma once

#include <cstddef>
#include <cstdint>

constexpr char kPathSeparator = '/';

// One row of the file-type table (resource strings 200 to 222).
struct FileTypeEntry {
    char* extension;    // without the dot; empty for the all-files row
    char* pattern;      // ".gif"
    char* description;  // "GIF Files (.GIF)"
};

constexpr std::uint16_t kFileTypeRowCount = 23;
constexpr std::uint16_t kFileTypePreferences = 1;
constexpr std::uint16_t kFileTypeGif = 2;
constexpr std::uint16_t kFileTypeTemporary = 4;
constexpr std::uint16_t kFileTypeData = 12;  // the row for unknown extensions
constexpr std::uint16_t kFileTypeAllFiles = 16;

struct FileType {
    std::uint16_t row;
    const FileTypeEntry* entry;
};

struct FileSpec {
    char* directory;  // ends with the separator
    char* name;       // base name without dot and extension
    FileType* type;
    // The extension exactly as the file is named on disk, when it came from a
    // path; null means the type's own extension. File names are case-sensitive
    // here, so "ANIM.GIF" must not become "ANIM.gif".
    char* extension;
};

// A row from its resource text: extension in columns 0-3, pattern in 4-8,
// description from 9; a text shorter than 9 characters gives an empty row.
FileTypeEntry JFileTypeEntryFromText(const char* text);
// Loads the table from the resources; called once at start-up.
void JFileTypesLoad();
const FileTypeEntry* JFileTypeRow(std::uint16_t row);  // an empty row past the end

FileType* JFileTypeNew(std::uint16_t row);
FileType* JFileTypeFromExtension(const char* extension);  // row 12 when none matches
FileType* JFileTypeCopy(const FileType* type);
void JFileTypeFree(FileType* type);

FileSpec* JFileSpecNew(const char* directory, const char* name, std::uint16_t typeRow);
// A relative path is taken against the current directory. Gives null when the
// file name has no dot (the name and its extension cannot be told apart).
FileSpec* JFileSpecFromPath(const char* path);
FileSpec* JFileSpecCopy(const FileSpec* spec);
void JFileSpecFree(FileSpec* spec);
char* JFileSpecNameCopy(const FileSpec* spec);
const char* JFileSpecExtension(const FileSpec* spec);
// Full path "directory + name + . + extension" as a new heap string.
char* JFileSpecPathDup(const FileSpec* spec);
// The same into a buffer; false (and an empty buffer) when it does not fit.
bool JFileSpecPath(const FileSpec* spec, char* buffer, std::size_t capacity);

// The current directory with a trailing separator, as a new heap string;
// "/" when it cannot be obtained.
char* JCurrentDirectory();

enum class JFileMode {
    Read,   // read access; others may read
    Write,  // read and write access; others may do nothing
};

struct JFile {
    FileSpec* spec;  // the file's own copy
    int handle;
};

bool JFileExists(const FileSpec* spec);
bool JFileCreate(const FileSpec* spec);  // false when the file exists
bool JFileDelete(const FileSpec* spec);  // false when the file does not exist
// Renames over an existing target in one step.
bool JFileRename(const FileSpec* from, const FileSpec* to);
JFile* JFileOpen(const FileSpec* spec, JFileMode mode);  // null when refused
void JFileClose(JFile* file);

// Reads up to *count bytes; *count becomes the number read (0 at the end).
bool JFileRead(JFile* file, void* buffer, std::uint32_t* count);
bool JFileWrite(JFile* file, const void* buffer, std::uint32_t count);
// Writes the bytes, then (only if that worked) a carriage return and line feed.
bool JFileWriteLine(JFile* file, const void* buffer, std::uint32_t count);
// Reads one line of at most *count bytes (the capacity) ended by CR LF; the
// pair is consumed but not stored. *count becomes the line's length, 0 at the
// end of the file. The line is not terminated.
bool JFileReadLine(JFile* file, char* buffer, std::uint32_t* count);
bool JFileSize(JFile* file, std::uint32_t* size);
bool JFileTell(JFile* file, std::uint32_t* position);
bool JFileSeek(JFile* file, std::uint32_t position);
bool JFileSetEnd(JFile* file, std::uint32_t position);
// Makes what was written durable before the file replaces another.
bool JFileSync(JFile* file);

enum class JReplaceResult { Replaced, CreateFailed, OpenFailed, WriteFailed };
using JFileWriter = bool (*)(JFile* file, void* context);
// Replaces the file at `location` (or makes it) with what `write` puts into a
// new file: the new file is written beside it under a temporary name, made
// durable and renamed over it, so any failure leaves the old file untouched.
JReplaceResult JFileReplace(const FileSpec* location, JFileWriter write, void* context);
