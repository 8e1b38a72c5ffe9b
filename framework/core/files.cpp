#include "framework/core/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>

#include "framework/core/format.h"
#include "framework/core/memory.h"
#include "framework/core/retry.h"
#include "framework/core/string_lists.h"
#include "framework/core/strings.h"

namespace {

constexpr std::uint16_t kFirstFileTypeId = 200;
constexpr std::size_t kColumnPattern = 4;
constexpr std::size_t kColumnDescription = 9;
constexpr std::uint32_t kErrorValue = 0xFFFFFFFFu;

FileTypeEntry gFileTypes[kFileTypeRowCount];
FileTypeEntry gEmptyRow;
bool gFileTypesLoaded = false;

// Text from `start` up to the first blank (or the end).
char* WordAt(const char* text, std::size_t length, std::size_t start) {
    std::size_t end = start;
    while (end < length && text[end] != ' ') {
        ++end;
    }
    return JStrDupN(text + start, end - start);
}

}  // namespace

FileTypeEntry JFileTypeEntryFromText(const char* text) {
    std::size_t length = JStrLen(text);
    if (length < kColumnDescription) {
        return FileTypeEntry{JStrDup(""), JStrDup(""), JStrDup("")};
    }
    return FileTypeEntry{WordAt(text, length, 0), WordAt(text, length, kColumnPattern),
                         JStrDup(text + kColumnDescription)};
}

namespace {

FileTypeEntry LoadRow(std::uint16_t id) {
    char text[256];
    JLoadString(id, text, sizeof text, "");
    return JFileTypeEntryFromText(text);
}

// The full path of a spec for one system call.
class PathText {
public:
    explicit PathText(const FileSpec* spec) : text_(JFileSpecPathDup(spec)) {}
    ~PathText() { JStrFree(text_); }
    PathText(const PathText&) = delete;
    PathText& operator=(const PathText&) = delete;
    const char* get() const { return text_; }

private:
    char* text_;
};

bool SeekTo(int handle, off_t position) {
    return lseek(handle, position, SEEK_SET) == position;
}

}  // namespace

void JFileTypesLoad() {
    if (gFileTypesLoaded) {
        return;
    }
    for (std::uint16_t row = 0; row < kFileTypeRowCount; ++row) {
        gFileTypes[row] = LoadRow(kFirstFileTypeId + row);
    }
    gEmptyRow = FileTypeEntry{JStrDup(""), JStrDup(""), JStrDup("")};
    gFileTypesLoaded = true;
}

const FileTypeEntry* JFileTypeRow(std::uint16_t row) {
    JFileTypesLoad();
    return row < kFileTypeRowCount ? &gFileTypes[row] : &gEmptyRow;
}

FileType* JFileTypeNew(std::uint16_t row) {
    auto* type = static_cast<FileType*>(JAlloc(sizeof(FileType)));
    *type = FileType{row, JFileTypeRow(row)};
    return type;
}

FileType* JFileTypeFromExtension(const char* extension) {
    if (extension[0] != '\0') {
        for (std::uint16_t row = 0; row < kFileTypeRowCount; ++row) {
            if (JStrEqualNoCase(extension, JFileTypeRow(row)->extension)) {
                return JFileTypeNew(row);
            }
        }
    }
    return JFileTypeNew(kFileTypeData);
}

FileType* JFileTypeCopy(const FileType* type) {
    return JFileTypeNew(type->row);
}

void JFileTypeFree(FileType* type) {
    JFree(type);
}

FileSpec* JFileSpecNew(const char* directory, const char* name, std::uint16_t typeRow) {
    auto* spec = static_cast<FileSpec*>(JAlloc(sizeof(FileSpec)));
    *spec = FileSpec{JStrDup(directory), JStrDup(name), JFileTypeNew(typeRow), nullptr, false};
    return spec;
}

FileSpec* JFileSpecFromPath(const char* path, JFileProblem* why) {
    char* absolute = nullptr;
    if (path[0] == kPathSeparator) {
        absolute = JStrDup(path);
    } else {
        char* current = JCurrentDirectory();
        if (!current) {
            if (why) {
                *why = JFileProblem::NoCurrentFolder;
            }
            return nullptr;
        }
        absolute = JStrConcat(current, path);
        JStrFree(current);
    }
    const char* slash = JStrFindLast(absolute, kPathSeparator);
    const char* baseName = slash + 1;
    const char* dot = JStrFindLast(baseName, '.');
    const char* nameEnd = dot ? dot : baseName + JStrLen(baseName);
    const char* extension = dot ? dot + 1 : "";
    auto* spec = static_cast<FileSpec*>(JAlloc(sizeof(FileSpec)));
    *spec = FileSpec{JStrDupN(absolute, static_cast<std::size_t>(baseName - absolute)),
                     JStrDupN(baseName, static_cast<std::size_t>(nameEnd - baseName)),
                     JFileTypeFromExtension(extension), JStrDup(extension), dot == nullptr};
    JStrFree(absolute);
    return spec;
}

