// The look of the menus, in the colours of the system table: the frame's bar
// with its system-menu box and titles (the open one pushed in), and pop-up
// menus inside a raised edge, with check marks, mnemonics underlined, greyed
// items embossed, etched separators, shortcut texts and sub-menu arrows.
#include <algorithm>

#include "framework/platform/draw/draw_port.h"
#include "framework/platform/draw/system_colours.h"
#include "framework/platform/draw/text.h"
#include "framework/platform/windows/menu_system.h"

namespace {

constexpr int kFontSize = 13;
constexpr int kSystemBoxWidth = 20;
constexpr int kTitlePadding = 8;
constexpr int kItemHeight = 18;
constexpr int kSeparatorHeight = 8;
// The pop-up window's own border is the edge's outer ring; the inner ring
// and a line of menu colour lie inside its client area.
constexpr int kPopupInset = 2;
constexpr int kCheckColumn = 20;  // the check mark, left of the text
constexpr int kArrowColumn = 16;  // the sub-menu arrow, right of the text
constexpr int kShortcutGap = 24;  // between the text and the shortcut
constexpr int kMinimumPopupWidth = 80;

// The menu font, released when it goes out of scope.
struct MenuFont {
    JFont* font = JFontGet(kDefaultFontFace, kFontSize, 0, 1.0);
    MenuFont() = default;
    MenuFont(const MenuFont&) = delete;
    MenuFont& operator=(const MenuFont&) = delete;
    ~MenuFont() { JFontRelease(font); }

