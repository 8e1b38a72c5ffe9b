#include "framework/ui/colour_buttons.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "framework/ui/control_drawing.h"
#include "framework/ui/popup_windows.h"

namespace {

struct ColourButton : JKindRecord {
    JColour colour = kColourBlack;
    int pattern = 1;
    bool colours = true;
    bool blackWhite = false;
    std::vector<JColour> offered;
    int swatch = 16;
    JColourCallback callback = nullptr;
};

struct OpenGrid {
    JWindow* window = nullptr;
    JControl* button = nullptr;
    std::vector<JColour> cells;
    int columns = 1;
    int rows = 1;
    int hot = -1;
    bool moved = false;
};

OpenGrid& Grid() {
    static OpenGrid grid;
    return grid;
}

ColourButton* ButtonOf(JControl* control) {
    return JKindDataOf<ColourButton>(control);
}

std::vector<JColour> Cube(int red, int green, int blue) {
    std::vector<JColour> cube;
    auto level = [](int k, int levels) {
        return static_cast<std::uint16_t>(levels < 2 ? 0 : k * 65535 / (levels - 1));
    };
    for (int r = 0; r < red; ++r) {
        for (int g = 0; g < green; ++g) {
            for (int b = 0; b < blue; ++b) {
                cube.push_back(JColour{level(r, red), level(g, green), level(b, blue)});
            }
        }
    }
    return cube;
}

long long SortKey(const JColour& c) {
    return static_cast<long long>(c.red) * 64 + static_cast<long long>(c.blue) * 8 + c.green;
}

JRect CellRect(const OpenGrid& grid, int index) {
    const int column = index % grid.columns;
    const int row = index / grid.columns;
    const int left = kColourGridMargin + column * kColourCellPitch;
    const int top = kColourGridMargin + row * kColourCellPitch;
    return JRect{left, top, left + kColourCellPitch - 2, top + kColourCellPitch - 2};
}

int CellAt(const OpenGrid& grid, int x, int y) {
    for (int i = 0; i < static_cast<int>(grid.cells.size()); ++i) {
        const JRect cell = CellRect(grid, i);
        if (x >= cell.left - 1 && x < cell.right + 1 && y >= cell.top - 1 && y < cell.bottom + 1) {
            return i;
        }
    }
    return -1;
}

bool DrawGrid(JWindow* window, const JHandlerEvent&) {
    const OpenGrid& grid = Grid();
    if (grid.window != window) {
        return false;
    }
    JFillArea(JRect{0, 0, window->width, window->height}, JUiFace());
    for (int i = 0; i < static_cast<int>(grid.cells.size()); ++i) {
        const JRect cell = CellRect(grid, i);
        JFillArea(JUiInset(cell, 1), grid.cells[static_cast<std::size_t>(i)]);
        JUiRing(cell, JUiShadow(), JUiWhite());
        if (i == grid.hot) {
            const JRect outline = JUiInset(cell, -1);
            JFrameArea(outline, JUiBlack());
            JFrameArea(JUiInset(outline, 1), JUiWhite());
        }
    }
    return true;
}

void CloseGrid() {
    OpenGrid& grid = Grid();
    if (grid.window == nullptr) {
        return;
    }
    JWindow* window = grid.window;
    grid = OpenGrid{};
    JWindowDestroy(window);
}

bool GridMoved(JWindow* window, const JHandlerEvent& event) {
    OpenGrid& grid = Grid();
    if (grid.window != window) {
        return false;
    }
    grid.moved = true;
    const int hot = CellAt(grid, event.x, event.y);
    if (hot != grid.hot) {
        grid.hot = hot;
        JInvalidateRect(window->platform, nullptr);
    }
    return true;
}

bool GridPressed(JWindow* window, const JHandlerEvent& event) {
    if (Grid().window == window && CellAt(Grid(), event.x, event.y) < 0) {
        CloseGrid();
    }
    return true;
}

bool GridReleased(JWindow* window, const JHandlerEvent& event) {
    OpenGrid& grid = Grid();
    if (grid.window != window) {
        return false;
    }
    if (!grid.moved || (event.modifiers & kUiNotPlainClick) != 0) {
        grid.moved = true;  // a plain click opened it: wait for the next one
        JPopupHoldMouse(window);
        return true;
    }
    const int cell = CellAt(grid, event.x, event.y);
    JControl* control = grid.button;
    const JColour chosen = cell >= 0 ? grid.cells[static_cast<std::size_t>(cell)] : JColour{};
    CloseGrid();
    ColourButton* button = ButtonOf(control);
    if (cell < 0 || chosen == button->colour) {
        return true;
    }
    button->colour = chosen;
    JControlRedraw(control);
    if (button->callback != nullptr) {
        button->callback(control, chosen, button->pattern);
    }
    return true;
}

bool GridCommand(JWindow* window, const JHandlerEvent&) {
    if (Grid().window == window) {
        CloseGrid();
    }
    return true;
}

void OpenGridFor(JControl* control, bool withShades) {
    OpenGrid& grid = Grid();
    grid.button = control;
    grid.cells = JColourGridList(control, withShades);
    JColourGridShape(static_cast<int>(grid.cells.size()), &grid.columns, &grid.rows);
    grid.hot = JNearestColourCell(grid.cells, ButtonOf(control)->colour);
    const int width = 2 * kColourGridMargin + grid.columns * kColourCellPitch - 2;
    const int height = 2 * kColourGridMargin + grid.rows * kColourCellPitch - 2;
    // The starting cell lies over the button's middle.
    const JRect button = JControlDeskRect(control);
    const JRect cell = CellRect(grid, std::max(grid.hot, 0));
    const int left = (button.left + button.right) / 2 - (cell.left + cell.right) / 2;
    const int top = (button.top + button.bottom) / 2 - (cell.top + cell.bottom) / 2;
    grid.window = JOpenPopupWindow(JKeepOnDesk(JRect{left, top, left + width, top + height}));
    JWindowSetHandler(grid.window, kSlotDraw, DrawGrid);
    JWindowSetHandler(grid.window, kSlotMouseDown, GridPressed);
    JWindowSetHandler(grid.window, kSlotMouseUp, GridReleased);
    JWindowSetHandler(grid.window, kSlotMouseMoved, GridMoved);
    JWindowSetHandler(grid.window, kSlotPopupCommand, GridCommand);
}

void MouseDown(JControl* control, const JMouseEvent& event) {
    if (!control->Enabled() || Grid().window != nullptr ||
        (event.modifiers & kUiNotPlainClick) != 0) {
        return;
    }
    const bool ctrl = (event.modifiers & (1 | kUiCtrl)) != 0;
    OpenGridFor(control, ctrl && JDisplayDepth() > 8);
}

void Draw(JControl* control) {
    const ColourButton* button = ButtonOf(control);
    const JRect rect = control->Rect();
    JFillArea(rect, JUiFace());
    JDrawBevel(rect, true);
    const JRect swatch = JUiInset(rect, 4);
    JFillArea(swatch, control->Enabled() ? button->colour : JUiFace());
    JFrameArea(swatch, control->Enabled() ? JUiBlack() : JUiShadow());
}

void NaturalSize(JControl* control, int* width, int* height) {
    *width = ButtonOf(control)->swatch + 16;
    *height = ButtonOf(control)->swatch + 8;
}

void Create(JControl* control) {
    control->kindData = std::make_unique<ColourButton>();
    ButtonOf(control)->offered =
        JOfferedColours(JDisplayDepth(), JDisplayInformation().freePaletteEntries);
}

void Destroy(JControl* control) {
    if (Grid().button == control) {
        CloseGrid();
    }
}

ControlKind MakeKind() {
    ControlKind kind = JControlKindDefaults("colour button");
    kind.create = Create;
    kind.destroy = Destroy;
    kind.draw = Draw;
    kind.naturalSize = NaturalSize;
    kind.mouseDown = MouseDown;
    return kind;
}

}  // namespace