FileSpec* JFileSpecCopy(const FileSpec* spec) {
    auto* copy = static_cast<FileSpec*>(JAlloc(sizeof(FileSpec)));
    *copy = FileSpec{JStrDup(spec->directory), JStrDup(spec->name), JFileTypeCopy(spec->type),
                     spec->extension ? JStrDup(spec->extension) : nullptr, spec->dotless};
    return copy;
}

void JFileSpecFree(FileSpec* spec) {
    if (spec == nullptr) {
        return;  // as free() does, so that a cancelled dialog's result can be released
    }
    JStrFree(spec->directory);
    JStrFree(spec->name);
    JFileTypeFree(spec->type);
    if (spec->extension) {
        JStrFree(spec->extension);
    }
    JFree(spec);
}

char* JFileSpecNameCopy(const FileSpec* spec) {
    return JStrDup(spec->name);
}

const char* JFileSpecExtension(const FileSpec* spec) {
    return spec->extension ? spec->extension : spec->type->entry->extension;
}

char* JFileSpecFileNameDup(const FileSpec* spec) {
    if (spec->dotless) {
        return JStrDup(spec->name);
    }
    return JFormat("%s%.%s%", spec->name, JFileSpecExtension(spec));
}

char* JFileSpecPathDup(const FileSpec* spec) {
    char* fileName = JFileSpecFileNameDup(spec);
    char* path = JStrConcat(spec->directory, fileName);
    JStrFree(fileName);
    return path;
}

bool JFileSpecPath(const FileSpec* spec, char* buffer, std::size_t capacity) {
    char* path = JFileSpecPathDup(spec);
    std::size_t length = JStrLen(path);
    bool fits = length < capacity;
    if (capacity > 0) {
        JStrCopyN(buffer, fits ? path : "", fits ? length : 0);
    }
    JStrFree(path);
    return fits;
}

char* JCurrentDirectory() {
    char buffer[PATH_MAX];
    // Linux marks a current directory outside the process's root as
    // "(unreachable)": that is no path either.
    if (!getcwd(buffer, sizeof buffer) || buffer[0] != kPathSeparator) {
        return nullptr;
    }
    std::size_t length = JStrLen(buffer);
    if (length > 0 && buffer[length - 1] == kPathSeparator) {
        return JStrDup(buffer);
    }
    return JStrAppendChar(buffer, kPathSeparator);
}

bool JFileExists(const FileSpec* spec) {
    struct stat info;
    return stat(PathText(spec).get(), &info) == 0;
}

bool JFileCreate(const FileSpec* spec) {
    PathText path(spec);
    int handle =
        Retry([&] { return open(path.get(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666); });
    if (handle < 0) {
        return false;
    }
    return close(handle) == 0;
}

bool JFileDelete(const FileSpec* spec) {
    if (!JFileExists(spec)) {
        return false;
    }
    return unlink(PathText(spec).get()) == 0;
}

JFileProblem JFileProblemFromErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return JFileProblem::Missing;
        case EISDIR:
            return JFileProblem::Folder;
        case EACCES:
        case EPERM:
            return JFileProblem::NotAllowed;
        case EROFS:
        case ETXTBSY:
            return JFileProblem::ReadOnly;
        case ENXIO:
        case ENODEV:
            return JFileProblem::NotRegular;
        default:
            return JFileProblem::Other;
    }
}

JFileProblem JFileKindProblem(mode_t mode) {
    if (S_ISDIR(mode)) {
        return JFileProblem::Folder;
    }
    return S_ISREG(mode) ? JFileProblem::None : JFileProblem::NotRegular;
}

