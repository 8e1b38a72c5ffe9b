// Entry point of the pindle program.
#include <cstdio>

#include "framework/core/core_startup.h"
#include "framework/core/format.h"
#include "framework/core/memory.h"
#include "framework/core/resources.h"
#include "framework/core/strings.h"

namespace {

// Texts of the console front end.
constexpr std::uint16_t kTextUsage = 3000;
constexpr std::uint16_t kTextVersion = 3001;
constexpr std::uint16_t kTextNoWindows = 3002;
constexpr std::uint16_t kTextUnknownOption = 3003;

constexpr int kExitWrongCommandLine = 2;

void Print(std::FILE* stream, const char* text) {
    std::fputs(text, stream);
}

}  // namespace

int main(int argc, char** argv) {
    JCoreStartup();
    JTempMark();
    int status = 0;
    if (argc == 2 && JStrEqual(argv[1], "--help")) {
        Print(stdout, JResourceText(kTextUsage));
    } else if (argc == 2 && JStrEqual(argv[1], "--version")) {
        Print(stdout, JFormatTemp(JResourceText(kTextVersion), PINDLE_VERSION));
    } else if (argc == 1 || (argc == 2 && argv[1][0] != '-')) {
        Print(stderr, JResourceText(kTextNoWindows));
        status = kExitWrongCommandLine;
    } else {
        Print(stderr, JFormatTemp(JResourceText(kTextUnknownOption), argv[1]));
        status = kExitWrongCommandLine;
    }
    JTempRelease();
    return status;
}
