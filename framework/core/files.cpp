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

// Runs a system call again when a signal interrupted it.
template <typename Call>
auto Retry(Call call) {
    auto result = call();
    while (result == -1 && errno == EINTR) {
        result = call();
    }
    return result;
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
    *spec = FileSpec{JStrDup(directory), JStrDup(name), JFileTypeNew(typeRow), nullptr};
    return spec;
}

FileSpec* JFileSpecFromPath(const char* path) {
    char* absolute = nullptr;
    if (path[0] == kPathSeparator) {
        absolute = JStrDup(path);
    } else {
        char* current = JCurrentDirectory();
        absolute = JStrConcat(current, path);
        JStrFree(current);
    }
    const char* slash = JStrFindLast(absolute, kPathSeparator);
    const char* baseName = slash + 1;
    const char* dot = JStrFindLast(baseName, '.');
    FileSpec* spec = nullptr;
    if (dot) {
        spec = static_cast<FileSpec*>(JAlloc(sizeof(FileSpec)));
        *spec = FileSpec{JStrDupN(absolute, static_cast<std::size_t>(baseName - absolute)),
                         JStrDupN(baseName, static_cast<std::size_t>(dot - baseName)),
                         JFileTypeFromExtension(dot + 1), JStrDup(dot + 1)};
    }
    JStrFree(absolute);
    return spec;
}

FileSpec* JFileSpecCopy(const FileSpec* spec) {
    auto* copy = static_cast<FileSpec*>(JAlloc(sizeof(FileSpec)));
    *copy = FileSpec{JStrDup(spec->directory), JStrDup(spec->name), JFileTypeCopy(spec->type),
                     spec->extension ? JStrDup(spec->extension) : nullptr};
    return copy;
}

void JFileSpecFree(FileSpec* spec) {
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

char* JFileSpecPathDup(const FileSpec* spec) {
    return JFormat("%s%%s%.%s%", spec->directory, spec->name, JFileSpecExtension(spec));
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
    if (!getcwd(buffer, sizeof buffer)) {
        return JStrDup("/");
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

bool JFileRename(const FileSpec* from, const FileSpec* to) {
    return rename(PathText(from).get(), PathText(to).get()) == 0;
}

JFile* JFileOpen(const FileSpec* spec, JFileMode mode) {
    bool writing = mode == JFileMode::Write;
    PathText path(spec);
    int handle = Retry([&] { return open(path.get(), (writing ? O_RDWR : O_RDONLY) | O_CLOEXEC); });
    if (handle < 0) {
        return nullptr;
    }
    // Sharing rules between the program's own opens, as far as the system
    // keeps them: a file being written is not shared at all.
    if (Retry([&] { return flock(handle, (writing ? LOCK_EX : LOCK_SH) | LOCK_NB); }) != 0) {
        close(handle);
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

namespace {

// "anim.gif" is written as "anim.gif.tmp" first.
FileSpec* TemporarySpecBeside(const FileSpec* location) {
    char* tempName = JFormat("%s%.%s%", location->name, JFileSpecExtension(location));
    FileSpec* temporary = JFileSpecNew(location->directory, tempName, kFileTypeTemporary);
    JStrFree(tempName);
    return temporary;
}

// The new file gets the old one's permissions: a file only its owner could
// read must not become readable by everyone by being saved.
bool KeepPermissions(JFile* file, const FileSpec* location) {
    struct stat old;
    if (stat(PathText(location).get(), &old) != 0) {
        return true;  // a new file keeps the usual permissions
    }
    return fchmod(file->handle, old.st_mode & 07777) == 0;
}

JReplaceResult WriteTemporary(const FileSpec* temporary, const FileSpec* location,
                              JFileWriter write, void* context) {
    JFileDelete(temporary);  // left over from an interrupted save
    if (!JFileCreate(temporary)) {
        return JReplaceResult::CreateFailed;
    }
    JFile* file = JFileOpen(temporary, JFileMode::Write);
    if (!file) {
        JFileDelete(temporary);
        return JReplaceResult::OpenFailed;
    }
    bool written = write(file, context) && KeepPermissions(file, location) && JFileSync(file);
    JFileClose(file);
    if (!written || !JFileRename(temporary, location)) {
        JFileDelete(temporary);
        return JReplaceResult::WriteFailed;
    }
    return JReplaceResult::Replaced;
}

}  // namespace

JReplaceResult JFileReplace(const FileSpec* location, JFileWriter write, void* context) {
    FileSpec* temporary = TemporarySpecBeside(location);
    JReplaceResult result = WriteTemporary(temporary, location, write, context);
    JFileSpecFree(temporary);
    return result;
}

bool JFileSync(JFile* file) {
    return Retry([&] { return fsync(file->handle); }) == 0;
}
