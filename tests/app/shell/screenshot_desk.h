// The setting of the screenshot programs: a headless frame of the given size
// with the framework started, and the settings file kept in a scratch
// folder (never the user's), all taken down again at the end.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/shell/preferences.h"
#include "framework/core/core_startup.h"
#include "framework/platform/draw/headless.h"
#include "framework/platform/platform.h"
#include "framework/ui/framework_startup.h"
#include "framework/ui/main_frame.h"

class ScreenshotDesk {
public:
    ScreenshotDesk(int width, int height) {
        JCoreStartup();
        JHeadlessConfigure(JHeadlessScreen{});
        if (!JBackendStart(JBackendChoice::Headless) || !JFrameworkStartup()) {
            std::fprintf(stderr, "no headless frame\n");
            return;
        }
        JMainFramePlace(JRect{0, 0, width, height});
        JMainFrameShow();
        char scratch[] = "/tmp/pindle-shots-XXXXXX";
        if (mkdtemp(scratch) == nullptr) {
            return;
        }
        scratch_ = scratch;
        SetSettingsDirectory((scratch_ + "/").c_str());
        SetFactoryDefaults();
    }
    ~ScreenshotDesk() {
        SetSettingsDirectory(nullptr);
        if (!scratch_.empty()) {
            std::filesystem::remove_all(scratch_);
        }
        JFrameworkShutdown();
        JTextShutdown();
        JBackendStop();
    }
    ScreenshotDesk(const ScreenshotDesk&) = delete;
    ScreenshotDesk& operator=(const ScreenshotDesk&) = delete;

    bool Ready() const { return !scratch_.empty(); }

private:
    std::string scratch_;
};
