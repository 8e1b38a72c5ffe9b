// Headless screenshots of the preview on a real animation: stopped on its
// first frame, in the middle of playing, a small animation centred in a
// larger window, and a window too small for its screen, scrolled. Beside the
// preview a stand-in for the frame controls shows the playback buttons.
//
//   preview_screenshots DIRECTORY [ANIMATION.gif]
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/codec/gif_file.h"
#include "app/shell/playback_buttons.h"
#include "app/shell/preview_window.h"
#include "framework/core/core_startup.h"
#include "framework/platform/draw/headless.h"
#include "framework/ui/event_loop.h"
#include "framework/ui/framework_startup.h"
#include "framework/ui/main_frame.h"
#include "tests/app/shell/made_documents.h"
#include "tests/framework/ui/settle.h"

namespace {

std::string gDirectory;

// Steps until the input given so far is handled.
void Settle() {
    SettleEvents(2000);
}

bool Shoot(const char* name) {
    Settle();
    const std::string path = gDirectory + "/" + name + ".png";
    const bool ok = JHeadlessWriteFramePng(path.c_str());
    std::printf("%s %s\n", ok ? "wrote" : "could not write", path.c_str());
    return ok;
}

// The playback buttons in a window below the preview, as the frame
// controls will hold them.
JWindow* ButtonsBelow(PreviewWindow& preview) {
    JWindow* controls = JWindowNew(nullptr, "Frame Controls (buttons only)", 0);
    const JWindow& shown = *preview.window;
    JWindowMoveTo(controls, shown.left, shown.top + shown.height + shown.borderBottom + 5 + 24);
    JWindowResize(controls, 7 * 28 + 8, 32);
    AddPlaybackButtons(controls, nullptr, preview.playback, 4, 4);
    JWindowShow(controls);
    return controls;
}

bool ShootAnimation(const std::string& path) {
    std::unique_ptr<GifDocument> document = OpenGifFile(path.c_str(), KeyframeUse::Build);
    if (!document) {
        std::fprintf(stderr, "could not open %s\n", path.c_str());
        return false;
    }
    auto preview = OpenPreviewWindow(*document, {});
    JWindow* controls = ButtonsBelow(*preview);
    bool ok = Shoot("preview-stopped");
    SetPlaybackMode(preview->playback, kPlayForward);
    const std::int32_t middle = document->frameCount / 2;
    for (int step = 0; step < 1000000 && document->currentFrame != middle; ++step) {
        JEventStep(nullptr, true);
    }
    std::printf("playing, at frame %d of %d\n", document->currentFrame + 1, document->frameCount);
    ok = Shoot("preview-playing") && ok;
    StopPlayback(preview->playback);
    // Too small for the screen: scroll bars, scrolled back to the top-left
    // corner from the middle.
    JWindowResize(preview->window, 500, 300);
    Settle();
    JHandlerEvent end;
    end.part = kScrollEnd;
    end.amount = -1;
    JWindowCall(preview->window, kSlotHScrollLine + int(kScrollEnd) - 1, end);
    JWindowCall(preview->window, kSlotVScrollLine + int(kScrollEnd) - 1, end);
    ok = Shoot("preview-scrolled") && ok;
    JWindowDestroy(controls);
    return ok;
}

bool ShootCentred() {
    const Rgb white{255, 255, 255};
    const Rgb red{255, 0, 0};
    const Rgb blue{0, 0, 255};
    auto document = MakeDocument(
        120, 80,
        {MadeFrame{FrameRect{0, 0, 80, 120}, {white, white, white, white, white, white, red}},
         MadeFrame{FrameRect{20, 30, 60, 90}, {blue, white}}},
        Rgb{255, 128, 0});
    document->fileSpec.reset(JFileSpecFromPath("/tmp/made-up.gif"));
    auto preview = OpenPreviewWindow(*document, {});
    JWindowResize(preview->window, 300, 200);
    SelectPreviewFrame(*preview, 1);
    return Shoot("preview-centred");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY [ANIMATION.gif]\n", argv[0]);
        return 2;
    }
    gDirectory = argv[1];
    std::filesystem::create_directories(gDirectory);
    const std::string animation =
        argc > 2 ? argv[2] : std::string(PINDLE_CORPUS_DIR) + "/real/term-progress-animated.gif";
    JCoreStartup();
    JHeadlessConfigure(JHeadlessScreen{1400, 900});
    if (!JBackendStart(JBackendChoice::Headless) || !JFrameworkStartup()) {
        std::fprintf(stderr, "no headless frame\n");
        return 1;
    }
    JMainFramePlace(JRect{0, 0, 1300, 800});
    JMainFrameShow();
    bool ok = ShootAnimation(animation);
    ok = ShootCentred() && ok;
    JFrameworkShutdown();
    JBackendStop();
    return ok ? 0 : 1;
}
