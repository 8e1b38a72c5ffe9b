#include "framework/platform/system/directories.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool MatchFrom(std::string_view pattern, std::string_view name) {
    while (!pattern.empty()) {
        if (pattern.front() == '*') {
            pattern.remove_prefix(1);
            for (std::size_t skip = 0; skip <= name.size(); ++skip) {
                if (MatchFrom(pattern, name.substr(skip))) {
                    return true;
                }
            }
            return false;
        }
        if (name.empty() ||
            (pattern.front() != '?' && LowerAscii(pattern.front()) != LowerAscii(name.front()))) {
            return false;
        }
        pattern.remove_prefix(1);
        name.remove_prefix(1);
    }
    return name.empty();
}

// By name ignoring ASCII case; names that differ only in case keep a fixed
// order so that a listing does not shuffle between refills.
bool ReadingOrder(const std::string& a, const std::string& b) {
    const auto lower = [](char x, char y) { return LowerAscii(x) < LowerAscii(y); };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), lower)) {
        return true;
    }
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), lower)) {
        return false;
    }
    return a < b;
}

enum class EntryKind { File, Directory, Other };

EntryKind KindOf(int directoryHandle, const char* name) {
    struct stat info;
    if (fstatat(directoryHandle, name, &info, 0) != 0) {
        return EntryKind::Other;  // a broken link, or gone meanwhile
    }
    if (S_ISDIR(info.st_mode)) {
        return EntryKind::Directory;
    }
    return S_ISREG(info.st_mode) ? EntryKind::File : EntryKind::Other;
}

// The names in `directory` of one kind that match `pattern`, unsorted.
bool CollectNames(const char* directory, const char* pattern, EntryKind wanted,
                  std::vector<std::string>* names) {
    names->clear();
    DIR* stream = opendir(directory);
    if (stream == nullptr) {
        return false;
    }
    while (const dirent* entry = readdir(stream)) {
        const std::string_view name(entry->d_name);
        const bool hidden = name.front() == '.' && name != "..";
        if (hidden || name == ".." || !JMatchPattern(pattern, entry->d_name)) {
            continue;
        }
        if (KindOf(dirfd(stream), entry->d_name) == wanted) {
            names->emplace_back(name);
        }
    }
    closedir(stream);
    return true;
}

bool IsRoot(const char* directory) {
    return std::string_view(directory).find_first_not_of('/') == std::string_view::npos;
}

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}

// Mount points write blanks, tabs, new lines and backslashes as \ooo.
std::string UnescapeMountPoint(std::string_view text) {
    std::string path;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view digits = text.substr(i + 1, 3);
        const bool octal =
            text[i] == '\\' && digits.size() == 3 &&
            std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; });
        if (octal) {
            path += static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 +
                                      (text[i + 3] - '0'));
            i += 3;
        } else {
            path += text[i];
        }
    }
    return path;
}

bool UnderBrowsableRoot(std::string_view path) {
    constexpr std::array<std::string_view, 3> kRoots = {"/media", "/mnt", "/run/media"};
    return std::any_of(kRoots.begin(), kRoots.end(), [&](std::string_view root) {
        return path.starts_with(root) && (path.size() == root.size() || path[root.size()] == '/');
    });
}

// File systems that hold no user files: the kernel's views, memory-backed
// scratch space and automounter placeholders.
bool IsPseudoFileSystem(std::string_view type) {
    constexpr std::array<std::string_view, 22> kPseudo = {
        "proc",    "sysfs",      "tmpfs",    "devtmpfs", "devpts",   "cgroup",
        "cgroup2", "securityfs", "debugfs",  "tracefs",  "configfs", "fusectl",
        "mqueue",  "hugetlbfs",  "pstore",   "bpf",      "autofs",   "binfmt_misc",
        "ramfs",   "rpc_pipefs", "efivarfs", "nsfs"};
    return std::find(kPseudo.begin(), kPseudo.end(), type) != kPseudo.end();
}

std::string ReadMountTable() {
    std::ifstream in("/proc/self/mounts");
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

bool JMatchPattern(const char* pattern, const char* name) {
    if (std::string_view(pattern) == "*.*") {
        return true;
    }
    return MatchFrom(pattern, name);
}

bool JListFiles(const char* directory, const char* pattern, std::vector<std::string>* names) {
    if (!CollectNames(directory, pattern, EntryKind::File, names)) {
        return false;
    }
    std::sort(names->begin(), names->end(), ReadingOrder);
    return true;
}

bool JListDirectories(const char* directory, const char* pattern, std::vector<std::string>* names) {
    if (!CollectNames(directory, pattern, EntryKind::Directory, names)) {
        return false;
    }
    std::sort(names->begin(), names->end(), ReadingOrder);
    if (!IsRoot(directory)) {
        names->insert(names->begin(), "..");
    }
    return true;
}

bool JCreateDirectory(const char* path) {
    std::string name(path);
    while (name.size() > 1 && name.back() == '/') {
        name.pop_back();
    }
    while (true) {
        if (mkdir(name.c_str(), 0777) == 0) {
            return true;
        }
        if (errno != EINTR) {
            return false;
        }
    }
}

bool JSetCurrentDirectory(const char* directory) {
    return chdir(directory) == 0;
}

std::vector<std::string> JDriveList() {
    std::vector<std::string> drives = {"/"};
    std::vector<std::string> volumes = JMountedVolumes(ReadMountTable().c_str());
    drives.push_back(JHomeFolder());
    drives.insert(drives.end(), volumes.begin(), volumes.end());
    std::vector<std::string> unique;
    for (std::string& drive : drives) {
        if (!drive.empty() && std::find(unique.begin(), unique.end(), drive) == unique.end()) {
            unique.push_back(std::move(drive));
        }
    }
    return unique;
}

std::vector<std::string> JMountedVolumes(const char* mountTable) {
    std::vector<std::string> volumes;
    std::istringstream lines(mountTable);
    std::string line;
    while (std::getline(lines, line)) {
        // Fields: device, mount point, file-system type, options, two numbers.
        std::istringstream fields(line);
        std::string device;
        std::string mountPoint;
        std::string type;
        if (!(fields >> device >> mountPoint >> type)) {
            continue;
        }
        std::string path = UnescapeMountPoint(mountPoint);
        if (UnderBrowsableRoot(path) && !IsPseudoFileSystem(type)) {
            volumes.push_back(WithSlash(std::move(path)));
        }
    }
    std::sort(volumes.begin(), volumes.end(), ReadingOrder);
    volumes.erase(std::unique(volumes.begin(), volumes.end()), volumes.end());
    return volumes;
}

std::string JHomeFolder() {
    const passwd* user = getpwuid(getuid());
    if (user == nullptr || user->pw_dir == nullptr || user->pw_dir[0] == '\0') {
        return {};
    }
    return WithSlash(user->pw_dir);
}
