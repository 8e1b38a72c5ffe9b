// Fonts and text: faces found through fontconfig, drawn by FreeType. The
// classic faces ("MS Sans Serif", whose bitmap strikes give the crisp dialog
// text, and the "Marlett" symbols) are drawn without grey levels; any other
// face, and the DejaVu Sans that stands in for a missing one, is
// anti-aliased. A JFont is shared and reference-counted; its FreeType face is
// made on first use, and at most six fonts hold one at a time.
#pragma once

#include <cstdint>
#include <string>

#include "framework/platform/draw/raster.h"

constexpr int kFontItalic = 1;
constexpr int kFontOutlined = 2;
constexpr int kFontBold = 4;

constexpr const char* kDefaultFontFace = "MS Sans Serif";
constexpr int kDefaultFontSize = 15;
constexpr int kDefaultFontStyle = kFontBold;
constexpr int kMaxRealisedFonts = 6;
// Caption-box and scroll-arrow glyphs ('0' minimise, '1' maximise, '2'
// restore, 'r' close, '3' to '6' arrows left, right, up, down).
constexpr const char* kSymbolFontFace = "Marlett";

struct RealisedFont;

struct JFont {
    std::string face;
    int size = kDefaultFontSize;  // cell height (ascent + descent) in pixels
    int style = 0;
    double widthFactor = 1.0;
    int references = 0;
    int selections = 0;  // a selected font keeps its face
    RealisedFont* realised = nullptr;
};

struct JTextExtent {
    int width = 0;
    int ascent = 0;
    int descent = 0;
};

// Finds or makes the font and takes a reference to it.
JFont* JFontGet(const char* face, int size, int style, double widthFactor);
JFont* JFontRetain(JFont* font);
void JFontRelease(JFont* font);  // the last release frees it
void JFontSelect(JFont* font);   // marks the font as in use by the drawing layer
void JFontDeselect(JFont* font);

JTextExtent JFontMeasure(JFont* font, const char* text);
// Average width of the letters a to z, which the width factor scales.
int JFontAverageCharWidth(JFont* font);
// The text at the baseline point (x, y) in `colour`.
void JFontDraw(JFont* font, const RasterTarget& target, int x, int y, const char* text,
               std::uint32_t colour);

int JRealisedFontCount();
bool JFontIsRealised(const JFont* font);
// The file of the face that serves the font (after the sans-serif fallback).
std::string JFontFile(JFont* font);

// Where a face's file lies.
struct JFaceFile {
    std::string path;
    int index = 0;  // of the face within the file
    bool bold = false;
    bool italic = false;
};
// Finds a face by its exact family name; false when it is not installed.
using JFaceLookup = bool (*)(const char* family, int style, JFaceFile* file);
// The lookup through fontconfig, which is also told about the classic faces
// of Debian's fonts-wine package.
bool JFontConfigLookup(const char* family, int style, JFaceFile* file);
// Replaces the lookup of named faces (null puts fontconfig back) and gives
// back every realised face, so the next use looks again. The sans-serif
// stand-in is always found through fontconfig.
void JTextSetFaceLookup(JFaceLookup lookup);
bool JFontFaceAvailable(const char* family);
// Whether the font draws with only fully-on and fully-off pixels.
bool JFontIsMonochrome(JFont* font);

// Releases every font face and the font libraries' caches.
void JTextShutdown();
