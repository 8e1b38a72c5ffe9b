// Draws every primitive, pen mode, fill pattern, font style and a few
// pictures into the frame. "--headless FILE.png" draws with the headless
// backend and writes the frame to FILE.png; otherwise the frame opens in a
// desktop window (when a display is available) until it is closed or
// "--seconds N" have passed, and "--png FILE.png" also saves what it showed.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/core/core_startup.h"
#include "framework/platform/draw/frame.h"
#include "framework/platform/draw/headless.h"
#include "framework/platform/draw/picture_copy.h"
#include "framework/platform/draw/pictures.h"
#include "framework/platform/draw/pixel_buffer.h"
#include "framework/platform/draw/png_file.h"
#include "framework/platform/system/clock.h"
#include "tests/tool_options.h"

namespace {

constexpr int kWidth = 900;
constexpr int kHeight = 620;

void Label(int x, int y, const char* text) {
    const PenSnapshot saved = JSavePenState();
    JSetForeColour(kColourBlack);
    JSetFontStyle(0);
    JSetFontSize(13);
    JDrawText(x, y, text);
    JRestorePenState(saved);
}

void DrawShapes() {
    Label(10, 18, "Lines, rectangles, round rectangles, arcs, pies, polygons");
    JSetForeColour(JColour{0, 0, 0x8000});
    for (int i = 0; i < 8; ++i) {
        JDrawLine(10, 30 + i * 4, 10 + i * 12, 90);
    }
    JFrameRect(120, 30, 180, 90);
    JSetForeColour(JColour{0xC000, 0x2000, 0x2000});
    JFillRect(190, 30, 250, 90);
    JSetForeColour(kColourBlack);
    JFrameRoundRect(JRect{260, 30, 320, 90}, 8, 8);
    JThickFrameRoundRect(JRect{330, 30, 390, 90}, 12, 6);
    JSetForeColour(JColour{0x2000, 0xA000, 0x2000});
    JPaintRoundRect(JRect{400, 30, 460, 90}, 10, 10);
    JSetForeColour(kColourBlack);
    JDrawArc(JRect{470, 30, 530, 90}, 0, 4);
    JDrawArc(JRect{540, 30, 600, 90}, 2, 7);
    JSetForeColour(JColour{0xE000, 0xA000, 0});
    JPaintPie(JRect{610, 30, 670, 90}, 1, 6);
    const JPoint star[] = {{710, 30}, {725, 85}, {680, 50}, {740, 50}, {695, 85}};
    JSetForeColour(JColour{0x6000, 0, 0x9000});
    JFillPolygon(star, 5);
    const JPoint triangle[] = {{760, 90}, {790, 30}, {820, 90}};
    JPaintPolygon(triangle, 3);
    const JPoint zigzag[] = {{830, 30}, {845, 90}, {860, 30}, {875, 90}};
    JSetPenWidth(3);
    JDrawPolyline(zigzag, 4);
    JSetPenWidth(1);
}

void DrawPenModes() {
    Label(10, 118, "Pen modes: copy and invert; pen widths 1 to 4");
    JSetForeColour(JColour{0, 0x6000, 0xC000});
    JFillRect(10, 125, 200, 175);
    JSetForeColour(kColourBlack);
    JSetPenMode(JPenMode::Invert);
    JFillRect(40, 135, 120, 165);
    JFrameRect(100, 130, 190, 170);
    JDrawLine(10, 125, 200, 175);
    JSetPenMode(JPenMode::Copy);
    for (int width = 1; width <= 4; ++width) {
        JSetPenWidth(width);
        JDrawLine(220, 125 + width * 10, 400, 135 + width * 10);
    }
    JSetPenWidth(1);
}

void DrawPatterns() {
    Label(10, 198, "Fill patterns 2-45, 51-82 and 91");
    JSetBackColour(JColour{0xFFFF, 0xF000, 0xC000});
    int index = 0;
    for (int pattern = 2; pattern <= 91; ++pattern) {
        if ((pattern >= 46 && pattern <= 50) || (pattern >= 83 && pattern <= 90)) {
            continue;
        }
        JSetFillPattern(pattern);
        const int x = 10 + (index % 39) * 22;
        const int y = 205 + (index / 39) * 22;
        JFillRect(x, y, x + 20, y + 20);
        ++index;
    }
    JSetFillPattern(1);
    JSetBackColour(kColourWhite);
}

void DrawFonts() {
    Label(10, 290, "Fonts");
    const struct {
        int style;
        const char* name;
    } styles[] = {{0, "Plain"},
                  {kFontBold, "Bold"},
                  {kFontItalic, "Italic"},
                  {kFontBold | kFontItalic, "Bold italic"},
                  {kFontOutlined, "Outlined"}};
    int x = 10;
    JSetBackColour(JColour{0xFFFF, 0xFFFF, 0x8000});
    for (const auto& style : styles) {
        JSetFontStyle(style.style);
        JSetFontSize(22);
        JDrawText(x, 320, style.name);
        x += JMeasureText(style.name).width + 20;
    }
    JSetBackColour(kColourWhite);
    JSetFontStyle(0);
    JSetFontSize(15);
    JSetFontWidthFactor(0.5);
    JDrawText(10, 350, "Width factor 0.5: Pindle makes GIF files smaller");
    JSetFontWidthFactor(1.0);
    JDrawText(10, 372, "Width factor 1.0: Pindle makes GIF files smaller");
    JDrawDisabledText(400, 372, "Disabled text");
    JSetFontFace("No Such Face");
    JSetFontSize(30);
    const JTextExtent extent = JMeasureText("Measured");
    JSetForeColour(JColour{0xFFFF, 0xD000, 0xD000});
    JFillRect(600, 350 - extent.ascent, 600 + extent.width, 350 + extent.descent);
    JSetForeColour(kColourBlack);
    JDrawText(600, 350, "Measured");
    JSetFontFace(kDefaultFontFace);
    JSetFontSize(kDefaultFontSize);
}

JPicture* GradientPicture() {
    JPixelBuffer* buffer = JNewPixelBuffer(64, 64);
    for (int row = 0; row < 64; ++row) {
        std::uint8_t* pixel = JPixelBufferRow(buffer, row);
        for (int x = 0; x < 64; ++x, pixel += 3) {
            pixel[0] = static_cast<std::uint8_t>(x * 4);
            pixel[1] = static_cast<std::uint8_t>(row * 4);
            pixel[2] = static_cast<std::uint8_t>(255 - x * 4);
        }
    }
    JPicture* picture = JNewPicture(64, 64, 24);
    JPutWholeBuffer(buffer, picture);
    JReleasePixelBuffer(buffer);
    return picture;
}

void DrawPictures() {
    Label(10, 400, "Pictures: copy modes 1-5, stretched, mask and spread");
    JPicture* picture = GradientPicture();
    const JRect whole{0, 0, 64, 64};
    for (int mode = 1; mode <= 5; ++mode) {
        const int x = 10 + (mode - 1) * 74;
        JSetForeColour(JColour{0x8000, 0x8000, 0x8000});
        JFillRect(x, 410, x + 64, 442);
        JSetForeColour(kColourBlack);
        JCopyPicture(&picture->port, whole, JRect{x, 410, x + 64, 474}, mode);
    }
    JCopyPicture(&picture->port, JRect{0, 0, 16, 16}, JRect{390, 410, 518, 538}, kCopySource);

    JPicture* mask = JNewMask(40, 40);
    JSelectPort(&mask->port);
    JSetForeColour(kColourWhite);
    JFillRect(0, 0, 40, 40);
    JSetForeColour(kColourBlack);
    JFrameRoundRect(JRect{5, 5, 35, 35}, 6, 6);
    JDrawLine(10, 20, 30, 20);
    JPicture* spread = JNewMask(40, 40);
    JSpreadPicture(mask, spread);
    JSelectFramePort();
    JSetForeColour(JColour{0xC000, 0, 0});
    JCopyPicture(&mask->port, JRect{0, 0, 40, 40}, JRect{540, 410, 580, 450}, kCopyAnd);
    JCopyPicture(&spread->port, JRect{0, 0, 40, 40}, JRect{600, 410, 640, 450}, kCopyAnd);
    JSetForeColour(kColourBlack);
    JReleasePicture(spread);
    JReleasePicture(mask);
    JReleasePicture(picture);
}

void DrawClipping() {
    Label(660, 400, "Clipping to two rectangles");
    const JRect clip[] = {{660, 410, 720, 470}, {740, 430, 880, 520}};
    JSetClipRects(clip, 2);
    JSetForeColour(JColour{0, 0x8000, 0x8000});
    JPaintPie(JRect{670, 415, 870, 600}, 0, 0);
    JClearClip();
    JSetForeColour(kColourBlack);
}

void DrawGallery() {
    JSelectFramePort();
    JSetForeColour(kColourWhite);
    JFillRect(0, 0, kWidth, kHeight);
    JSetForeColour(kColourBlack);
    DrawShapes();
    DrawPenModes();
    DrawPatterns();
    DrawFonts();
    DrawPictures();
    DrawClipping();
    JFramePresentAll();
}

// Shows the frame until it is closed or the time is up, redrawing on demand.
void RunWindow(std::uint32_t seconds) {
    JBackendCurrent().showFrame(true);
    DrawGallery();
    const std::uint32_t start = JTickCount();
    for (;;) {
        JInputEvent event;
        while (JFramePoll(&event)) {
            if (event.kind == JInputKind::CloseRequested) {
                return;
            }
            if (event.kind == JInputKind::FrameResized || event.kind == JInputKind::FrameExposed) {
                DrawGallery();
            }
        }
        if (seconds > 0 && JTickCount() - start >= seconds * 1000) {
            return;
        }
        JSleep(20);
    }
}

}  // namespace

int main(int argc, char** argv) {
    JCoreStartup();
    const char* headlessPng = ToolOption(argc, argv, "--headless");
    const char* png = headlessPng != nullptr ? headlessPng : ToolOption(argc, argv, "--png");
    const char* seconds = ToolOption(argc, argv, "--seconds");
    if (!JBackendStart(headlessPng != nullptr ? JBackendChoice::Headless
                                              : JBackendChoice::Automatic)) {
        return 1;
    }
    JFrameSpec spec;
    spec.title = "Drawing gallery";
    spec.x = 40;
    spec.y = 40;
    spec.width = kWidth;
    spec.height = kHeight;
    spec.resizable = false;
    if (!JFrameOpen(spec)) {
        return 1;
    }
    JDrawingStartup();
    std::printf("drawing with the %s backend\n", JBackendCurrent().name);
    if (headlessPng != nullptr) {
        DrawGallery();
    } else {
        RunWindow(seconds != nullptr ? static_cast<std::uint32_t>(std::atoi(seconds)) : 0);
    }
    const bool written = png == nullptr || JWritePng(*JFrameSurface(), png);
    JDrawingShutdown();
    JTextShutdown();
    JFrameClose();
    JBackendStop();
    return written ? 0 : 1;
}
