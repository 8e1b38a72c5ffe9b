#include "app/shell/windowed_main.h"

#include <cstdio>

#include "app/optimiser/window_progress.h"
#include "app/shell/application.h"
#include "framework/core/resources.h"
#include "framework/platform/platform.h"
#include "framework/ui/alert_windows.h"
#include "framework/ui/framework_startup.h"

namespace {

constexpr std::uint16_t kTextNoDisplay = 3002;
constexpr int kExitNoDisplay = 2;

}  // namespace

int RunWindowedProgram(int argc, char** argv) {
    JSetCommandLine(argc, argv);
    if (!JBackendStart(JBackendChoice::Desktop) || !JFrameworkStartup()) {
        std::fputs(JResourceText(kTextNoDisplay), stderr);
        JBackendStop();
        return kExitNoDisplay;
    }
    JUseWindowAlerts();
    UseWindowProgress();
    RunApplication();
    JFrameworkShutdown();
    JTextShutdown();
    JBackendStop();
    return 0;
}