const ControlKind* JColourButtonKind() {
    static const ControlKind kind = MakeKind();
    return &kind;
}

std::vector<JColour> JOfferedColours(int depth, int paletteEntries) {
    std::vector<JColour> colours;
    const int count = paletteEntries > 0 ? paletteEntries : 64;
    if (depth >= 16 || count >= 62) {
        colours = Cube(4, 4, 4);
    } else if (count >= 30) {
        colours = Cube(4, 4, 2);
    } else if (count >= 6) {
        colours = Cube(2, 2, 2);
    } else {
        colours = {kColourBlack, kColourWhite};  // the display's own two
    }
    std::stable_sort(colours.begin(), colours.end(),
                     [](const JColour& a, const JColour& b) { return SortKey(a) < SortKey(b); });
    return colours;
}

std::vector<JColour> JColourGridList(JControl* control, bool withShades) {
    const ColourButton* button = ButtonOf(control);
    if (button->blackWhite) {
        return {kColourBlack, kColourWhite};
    }
    if (!withShades) {
        return button->offered;
    }
    std::vector<JColour> shades;
    const JColour base{static_cast<std::uint16_t>(3 * button->colour.red / 4),
                       static_cast<std::uint16_t>(3 * button->colour.green / 4),
                       static_cast<std::uint16_t>(3 * button->colour.blue / 4)};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            for (int k = 0; k < 4; ++k) {
                shades.push_back(JColour{static_cast<std::uint16_t>(base.red + i * 65535 / 12),
                                         static_cast<std::uint16_t>(base.green + j * 65535 / 12),
                                         static_cast<std::uint16_t>(base.blue + k * 65535 / 12)});
            }
        }
    }
    return shades;
}

int JNearestColourCell(const std::vector<JColour>& cells, JColour colour) {
    long best = 3L * 65536;
    int nearest = -1;
    for (int i = static_cast<int>(cells.size()) - 1; i >= 0; --i) {
        const JColour& cell = cells[static_cast<std::size_t>(i)];
        const long distance = std::labs(static_cast<long>(cell.red) - colour.red) +
                              std::labs(static_cast<long>(cell.green) - colour.green) +
                              std::labs(static_cast<long>(cell.blue) - colour.blue);
        if (distance < best) {
            best = distance;
            nearest = i;
        }
    }
    return nearest;
}

void JColourGridShape(int count, int* columns, int* rows) {
    *columns = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(count))));
    *rows = (count + *columns - 1) / *columns;
}

void JColourButtonSetColour(JControl* control, JColour colour, int pattern) {
    ButtonOf(control)->colour = colour;
    ButtonOf(control)->pattern = pattern;
    JControlRedraw(control);
}

void JColourButtonGetColour(JControl* control, JColour* colour, int* pattern) {
    *colour = ButtonOf(control)->colour;
    *pattern = ButtonOf(control)->pattern;
}

void JColourButtonSetMode(JControl* control, bool colours) {
    ButtonOf(control)->colours = colours;
    JControlRedraw(control);
}

void JColourButtonSetBlackWhite(JControl* control, bool blackWhite) {
    ButtonOf(control)->blackWhite = blackWhite;
    JControlRedraw(control);
}

void JColourButtonSetCallback(JControl* control, JColourCallback callback) {
    ButtonOf(control)->callback = callback;
}

JWindow* JColourGridWindow() {
    return Grid().window;
}

int JColourGridHot() {
    return Grid().hot;
}
