#include "framework/platform/system/process.h"

#include <unistd.h>

#include <cstdlib>
#include <string_view>

namespace {

std::string& CommandLineText() {
    static std::string text;
    return text;
}

}  // namespace

bool JNewerShell() {
    return true;
}

void JSetCommandLine(int argc, const char* const* argv) {
    std::string& text = CommandLineText();
    text.clear();
    for (int i = 0; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (i > 0) {
            text += ' ';
        }
        const bool quote = argument.find(' ') != std::string_view::npos;
        text += quote ? "\"" : "";
        text += argument;
        text += quote ? "\"" : "";
    }
}

const char* JCommandLine() {
    return CommandLineText().c_str();
}

std::string JPlatformCurrentDirectory() {
    char buffer[4096];
    if (getcwd(buffer, sizeof buffer) == nullptr) {
        return "/";
    }
    std::string directory(buffer);
    while (directory.size() > 1 && directory.back() == '/') {
        directory.pop_back();
    }
    return directory;
}

std::string JSystemDirectory() {
    return "/etc";
}

void JEndProcess() {
    std::exit(0);
}
