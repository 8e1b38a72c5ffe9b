#include "framework/core/file_replace.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "framework/core/memory.h"
#include "framework/core/retry.h"
#include "framework/core/strings.h"

namespace {

// The file a save writes: links followed to the file itself.
struct SaveTarget {
    std::string path;
    std::string directory;  // ending with the separator
    bool exists = false;
    struct stat info {};
};

std::string DirectoryOf(const std::string& path) {
    return path.substr(0, path.rfind(kPathSeparator) + 1);
}

JFileProblem ProblemOfExisting(SaveTarget& target) {
    if (stat(target.path.c_str(), &target.info) != 0) {
        return JFileProblemFromErrno(errno);
    }
    target.exists = true;
    if (JFileProblem kind = JFileKindProblem(target.info.st_mode); kind != JFileProblem::None) {
        return kind;
    }
    // The superuser may write anything; a file nobody may write is still
    // read-only to the user.
    if ((target.info.st_mode & 0222) == 0) {
        return JFileProblem::ReadOnly;
    }
    if (access(target.path.c_str(), W_OK) != 0) {
        return errno == EROFS ? JFileProblem::ReadOnly : JFileProblem::NotAllowed;
    }
    return JFileProblem::None;
}

// Where saving `path` writes, or what forbids it. A name that does not
// exist yet is a new file.
JFileProblem FindTarget(const std::string& path, SaveTarget& target) {
    target.path = path;
    target.directory = DirectoryOf(path);
    struct stat link;
    if (lstat(path.c_str(), &link) != 0) {
        return errno == ENOENT ? JFileProblem::None : JFileProblemFromErrno(errno);
    }
    if (S_ISLNK(link.st_mode)) {
        char* resolved = realpath(path.c_str(), nullptr);
        if (!resolved) {
            return errno == ENOENT ? JFileProblem::DanglingLink : JFileProblemFromErrno(errno);
        }
        target.path = resolved;
        std::free(resolved);  // realpath's own allocation
        target.directory = DirectoryOf(target.path);
    }
    return ProblemOfExisting(target);
}

// Letters that differ from save to save. Should the system give no random
// bytes, the process, the time and a count stand in: the name is made
// exclusively and tried again anyway.
std::string RandomLetters(std::size_t count) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    static std::uint64_t calls = 0;
    std::uint64_t seed[2] = {};
    if (getentropy(seed, sizeof seed) != 0) {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        seed[0] = std::uint64_t(getpid()) << 32 ^ std::uint64_t(now.tv_nsec) ^ ++calls;
        seed[1] = std::uint64_t(now.tv_sec) * 0x9E3779B97F4A7C15u;
    }
    std::string letters;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint64_t& word = seed[i % 2];
        letters += kLetters[word % (sizeof kLetters - 1)];
        word /= sizeof kLetters - 1;
    }
    return letters;
}

// A new file of a name no other save uses. It is made exclusively, so two
// saves never share one and no save removes a file it did not make; the
// name is short, so it fits wherever the saved file's name fits.
int CreatePrivateFile(const std::string& directory, std::string& path) {
    constexpr int kAttempts = 64;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        path = directory + ".pindle-" + RandomLetters(8) + ".tmp";
        const int handle = Retry([&] {
            return open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        });
        if (handle >= 0 || errno != EEXIST) {
            return handle;
        }
    }
    return -1;
}

// A JFile for a handle the caller opened, for the writer.
JFile* AdoptHandle(int handle, const char* directory, const char* name) {
    auto* file = static_cast<JFile*>(JAlloc(sizeof(JFile)));
    *file = JFile{JFileSpecNew(directory, name, kFileTypeTemporary), handle};
    return file;
}

// The new file takes the old one's owner, group and mode: a file only its
// owner could read must not become readable by everyone, nor the owner's
// file become the saver's.
bool KeepOwnerAndMode(int handle, const struct stat& old) {
    return fchown(handle, old.st_uid, old.st_gid) == 0 && fchmod(handle, old.st_mode & 07777) == 0;
}

bool PutAll(int handle, const std::vector<char>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = Retry(
            [&] { return pwrite(handle, bytes.data() + done, bytes.size() - done, off_t(done)); });
        if (put <= 0) {
            return false;
        }
        done += std::size_t(put);
    }
    return true;
}

