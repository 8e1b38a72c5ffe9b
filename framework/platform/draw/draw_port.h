// The drawing layer: one current drawing target (a DrawPort), one current
// PenState, and primitives drawn with them. Colours have 16-bit components;
// rectangles stop before their right and bottom edges, except where a
// primitive says otherwise.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/platform/draw/colour.h"
#include "framework/platform/draw/raster.h"
#include "framework/platform/draw/text.h"

enum class DrawPortKind : std::uint8_t { Window, Picture, Screen, Clipboard };

struct DrawPort {
    DrawPortKind kind = DrawPortKind::Window;
    JSurface* surface = nullptr;
    int originX = 0;  // the surface pixel of port point (0, 0)
    int originY = 0;
    // The part of the port that may be drawn on (port coordinates,
    // non-overlapping); empty means all of it. A window sets its visible area.
    std::vector<JRect> visible;
    bool mono = false;  // a one-bit picture
};

struct PenState {
    JFont* font = nullptr;
    JColour foreground = kColourBlack;
    JColour background = kColourWhite;
    JPenMode mode = JPenMode::Copy;
    int width = 1;
    int pattern = 1;  // 1 solid; other numbers name a pattern bitmap
    // Made from the values above whenever they change.
    RasterInk pen;
    RasterInk brush;
    JPattern patternBits;
    bool paletteColours = false;  // colours go out as palette indices
};

// The values of a pen state, for save and restore.
struct PenSnapshot {
    JFont* font = nullptr;
    JColour foreground;
    JColour background;
    JPenMode mode = JPenMode::Copy;
    int width = 1;
    int pattern = 1;
};

struct DrawingState {
    DrawPort* port = nullptr;
    PenState* pen = nullptr;
    std::vector<JRect> clip;
    bool clipped = false;
};

// Made once at start-up and released at shutdown with every pen state.
void JDrawingStartup();
void JDrawingShutdown();

// --- ports ---
void JSelectPort(DrawPort* port);  // a window's port, or a picture's
void JSelectFramePort();
void JSelectScreenPort();
bool JSelectClipboardPort();  // no clipboard pictures here: always false, nothing selected
void JSelectNoPort();
DrawPort* JCurrentPort();

// Clipping of the current port to a list of rectangles (port coordinates),
// on top of the port's visible area; an empty list or JClearClip clips to nothing
// beyond the port.
void JSetClipRects(const JRect* rects, int count);
void JClearClip();

DrawingState JSaveDrawingState();
void JRestoreDrawingState(const DrawingState& state);

// --- pen states ---
PenState* JPenStateNew();  // lives until shutdown
void JSelectPenState(PenState* pen);
PenState* JCurrentPenState();
void JSetForeColour(JColour colour);
void JSetBackColour(JColour colour);
void JSetPenWidth(int width);
void JSetPenMode(JPenMode mode);
void JSetFillPattern(int pattern);
void JSetFontFace(const char* face);
void JSetFontSize(int size);
void JSetFontStyle(int style);
void JSetFontWidthFactor(double factor);
PenSnapshot JSavePenState();
void JRestorePenState(const PenSnapshot& snapshot);

// --- primitives ---
// Covers both end points: one pixel past the right end, or past the lower end
// of a vertical line.
void JDrawLine(int x1, int y1, int x2, int y2);
void JFrameRect(int left, int top, int right, int bottom);
void JFillRect(int left, int top, int right, int bottom);
// Corner sizes are doubled to give the corners' ellipse.
void JFrameRoundRect(const JRect& rect, int cornerWidth, int cornerHeight);
void JThickFrameRoundRect(const JRect& rect, int cornerWidth, int cornerHeight);
void JPaintRoundRect(const JRect& rect, int cornerWidth, int cornerHeight);
// Start and end are compass positions 0-7 (top middle, then clockwise;
// 8-15 the same); here the rectangle includes its right and bottom edges.
void JDrawArc(const JRect& rect, int start, int end);
void JPaintPie(const JRect& rect, int start, int end);
void JDrawPolyline(const JPoint* points, int count);  // one pixel past the last point
void JFramePolygon(const JPoint* points, int count);
void JFillPolygon(const JPoint* points, int count);
void JPaintPolygon(const JPoint* points, int count);
void JSetPixel(int x, int y);
void JSetPixelColour(int x, int y, JColour colour);
JColour JGetPixel(int x, int y);  // black outside the port

// --- text ---
void JDrawText(int x, int y, const char* text);  // at the baseline point
void JDrawDisabledText(int x, int y, const char* text);
// A fixed colour for disabled text; null returns to the grey of grayed text.
void JSetDisabledTextColour(const JColour* colour);
JTextExtent JMeasureText(const char* text);

// The rasteriser's view of the current port with the current clipping.
RasterTarget JCurrentRasterTarget();
