#include "app/shell/playback_buttons.h"

#include "framework/platform/platform.h"
#include "framework/ui/control_drawing.h"
#include "framework/ui/custom_buttons.h"

namespace {

enum Button : int {
    kFastReverse = 0,
    kReverse,
    kStepBack,
    kStop,
    kStepForward,
    kForward,
    kFastForward,
};

// Which button a control is: kept beside it as a property.
constexpr std::uintptr_t kButtonProperty = 0x506C6179;  // "Play"

// A symbol's pixel is ink where the one-bit bitmap is dark.
bool IsInk(std::uint32_t rgb) {
    return JRgbRed(rgb) + JRgbGreen(rgb) + JRgbBlue(rgb) < 3 * 128;
}

bool DrawBitmapSymbol(int button, int x, int y, JColour ink) {
    JSurface bitmap;
    if (!JLoadBitmapResource(static_cast<std::uint16_t>(kFirstPlaybackBitmap + button), &bitmap)) {
        return false;
    }
    for (int row = 0; row < bitmap.height; ++row) {
        for (int column = 0; column < bitmap.width; ++column) {
            if (IsInk(bitmap.At(column, row))) {
                JSetPixelColour(x + column, y + row, ink);
            }
        }
    }
    return true;
}

// A triangle 7 wide and 11 high whose base stands at `baseX`.
void Triangle(int baseX, int y, bool pointsRight) {
    const int tipX = pointsRight ? baseX + 6 : baseX - 6;
    const JPoint corners[] = {{baseX, y + 4}, {baseX, y + 14}, {tipX, y + 9}};
    JFillPolygon(corners, 3);
}

// A small frame, as of one film frame.
void SmallFrame(int x, int y) {
    JFrameRect(x, y + 4, x + 6, y + 14);
}

void DrawPlainSymbol(int button, int x, int y, JColour ink) {
    JSetForeColour(ink);
    switch (button) {
        case kFastReverse:
            Triangle(x + 9, y, false);
            Triangle(x + 15, y, false);
            break;
        case kReverse:
            Triangle(x + 12, y, false);
            break;
        case kStepBack:
            SmallFrame(x + 2, y);
            Triangle(x + 15, y, false);
            break;
        case kStop:
            JFillRect(x + 4, y + 4, x + 14, y + 14);
            break;
        case kStepForward:
            Triangle(x + 2, y, true);
            SmallFrame(x + 10, y);
            break;
        case kForward:
            Triangle(x + 6, y, true);
            break;
        case kFastForward:
            Triangle(x + 2, y, true);
            Triangle(x + 8, y, true);
            break;
        default:
            break;
    }
}

void DrawFace(JControl* control, const JRect& content, std::intptr_t button, bool) {
    // Centred; on the newer shell's thinner buttons the symbol's blank edge
    // lies over the button's frame.
    const int x = content.left + (content.Width() - kPlaybackSymbolSize) / 2;
    const int y = content.top + (content.Height() - kPlaybackSymbolSize) / 2;
    DrawPlaybackSymbol(static_cast<int>(button), x, y,
                       control->Enabled() ? JUiBlack() : JUiShadow());
}

void MeasureFace(JControl*, std::intptr_t, int* width, int* height) {
    *width = kPlaybackSymbolSize;
    *height = kPlaybackSymbolSize;
}

void Pressed(JControl* control) {
    auto* playback = static_cast<Playback*>(control->userData);
    if (playback != nullptr) {
        PressPlaybackButton(*playback,
                            static_cast<int>(JControlGetProperty(control, kButtonProperty)));
    }
}

}  // namespace

void DrawPlaybackSymbol(int button, int x, int y, JColour ink) {
    if (!DrawBitmapSymbol(button, x, y, ink)) {
        DrawPlainSymbol(button, x, y, ink);
    }
}

void PressPlaybackButton(Playback& playback, int button) {
    switch (button) {
        case kFastReverse:
            SetPlaybackMode(playback, kPlayFastReverse);
            break;
        case kReverse:
            SetPlaybackMode(playback, kPlayReverse);
            break;
        case kStepBack:
            StepToPreviousFrame(playback);
            break;
        case kStop:
            StopPlayback(playback);
            break;
        case kStepForward:
            StepToNextFrame(playback);
            break;
        case kForward:
            SetPlaybackMode(playback, kPlayForward);
            break;
        case kFastForward:
            SetPlaybackMode(playback, kPlayFastForward);
            break;
        default:
            break;
    }
}

PlaybackButtons AddPlaybackButtons(JWindow* window, JControl* row, Playback& playback, int left,
                                   int top) {
    // The button's frame is 2 pixels wide on the newer shell, 3 otherwise.
    const int size = kPlaybackSymbolSize + (JNewerShell() ? 4 : 6);
    PlaybackButtons buttons{};
    for (int i = 0; i < kPlaybackButtonCount; ++i) {
        JControl* button = row != nullptr ? JControlNewIn(JCustomButtonKind(), row, 0, 0)
                                          : JControlNew(JCustomButtonKind(), window, left, top);
        button->userData = &playback;
        JControlSetProperty(button, kButtonProperty, i);
        JCustomButtonSetHooks(button, DrawFace, MeasureFace, i);
        JCustomButtonSetAction(button, Pressed);
        JControlResize(button, size, size);
        JControlShow(button);
        left += size;
        buttons[std::size_t(i)] = button;
    }
    return buttons;
}
