// The process: platform version, command line, directories and exit.
#pragma once

#include <string>

// Long file names, the newer window look and the taskbar-aware screen area.
bool JNewerShell();

// Kept from main; JCommandLine gives the whole line, program path included,
// with arguments holding blanks in double quotes.
void JSetCommandLine(int argc, const char* const* argv);
const char* JCommandLine();

// Without a trailing separator; "/" when the directory cannot be read.
std::string JPlatformCurrentDirectory();
// Where the system keeps its configuration.
std::string JSystemDirectory();

[[noreturn]] void JEndProcess();  // exit code 0
