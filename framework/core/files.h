// Files named by a FileSpec (directory, base name, file type) rather than by
// a path text; the path is built only when the system is called. Paths are
// UTF-8 byte strings passed through unchanged; a directory always ends with
// the separator "/".
#pragma once

#include <sys/types.h>

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
    // The file's name has no dot at all: `name` is the whole name and the
    // path gets no extension.
    bool dotless;
};

// Why a file could not be opened or saved, so that the user can be told.
enum class JFileProblem {
    None,
    Missing,          // no such file, or a folder on the way is missing
    Folder,           // a folder where a file was expected
    NotRegular,       // a device, a pipe or a socket
    ReadOnly,         // nobody may write the file, or its file system is read-only
    NotAllowed,       // the system refuses this user access
    DanglingLink,     // a link to a file that does not exist
    NoCurrentFolder,  // a relative name while the current folder cannot be known
    Other,
};
// The problem a failed system call's error number stands for.
JFileProblem JFileProblemFromErrno(int error);
// None for a regular file; what is wrong with anything else.
JFileProblem JFileKindProblem(mode_t mode);

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
// A relative path is taken against the current directory. A name without a
// dot is a name without an extension (of the data type). Gives null, with
// the problem NoCurrentFolder, for a relative path when the current
// directory cannot be known: the name is never taken against a guess.
FileSpec* JFileSpecFromPath(const char* path, JFileProblem* why = nullptr);
FileSpec* JFileSpecCopy(const FileSpec* spec);
void JFileSpecFree(FileSpec* spec);  // null is allowed
char* JFileSpecNameCopy(const FileSpec* spec);
const char* JFileSpecExtension(const FileSpec* spec);
// The file's name "name.extension" (or the bare name of a dotless file) as a
// new heap string.
char* JFileSpecFileNameDup(const FileSpec* spec);
// Full path "directory + name + . + extension" as a new heap string.
char* JFileSpecPathDup(const FileSpec* spec);
// The same into a buffer; false (and an empty buffer) when it does not fit.
bool JFileSpecPath(const FileSpec* spec, char* buffer, std::size_t capacity);

// The current directory with a trailing separator, as a new heap string;
// null when it cannot be known (removed, or deeper than a path may be long).
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
// Opens an existing regular file; null when refused, with the reason in
// *why. Never waits: a pipe or a device is refused, not opened.
JFile* JFileOpen(const FileSpec* spec, JFileMode mode, JFileProblem* why = nullptr);
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

// Replacing a file whole, as saving does: framework/core/file_replace.h.
