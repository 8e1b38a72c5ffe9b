// Painting platform windows. Every top-level window keeps its own pixels, and
// its children draw into them; the frame shows the windows' pixels composed in
// z-order. A window collects invalid areas; a paint message then lets its
// procedure redraw only those, and the frame shows only what changed.
#pragma once

#include <vector>

#include "framework/platform/draw/draw_port.h"
#include "framework/platform/windows/messages.h"
#include "framework/platform/windows/window.h"

struct JPaintInfo {
    JRect box;                  // the update region's bounding box, client coordinates
    std::vector<JRect> region;  // non-overlapping rectangles
    DrawingState saved;         // what JEndPaint selects again
};

// Adds to the update region (client coordinates; null for the whole client
// area). Children below the area are invalidated with it.
void JInvalidateRect(JWnd window, const JRect* rect);
void JInvalidateRegion(JWnd window, const std::vector<JRect>& region);
void JValidateRect(JWnd window, const JRect* rect);
bool JWindowNeedsPaint(JWnd window);
std::vector<JRect> JWindowUpdateRegion(JWnd window);

// Selects the window's port clipped to its update region (less its visible
// children), fills the region with the background unless the class says not
// to, and empties the region.
DrawPort* JBeginPaint(JWnd window, JPaintInfo* paint);
void JEndPaint(JWnd window, const JPaintInfo& paint);

// The window's port for drawing outside a paint message: the whole client
// area less visible children. What is drawn shows at the next compose.
DrawPort* JWindowPort(JWnd window);

// Sends Paint to every invalid window now (the repaint-now pass).
void JUpdateWindow(JWnd window);
void JUpdateAllWindows();

// Moves the client area's pixels (or those of `area`, client coordinates)
// by dx, dy; the uncovered strips become invalid. Without an area the
// children move with the pixels.
void JScrollWindow(JWnd window, int dx, int dy, const JRect* area);

// The colour a window's background is filled with (its class's, or what
// JSetWindowBackground gave it); white for no window.
JColour JWindowBackground(JWnd window);

// After a change of the system colours: every window draws its frame again
// and is invalidated, and the menu bar is drawn again.
void JSystemColoursChanged();

// The caption box (kHitClose, kHitMaximise, kHitMinimise, kHitSystemMenu)
// that the mouse holds down, drawn pushed in; kHitNowhere releases it. At
// most one box is pressed at a time.
void JSetCaptionBoxPressed(JWnd window, JHit box);
JHit JCaptionBoxPressed(JWnd window);

// Composes what changed into the frame and presents it; JPeekMessage does this
// whenever it finds nothing to return.
void JComposeFrame();
