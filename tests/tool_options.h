// The options of the demo and screenshot programs: "--name value" pairs.
#pragma once

#include <cstring>

// The value after `name` on the command line, or null when it is not given.
inline const char* ToolOption(int argc, char** argv, const char* name) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) {
            return argv[i + 1];
        }
    }
    return nullptr;
}
