#include "app/shell/windowed_main.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/optimiser/window_progress.h"
#include "app/shell/application.h"
#include "app/shell/console.h"
#include "app/shell/preferences.h"
#include "framework/core/resources.h"
#include "framework/platform/platform.h"
#include "framework/ui/alert_windows.h"
#include "framework/ui/framework_startup.h"

namespace {

constexpr std::uint16_t kTextNoDisplay = 3002;
constexpr int kExitNoDisplay = 2;

void UseSettingsFolderOption(int argc, char** argv) {
    const std::size_t length = std::strlen(kSettingsFolderOption);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], kSettingsFolderOption, length) == 0) {
            std::string folder = argv[i] + length;
            if (!folder.empty() && folder.back() != '/') {
                folder += '/';
            }
            SetSettingsDirectory(folder.empty() ? nullptr : folder.c_str());
        }
    }
}

}  // namespace

int RunWindowedProgram(int argc, char** argv) {
    JSetCommandLine(argc, argv);
    UseSettingsFolderOption(argc, argv);
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