namespace {

JFileProblem OpenProblem(int handle, bool writing) {
    struct stat info;
    if (fstat(handle, &info) != 0) {
        return JFileProblemFromErrno(errno);
    }
    if (JFileProblem kind = JFileKindProblem(info.st_mode); kind != JFileProblem::None) {
        return kind;
    }
    // Sharing rules between the program's own opens, as far as the system
    // keeps them: a file being written is not shared at all.
    if (Retry([&] { return flock(handle, (writing ? LOCK_EX : LOCK_SH) | LOCK_NB); }) != 0) {
        return JFileProblem::Other;
    }
    // The open did not wait for a pipe; reading must not skip past data.
    const int flags = fcntl(handle, F_GETFL);
    if (flags < 0 || fcntl(handle, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return JFileProblem::Other;
    }
    return JFileProblem::None;
}

}  // namespace

JFile* JFileOpen(const FileSpec* spec, JFileMode mode, JFileProblem* why) {
    const bool writing = mode == JFileMode::Write;
    PathText path(spec);
    // Opening a device may act on it: look before touching it.
    struct stat info;
    if (stat(path.get(), &info) == 0 && JFileKindProblem(info.st_mode) != JFileProblem::None) {
        if (why) {
            *why = JFileKindProblem(info.st_mode);
        }
        return nullptr;
    }
    const int flags = (writing ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    const int handle = Retry([&] { return open(path.get(), flags); });
    JFileProblem problem = handle < 0 ? JFileProblemFromErrno(errno) : OpenProblem(handle, writing);
    if (why) {
        *why = problem;
    }
    if (problem != JFileProblem::None) {
        if (handle >= 0) {
            close(handle);
        }
        return nullptr;
    }
    auto* file = static_cast<JFile*>(JAlloc(sizeof(JFile)));
    *file = JFile{JFileSpecCopy(spec), handle};
    return file;
}

void JFileClose(JFile* file) {
    close(file->handle);
    JFileSpecFree(file->spec);
    JFree(file);
}

bool JFileRead(JFile* file, void* buffer, std::uint32_t* count) {
    auto* bytes = static_cast<char*>(buffer);
    std::uint32_t total = 0;
    while (total < *count) {
        ssize_t got = Retry([&] { return read(file->handle, bytes + total, *count - total); });
        if (got < 0) {
            *count = total;
            return false;
        }
        if (got == 0) {
            break;
        }
        total += static_cast<std::uint32_t>(got);
    }
    *count = total;
    return true;
}

bool JFileWrite(JFile* file, const void* buffer, std::uint32_t count) {
    const auto* bytes = static_cast<const char*>(buffer);
    std::uint32_t total = 0;
    while (total < count) {
        ssize_t put = Retry([&] { return write(file->handle, bytes + total, count - total); });
        if (put <= 0) {
            return false;
        }
        total += static_cast<std::uint32_t>(put);
    }
    return true;
}

bool JFileWriteLine(JFile* file, const void* buffer, std::uint32_t count) {
    return JFileWrite(file, buffer, count) && JFileWrite(file, "\r\n", 2);
}

bool JFileReadLine(JFile* file, char* buffer, std::uint32_t* count) {
    std::uint32_t start = 0;
    if (!JFileTell(file, &start)) {
        return false;
    }
    std::uint32_t read = *count;
    if (!JFileRead(file, buffer, &read)) {
        return false;
    }
    *count = read;
    if (read < 2) {
        return true;
    }
    for (std::uint32_t i = 0; i + 1 < read; ++i) {
        if (buffer[i] == '\r' && buffer[i + 1] == '\n') {
            *count = i;
            return JFileSeek(file, start + i + 2);
        }
    }
    return true;
}

bool JFileSize(JFile* file, std::uint32_t* size) {
    struct stat info;
    if (fstat(file->handle, &info) != 0 || info.st_size >= static_cast<off_t>(kErrorValue)) {
        return false;
    }
    *size = static_cast<std::uint32_t>(info.st_size);
    return true;
}

bool JFileTell(JFile* file, std::uint32_t* position) {
    off_t at = lseek(file->handle, 0, SEEK_CUR);
    if (at < 0 || at >= static_cast<off_t>(kErrorValue)) {
        return false;
    }
    *position = static_cast<std::uint32_t>(at);
    return true;
}

bool JFileSeek(JFile* file, std::uint32_t position) {
    return SeekTo(file->handle, static_cast<off_t>(position));
}

bool JFileSetEnd(JFile* file, std::uint32_t position) {
    std::uint32_t remembered = 0;
    if (!JFileTell(file, &remembered) || !JFileSeek(file, position)) {
        return false;
    }
    bool cut = Retry([&] { return ftruncate(file->handle, static_cast<off_t>(position)); }) == 0;
    return JFileSeek(file, remembered) && cut;
}

bool JFileSync(JFile* file) {
    return Retry([&] { return fsync(file->handle); }) == 0;
}