bool GetAll(int handle, std::vector<char>& bytes) {
    bytes.clear();
    char buffer[65536];
    for (off_t at = 0;;) {
        const ssize_t got = Retry([&] { return pread(handle, buffer, sizeof buffer, at); });
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
        at += got;
    }
}

// What the writer puts out, in memory.
bool WriteToMemory(JFileWriter write, void* context, std::vector<char>& bytes) {
    const int handle = memfd_create("pindle-save", MFD_CLOEXEC);
    if (handle < 0) {
        return false;
    }
    JFile* file = AdoptHandle(handle, "/", "memory");
    const bool written = write(file, context) && GetAll(handle, bytes);
    JFileClose(file);
    return written;
}

bool ClaimRoom(int handle, std::size_t size) {
    if (fallocate(handle, FALLOC_FL_KEEP_SIZE, 0, off_t(size)) == 0) {
        return true;
    }
    // A file system that cannot reserve room is written without.
    return errno == EOPNOTSUPP;
}

bool Overwrite(int handle, const std::vector<char>& bytes) {
    return PutAll(handle, bytes) &&
           Retry([&] { return ftruncate(handle, off_t(bytes.size())); }) == 0 &&
           Retry([&] { return fsync(handle); }) == 0;
}

bool SameFile(int handle, const struct stat& expected) {
    struct stat now;
    return fstat(handle, &now) == 0 && S_ISREG(now.st_mode) && now.st_dev == expected.st_dev &&
           now.st_ino == expected.st_ino;
}

JReplaceResult WriteInPlace(const SaveTarget& target, JFileWriter write, void* context) {
    std::vector<char> fresh;
    if (!WriteToMemory(write, context, fresh)) {
        return JReplaceResult::WriteFailed;
    }
    const int handle = Retry([&] {
        return open(target.path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    });
    if (handle < 0) {
        return JReplaceResult::OpenFailed;
    }
    std::vector<char> old;
    JReplaceResult result = JReplaceResult::OpenFailed;
    if (SameFile(handle, target.info) &&
        Retry([&] { return flock(handle, LOCK_EX | LOCK_NB); }) == 0 && GetAll(handle, old)) {
        result = JReplaceResult::WriteFailed;
        if (ClaimRoom(handle, fresh.size())) {
            if (Overwrite(handle, fresh)) {
                result = JReplaceResult::Replaced;
            } else {
                Overwrite(handle, old);
            }
        }
    }
    close(handle);
    return result;
}

// Writes a new file beside the target and renames it over. Sets
// `inPlaceInstead` where the target must be written in place.
JReplaceResult WriteBeside(const SaveTarget& target, JFileWriter write, void* context,
                           bool& inPlaceInstead) {
    std::string temporary;
    const int handle = CreatePrivateFile(target.directory, temporary);
    if (handle < 0) {
        // A folder that may not be written may hold a file that may.
        inPlaceInstead = target.exists && (errno == EACCES || errno == EPERM);
        return JReplaceResult::CreateFailed;
    }
    const std::string name = temporary.substr(target.directory.size());
    JFile* file = AdoptHandle(handle, target.directory.c_str(), name.c_str());
    if (target.exists && !KeepOwnerAndMode(handle, target.info)) {
        JFileClose(file);
        unlink(temporary.c_str());
        inPlaceInstead = true;
        return JReplaceResult::CreateFailed;
    }
    const bool written = write(file, context) && JFileSync(file);
    JFileClose(file);
    if (!written || rename(temporary.c_str(), target.path.c_str()) != 0) {
        unlink(temporary.c_str());
        return JReplaceResult::WriteFailed;
    }
    return JReplaceResult::Replaced;
}

}  // namespace

JReplaceResult JFileReplace(const FileSpec* location, JFileWriter write, void* context,
                            JFileProblem* why) {
    char* path = JFileSpecPathDup(location);
    SaveTarget target;
    const JFileProblem problem = FindTarget(path, target);
    JStrFree(path);
    if (why) {
        *why = problem;
    }
    if (problem != JFileProblem::None) {
        return JReplaceResult::Refused;
    }
    // Every other name of the file must show the new content.
    if (target.exists && target.info.st_nlink > 1) {
        return WriteInPlace(target, write, context);
    }
    bool inPlaceInstead = false;
    const JReplaceResult result = WriteBeside(target, write, context, inPlaceInstead);
    return inPlaceInstead ? WriteInPlace(target, write, context) : result;
}
