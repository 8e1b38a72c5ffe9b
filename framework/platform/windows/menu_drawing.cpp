// The look of the menus: the frame's bar with its system-menu box and
// titles, and pop-up menus with check marks, mnemonics underlined, greyed
// items, separators, shortcut texts and sub-menu arrows.
#include <algorithm>

#include "framework/platform/draw/draw_port.h"
#include "framework/platform/draw/text.h"
#include "framework/platform/windows/menu_system.h"

namespace {

constexpr int kFontSize = 13;
constexpr int kSystemBoxWidth = 20;
constexpr int kTitlePadding = 8;
constexpr int kItemHeight = 18;
constexpr int kSeparatorHeight = 8;
constexpr int kPopupPadding = 2;  // above the first item and below the last
constexpr int kCheckColumn = 20;  // the check mark, left of the text
constexpr int kArrowColumn = 16;  // the sub-menu arrow, right of the text
constexpr int kShortcutGap = 24;  // between the text and the shortcut
constexpr int kMinimumPopupWidth = 80;

constexpr std::uint32_t kFace = 0xD4D0C8;
constexpr std::uint32_t kText = 0x000000;
constexpr std::uint32_t kHighlight = 0x1F4E8C;
constexpr std::uint32_t kHighlightText = 0xFFFFFF;
constexpr std::uint32_t kGreyText = 0x808080;
constexpr std::uint32_t kEtched = 0xFFFFFF;  // the light edge of greyed text and separators
constexpr std::uint32_t kShade = 0x808080;
constexpr std::uint32_t kOutline = 0x404040;

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

void Fill(const RasterTarget& target, const JRect& rect, std::uint32_t colour) {
    RasterFillRect(target, RasterInk{colour}, rect);
}

void DrawLabelText(const RasterTarget& target, const MenuFont& font, int x, int baseline,
                   const MenuLabel& label, std::uint32_t colour) {
    JFontDraw(font.font, target, x, baseline, label.shown.c_str(), colour);
    if (label.mnemonicIndex < 0) {
        return;
    }
    const auto index = static_cast<std::size_t>(label.mnemonicIndex);
    const int left = x + font.Width(label.shown.substr(0, index));
    const int right = left + font.Width(label.shown.substr(index, 1));
    Fill(target, JRect{left, baseline + 2, right, baseline + 3}, colour);
}

// Greyed text is etched: a light copy below and right of the grey one.
void DrawLabel(const RasterTarget& target, const MenuFont& font, int x, int baseline,
               const MenuLabel& label, bool greyed, bool highlighted) {
    if (!greyed) {
        DrawLabelText(target, font, x, baseline, label, highlighted ? kHighlightText : kText);
        return;
    }
    if (!highlighted) {
        DrawLabelText(target, font, x + 1, baseline + 1, label, kEtched);
    }
    DrawLabelText(target, font, x, baseline, label, kGreyText);
}

void DrawSystemBox(const RasterTarget& target, const JRect& slot, bool highlighted) {
    const JRect box{slot.left + 2, slot.top + 2, slot.right - 2, slot.bottom - 3};
    Fill(target, box, highlighted ? kHighlight : kFace);
    const std::uint32_t glyph = highlighted ? kHighlightText : kText;
    const int midY = (box.top + box.bottom) / 2;
    Fill(target, JRect{box.left + 3, midY - 1, box.right - 3, midY + 1}, glyph);
    for (const JRect& edge : {JRect{box.left, box.top, box.right, box.top + 1},
                              JRect{box.left, box.bottom - 1, box.right, box.bottom},
                              JRect{box.left, box.top, box.left + 1, box.bottom},
                              JRect{box.right - 1, box.top, box.right, box.bottom}}) {
        Fill(target, edge, kOutline);
    }
}

void DrawCheckMark(const RasterTarget& target, const JRect& item, std::uint32_t colour) {
    const int x = item.left + 5;
    const int y = (item.top + item.bottom) / 2;
    const JPoint tick[] = {{x, y}, {x + 3, y + 3}, {x + 9, y - 3}};
    RasterPolyline(target, RasterInk{colour}, tick, 3, false, 2);
}

void DrawSubMenuArrow(const RasterTarget& target, const JRect& item, std::uint32_t colour) {
    const int x = item.right - kArrowColumn + 5;
    const int y = (item.top + item.bottom) / 2;
    const JPoint arrow[] = {{x, y - 4}, {x + 4, y}, {x, y + 4}};
    RasterPolygonFill(target, RasterInk{colour}, arrow, 3);
}

int ItemHeight(const MenuItemRecord& item) {
    return item.Separator() ? kSeparatorHeight : kItemHeight;
}

void DrawSeparator(const RasterTarget& target, const JRect& item) {
    const int y = (item.top + item.bottom) / 2 - 1;
    Fill(target, JRect{item.left + 2, y, item.right - 2, y + 1}, kShade);
    Fill(target, JRect{item.left + 2, y + 1, item.right - 2, y + 2}, kEtched);
}

void DrawItem(const RasterTarget& target, const MenuFont& font, const MenuItemRecord& item,
              const JRect& rect, bool highlighted) {
    if (item.Separator()) {
        DrawSeparator(target, rect);
        return;
    }
    if (highlighted) {
        Fill(target, rect, kHighlight);
    }
    const std::uint32_t ink = highlighted ? kHighlightText : item.Greyed() ? kGreyText : kText;
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
    Fill(target, strip, kFace);
    Fill(target, JRect{strip.left, strip.bottom - 1, strip.right, strip.bottom}, kShade);
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
        if (highlight == slot) {
            Fill(target, rect, kHighlight);
        }
        DrawLabel(target, font, rect.left + kTitlePadding, font.Baseline(rect.top, rect.bottom),
                  ParseMenuLabel(item.text), item.Greyed(), highlight == slot);
    }
}

JPoint PopupClientSize(const MenuRecord& menu) {
    const MenuFont font;
    int labels = 0;
    int shortcuts = 0;
    int height = 2 * kPopupPadding;
    for (const MenuItemRecord& item : menu.items) {
        const MenuLabel label = ParseMenuLabel(item.text);
        labels = std::max(labels, font.Width(label.shown));
        shortcuts = std::max(shortcuts, label.shortcut.empty() ? 0 : font.Width(label.shortcut));
        height += ItemHeight(item);
    }
    const int width =
        kCheckColumn + labels + (shortcuts > 0 ? kShortcutGap + shortcuts : 0) + kArrowColumn;
    return JPoint{std::max(width, kMinimumPopupWidth), height};
}

JRect PopupItemRect(const MenuRecord& menu, int position) {
    if (position < 0 || position >= static_cast<int>(menu.items.size())) {
        return JRect{};
    }
    int top = kPopupPadding;
    for (int i = 0; i < position; ++i) {
        top += ItemHeight(menu.items[static_cast<std::size_t>(i)]);
    }
    const int width = PopupClientSize(menu).x;
    return JRect{0, top, width, top + ItemHeight(menu.items[static_cast<std::size_t>(position)])};
}

int PopupItemAt(const MenuRecord& menu, JPoint client) {
    const int width = PopupClientSize(menu).x;
    if (client.x < 0 || client.x >= width) {
        return -1;
    }
    int top = kPopupPadding;
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
    Fill(target, JRect{0, 0, size.x, size.y}, kFace);
    const MenuFont font;
    int top = kPopupPadding;
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
        const MenuItemRecord& item = menu.items[i];
        const JRect rect{0, top, size.x, top + ItemHeight(item)};
        DrawItem(target, font, item, rect, static_cast<int>(i) == highlight);
        top = rect.bottom;
    }
}
