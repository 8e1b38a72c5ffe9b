// Entry point of the pindle program: the console front end when the command
// line asks for it, otherwise the windowed program.
#include <cstdio>

#include "app/shell/console.h"
#include "app/shell/windowed_main.h"
#include "framework/core/core_startup.h"
#include "framework/core/memory.h"
#include "framework/core/resources.h"

namespace {

constexpr int kExitWrongCommandLine = 2;

}  // namespace

int main(int argc, char** argv) {
    JCoreStartup();
    JSetReserve(16384);
    JTempMark();
    int status = kExitWrongCommandLine;
    if (IsConsoleCommandLine(argc, argv)) {
        status = RunConsole(argc, argv);
    } else {
        status = RunWindowedProgram(argc, argv);
    }
    JTempRelease();
    return status;
}