    int Width(const std::string& text) const { return JFontMeasure(font, text.c_str()).width; }
    // The baseline that centres the text between top and bottom.
    int Baseline(int top, int bottom) const {
        const JTextExtent extent = JFontMeasure(font, "Xg");
        return top + (bottom - top + extent.ascent - extent.descent) / 2;
    }
};

void Fill(const RasterTarget& target, const JRect& rect, JSysColour colour) {
    RasterFillRect(target, RasterInk{JSystemRgb(colour)}, rect);
}

// `topLeft` along the top and left, `bottomRight` along the bottom and right.
void Ring(const RasterTarget& target, const JRect& r, JSysColour topLeft, JSysColour bottomRight) {
    Fill(target, JRect{r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    Fill(target, JRect{r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    Fill(target, JRect{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    Fill(target, JRect{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

void DrawLabelText(const RasterTarget& target, const MenuFont& font, int x, int baseline,
                   const MenuLabel& label, JSysColour colour) {
    JFontDraw(font.font, target, x, baseline, label.shown.c_str(), JSystemRgb(colour));
    if (label.mnemonicIndex < 0) {
        return;
    }
    const auto index = static_cast<std::size_t>(label.mnemonicIndex);
    const int left = x + font.Width(label.shown.substr(0, index));
    const int right = left + font.Width(label.shown.substr(index, 1));
    Fill(target, JRect{left, baseline + 2, right, baseline + 3}, colour);
}

// Greyed text is embossed: a white copy below and right of the grey one
// (not on the highlight, where it would only blur).
void DrawLabel(const RasterTarget& target, const MenuFont& font, int x, int baseline,
               const MenuLabel& label, bool greyed, bool highlighted) {
    if (!greyed) {
        DrawLabelText(target, font, x, baseline, label,
                      highlighted ? JSysColour::HighlightText : JSysColour::MenuText);
        return;
    }
    if (!highlighted) {
        DrawLabelText(target, font, x + 1, baseline + 1, label, JSysColour::Light3D);
    }
    DrawLabelText(target, font, x, baseline, label, JSysColour::GreyText);
}

// The frame's system-menu box: a small raised button with a bar, pushed in
// while its menu is open.
void DrawSystemBox(const RasterTarget& target, const JRect& slot, bool open) {
    const JRect box{slot.left + 2, slot.top + 2, slot.right - 2, slot.bottom - 2};
    Fill(target, box, JSysColour::Face);
    if (open) {
        Ring(target, box, JSysColour::DarkShadow, JSysColour::Light3D);
        Ring(target, JRect{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1},
             JSysColour::Shadow, JSysColour::Light);
    } else {
        Ring(target, box, JSysColour::Light3D, JSysColour::DarkShadow);
        Ring(target, JRect{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1},
             JSysColour::Light, JSysColour::Shadow);
    }
    const int shift = open ? 1 : 0;
    const int midY = (box.top + box.bottom) / 2 + shift;
    Fill(target, JRect{box.left + 4 + shift, midY - 1, box.right - 4 + shift, midY + 1},
         JSysColour::ButtonText);
}

// A check mark as pixels: seven columns, three pixels tall each.
void DrawCheckMark(const RasterTarget& target, const JRect& item, JSysColour colour) {
    const int x = item.left + 6;
    const int y = (item.top + item.bottom) / 2 - 3;
    constexpr int kRise[] = {2, 3, 4, 3, 2, 1, 0};
    for (int i = 0; i < 7; ++i) {
        Fill(target, JRect{x + i, y + kRise[i], x + i + 1, y + kRise[i] + 3}, colour);
    }
}

// A solid triangle pointing right, four pixels wide.
void DrawSubMenuArrow(const RasterTarget& target, const JRect& item, JSysColour colour) {
    const int x = item.right - kArrowColumn + 5;
    const int y = (item.top + item.bottom) / 2;
    for (int i = 0; i < 4; ++i) {
        Fill(target, JRect{x + i, y - 3 + i, x + i + 1, y + 4 - i}, colour);
    }
}

int ItemHeight(const MenuItemRecord& item) {
    return item.Separator() ? kSeparatorHeight : kItemHeight;
}

void DrawSeparator(const RasterTarget& target, const JRect& item) {
    const int y = (item.top + item.bottom) / 2 - 1;
    Fill(target, JRect{item.left + 1, y, item.right - 1, y + 1}, JSysColour::Shadow);
    Fill(target, JRect{item.left + 1, y + 1, item.right - 1, y + 2}, JSysColour::Light3D);
}

void DrawItem(const RasterTarget& target, const MenuFont& font, const MenuItemRecord& item,
              const JRect& rect, bool highlighted) {
    if (item.Separator()) {
        DrawSeparator(target, rect);
        return;
    }
    if (highlighted) {
        Fill(target, rect, JSysColour::Highlight);
    }
    const JSysColour ink = highlighted     ? JSysColour::HighlightText
                           : item.Greyed() ? JSysColour::GreyText
                                           : JSysColour::MenuText;
    if ((item.flags & kMenuChecked) != 0) {
        DrawCheckMark(target, rect, ink);
    }
    const MenuLabel label = ParseMenuLabel(item.text);
    const int baseline = font.Baseline(rect.top, rect.bottom);
    DrawLabel(target, font, rect.left + kCheckColumn, baseline, label, item.Greyed(), highlighted);
    if (!label.shortcut.empty()) {
        const int x = rect.right - kArrowColumn - font.Width(label.shortcut);
        MenuLabel shortcut;
        shortcut.shown = label.shortcut;
        DrawLabel(target, font, x, baseline, shortcut, item.Greyed(), highlighted);
    }
    if (item.subMenu != kNoMenu) {
        DrawSubMenuArrow(target, rect, ink);
    }
}

int TitleWidth(const MenuFont& font, const MenuItemRecord& item) {
    return item.Separator() ? 0 : font.Width(ParseMenuLabel(item.text).shown) + 2 * kTitlePadding;
}

}  // namespace

int MenuBarSlotCount() {
    const JMenu bar = FrameMenuBar();
    return bar != kNoMenu ? 1 + JMenuItemCount(bar) : 0;
}

JRect MenuBarSlotRect(int slot) {
    const MenuRecord* bar = FindMenu(FrameMenuBar());
    if (bar == nullptr || slot < 0 || slot > static_cast<int>(bar->items.size())) {
        return JRect{};
    }
    const int bottom = kMenuBarHeight - 1;
    if (slot == 0) {
        return JRect{0, 0, kSystemBoxWidth, bottom};
    }
    const MenuFont font;
    int left = kSystemBoxWidth + 2;
    for (int i = 0; i + 1 < slot; ++i) {
        left += TitleWidth(font, bar->items[static_cast<std::size_t>(i)]);
    }
    const int width = TitleWidth(font, bar->items[static_cast<std::size_t>(slot - 1)]);
    return JRect{left, 0, left + width, bottom};
}

int MenuBarSlotAt(JPoint framePoint) {
    for (int slot = 0; slot < MenuBarSlotCount(); ++slot) {
        if (MenuBarSlotRect(slot).Contains(framePoint.x, framePoint.y)) {
            return slot;
        }
    }
    return -1;
}

void PaintMenuBar(const JRect& strip) {
    const RasterTarget target = JCurrentRasterTarget();
    Fill(target, strip, JSysColour::Menu);
    const MenuRecord* bar = FindMenu(FrameMenuBar());
    if (bar == nullptr) {
        return;
    }
    const int highlight = MenuBarHighlight();
    DrawSystemBox(target, MenuBarSlotRect(0), highlight == 0);
    const MenuFont font;
    for (std::size_t i = 0; i < bar->items.size(); ++i) {
        const MenuItemRecord& item = bar->items[i];
        const int slot = static_cast<int>(i) + 1;
        const JRect rect = MenuBarSlotRect(slot);
        if (item.Separator() || rect.Empty()) {
            continue;
        }
        // The open title is pushed in, its text a pixel down and right.
        const int shift = highlight == slot ? 1 : 0;
        if (highlight == slot) {
            Ring(target, rect, JSysColour::Shadow, JSysColour::Light3D);
        }
        DrawLabel(target, font, rect.left + kTitlePadding + shift,
                  font.Baseline(rect.top, rect.bottom) + shift, ParseMenuLabel(item.text),
                  item.Greyed(), false);
    }
}

JPoint PopupClientSize(const MenuRecord& menu) {
    const MenuFont font;
    int labels = 0;
    int shortcuts = 0;
    int height = 2 * kPopupInset;
    for (const MenuItemRecord& item : menu.items) {
        const MenuLabel label = ParseMenuLabel(item.text);
        labels = std::max(labels, font.Width(label.shown));
        shortcuts = std::max(shortcuts, label.shortcut.empty() ? 0 : font.Width(label.shortcut));
        height += ItemHeight(item);
    }
    const int width =
        kCheckColumn + labels + (shortcuts > 0 ? kShortcutGap + shortcuts : 0) + kArrowColumn;
    return JPoint{std::max(width, kMinimumPopupWidth) + 2 * kPopupInset, height};
}

JRect PopupItemRect(const MenuRecord& menu, int position) {
    if (position < 0 || position >= static_cast<int>(menu.items.size())) {
        return JRect{};
    }
    int top = kPopupInset;
    for (int i = 0; i < position; ++i) {
        top += ItemHeight(menu.items[static_cast<std::size_t>(i)]);
    }
    const int width = PopupClientSize(menu).x;
    return JRect{kPopupInset, top, width - kPopupInset,
                 top + ItemHeight(menu.items[static_cast<std::size_t>(position)])};
}

int PopupItemAt(const MenuRecord& menu, JPoint client) {
    const int width = PopupClientSize(menu).x;
    if (client.x < kPopupInset || client.x >= width - kPopupInset) {
        return -1;
    }
    int top = kPopupInset;
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
        const int bottom = top + ItemHeight(menu.items[i]);
        if (client.y >= top && client.y < bottom) {
            return static_cast<int>(i);
        }
        top = bottom;
    }
    return -1;
}

void PaintPopup(const RasterTarget& target, const MenuRecord& menu, int highlight) {
    const JPoint size = PopupClientSize(menu);
    Fill(target, JRect{0, 0, size.x, size.y}, JSysColour::Menu);
    Ring(target, JRect{0, 0, size.x, size.y}, JSysColour::Light3D, JSysColour::Shadow);
    const MenuFont font;
    int top = kPopupInset;
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
        const MenuItemRecord& item = menu.items[i];
        const JRect rect{kPopupInset, top, size.x - kPopupInset, top + ItemHeight(item)};
        DrawItem(target, font, item, rect, static_cast<int>(i) == highlight);
        top = rect.bottom;
    }
}
