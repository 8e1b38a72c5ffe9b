#include "framework/ui/file_name_rules.h"

#include <climits>

#include "framework/core/strings.h"
#include "framework/platform/platform.h"

namespace {

// Resource ids of the messages' captions; each text follows its caption.
constexpr std::uint16_t kMessageMissingExtension = 1;
constexpr std::uint16_t kMessageTypeChanged = 3;
constexpr std::uint16_t kMessageExtensionChanged = 5;

constexpr std::size_t kLongestNamePart = NAME_MAX;

std::size_t LastSlash(const std::string& name) {
    const std::size_t slash = name.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

bool SamePattern(const std::string& a, const std::string& b) {
    return JStrEqualNoCase(a.c_str(), b.c_str());
}

// The previously selected pattern taken as a wildcard over the extension
// (".*" takes every extension).
bool PatternTakes(const std::string& pattern, const std::string& extension) {
    return JMatchPattern(("x" + pattern).c_str(), ("x" + extension).c_str());
}

}  // namespace

bool JIsFilePattern(const std::string& name) {
    return name.find_first_of("*?") != std::string::npos;
}

std::string JFileNameExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot < LastSlash(name)) {
        return "";
    }
    return name.substr(dot);
}

bool JFileNameUsable(const std::string& name) {
    if (name.empty() || name.find('\0') != std::string::npos) {
        return false;
    }
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find('/', start);
        if (end == std::string::npos) {
            end = name.size();
        }
        if (end - start > kLongestNamePart) {
            return false;
        }
        start = end + 1;
    }
    return name.back() != '/';  // a folder, not a file
}

JExtensionCheck JCheckExtension(const std::string& name, const std::vector<std::string>& patterns,
                                int selected) {
    JExtensionCheck check{name, selected, 0, {}};
    if (selected < 0 || static_cast<std::size_t>(selected) >= patterns.size()) {
        return check;
    }
    const std::string& wanted = patterns[static_cast<std::size_t>(selected)];
    const std::string extension = JFileNameExtension(name);
    if (extension.empty()) {
        check.name = name + wanted;
        check.message = kMessageMissingExtension;
        check.arguments = {wanted};
        return check;
    }
    if (SamePattern(extension, wanted)) {
        return check;
    }
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        if (SamePattern(extension, patterns[i])) {
            check.selectedType = static_cast<int>(i);
            if (!PatternTakes(wanted, extension)) {
                check.message = kMessageTypeChanged;
                check.arguments = {extension};
            }
            return check;
        }
    }
    check.name = name.substr(0, name.size() - extension.size()) + wanted;
    check.message = kMessageExtensionChanged;
    check.arguments = {extension, wanted};
    return check;
}
