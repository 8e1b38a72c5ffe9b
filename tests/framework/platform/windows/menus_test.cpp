// The frame's menu bar, pull-down menus and system menus, driven on the
// headless backend with the mouse and the keyboard as a user would.
#include "framework/platform/windows/menus.h"

#include <gtest/gtest.h>

#include "tests/framework/platform/windows_fixture.h"

namespace {

constexpr int kOpen = 101;
constexpr int kSave = 102;
constexpr int kSaveAs = 103;
constexpr int kQuit = 104;
constexpr int kCut = 201;
constexpr int kCopy = 202;
constexpr int kGrid = 301;
constexpr int kZoom = 311;
constexpr int kAbout = 7;

JPoint Centre(const JRect& rect) {
    return JPoint{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

bool Dark(std::uint32_t rgb) {
    return JRgbRed(rgb) < 0x60 && JRgbGreen(rgb) < 0x60 && JRgbBlue(rgb) < 0x60;
}

class MenuTest : public HeadlessWindows {
protected:
    void SetUp() override {
        HeadlessWindows::SetUp();
        file = JCreatePopupMenu();
        JAppendMenu(file, 0, kOpen, "&Open...\tCtrl+O");
        JAppendMenu(file, kMenuSeparator, 0, nullptr);
        JAppendMenu(file, kMenuGreyed, kSave, "&Save\tCtrl+S");
        JAppendMenu(file, 0, kSaveAs, "Save &as...");
        JAppendMenu(file, kMenuSeparator, 0, nullptr);
        JAppendMenu(file, 0, kQuit, "&Quit\tCtrl+Q");
        edit = JCreatePopupMenu();
        JAppendMenu(edit, 0, kCut, "Cu&t\tCtrl+X");
        JAppendMenu(edit, 0, kCopy, "&Copy\tCtrl+C");
        view = JCreatePopupMenu();
        JAppendMenu(view, kMenuChecked, kGrid, "&Grid");
        JAppendMenu(view, 0, kGrid + 1, "&Rulers");
        more = JCreatePopupMenu();
        JAppendMenu(more, 0, kZoom, "&Zoom");
        JAppendSubMenu(view, 0, more, "&More");
        bar = JCreateMenu();
        JAppendSubMenu(bar, 0, file, "&File");
        JAppendSubMenu(bar, 0, edit, "&Edit");
        JAppendSubMenu(bar, 0, view, "&View");
        ASSERT_TRUE(JSetMenu(frame, bar));
        Pump();
    }
    void TearDown() override {
        JDestroyAllMenus();
        HeadlessWindows::TearDown();
    }

    static JRect ItemRect(JMenu menu, int position) {
        JRect rect;
        EXPECT_TRUE(JGetMenuItemRect(menu, position, &rect));
        return rect;
    }
    static void Click(JPoint point) {
        JHeadlessClick(point.x, point.y);
        Pump();
    }
    void ClickTitle(int position) const { Click(Centre(ItemRect(bar, position))); }
    static void ClickItem(JMenu menu, int position) { Click(Centre(ItemRect(menu, position))); }
    static void Key(std::uint16_t key, std::uint16_t modifiers = 0) {
        JHeadlessPressKey(key, modifiers);
        Pump();
    }

    int Commands() const { return Log().Count(frame, JMsg::Command); }
    static int PositionOf(JMenu menu, int command) {
        for (int i = 0; i < JMenuItemCount(menu); ++i) {
            if (JMenuItemCommand(menu, i) == command) {
                return i;
            }
        }
        return -1;
    }
    int LastCommand() const {
        const JMessage* last = Log().Last(frame, JMsg::Command);
        return last != nullptr ? last->code : -1;
    }

    // Dark pixels in the check column of an open menu's item.
    static int CheckMarkPixels(JMenu menu, int position) {
        const JRect rect = ItemRect(menu, position);
        int dark = 0;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left + 2; x < rect.left + 18; ++x) {
                dark += Dark(Shown(x, y)) ? 1 : 0;
            }
        }
        return dark;
    }

    JMenu bar = kNoMenu;
    JMenu file = kNoMenu;
    JMenu edit = kNoMenu;
    JMenu view = kNoMenu;
    JMenu more = kNoMenu;
};

TEST_F(MenuTest, ItemsAreInsertedRemovedGreyedAndChecked) {
    const JMenu menu = JCreatePopupMenu();
    EXPECT_TRUE(JAppendMenu(menu, 0, 1, "&One"));
    EXPECT_TRUE(JAppendMenu(menu, 0, 3, "&Three"));
    EXPECT_TRUE(JInsertMenu(menu, 1, 0, 2, "T&wo"));
    EXPECT_TRUE(JInsertMenu(menu, 0, kMenuSeparator, 9, "ignored"));
    EXPECT_FALSE(JInsertMenu(menu, 9, 0, 4, "Four"));
    ASSERT_EQ(JMenuItemCount(menu), 4);
    EXPECT_EQ(JMenuItemCommand(menu, 0), 0);
    EXPECT_STREQ(JMenuItemText(menu, 0), "");
    EXPECT_EQ(JMenuItemCommand(menu, 2), 2);
    EXPECT_TRUE(JEnableMenuItem(menu, 2, false));
    EXPECT_TRUE(JCheckMenuItem(menu, 2, true));
    EXPECT_EQ(JMenuItemFlags(menu, 2), kMenuGreyed | kMenuChecked);
    EXPECT_TRUE(JEnableMenuItem(menu, 2, true));
    EXPECT_EQ(JMenuItemFlags(menu, 2), kMenuChecked);

    const JMenu sub = JCreatePopupMenu();
    EXPECT_TRUE(JAppendSubMenu(menu, 0, sub, "&Sub"));
    EXPECT_TRUE(JRemoveMenu(menu, 4));
    EXPECT_TRUE(JIsMenu(sub));
    EXPECT_TRUE(JAppendSubMenu(menu, 0, sub, "&Sub"));
    EXPECT_TRUE(JDeleteMenu(menu, 4));
    EXPECT_FALSE(JIsMenu(sub));
    EXPECT_TRUE(JDestroyMenu(menu));
    EXPECT_EQ(JMenuItemCount(menu), -1);
}

TEST_F(MenuTest, ClickTitleThenItemPostsItsCommand) {
    ClickTitle(0);
    EXPECT_TRUE(JMenuIsOpen(file));
    ClickItem(file, 3);
    EXPECT_FALSE(JMenuIsOpen(file));
    EXPECT_FALSE(JMenuTracking());
    EXPECT_EQ(Commands(), 1);
    EXPECT_EQ(LastCommand(), kSaveAs);
}

TEST_F(MenuTest, PullDownShowsAboveDocumentWindows) {
    const JWnd window = MakeWindow("doc", JRect{0, 0, 300, 200}, kWsDocument, 0x00FF00);
    Pump();
    ClickTitle(0);
    const JPoint probe = Centre(ItemRect(file, 5));
    EXPECT_NE(Shown(probe.x, probe.y), 0x00FF00u);
    EXPECT_EQ(JActiveWindow(), window);  // the menu took no activation
    Key(kKeyEscape);
    Key(kKeyEscape);
    EXPECT_EQ(Shown(probe.x, probe.y), 0x00FF00u);
}

TEST_F(MenuTest, MovingAcrossTitlesSwitchesTheOpenMenu) {
    ClickTitle(0);
    const JPoint editTitle = Centre(ItemRect(bar, 1));
    JHeadlessMovePointer(editTitle.x, editTitle.y);
    Pump();
    EXPECT_FALSE(JMenuIsOpen(file));
    EXPECT_TRUE(JMenuIsOpen(edit));
    ClickItem(edit, 1);
    EXPECT_EQ(LastCommand(), kCopy);
}

TEST_F(MenuTest, ClickOutsideClosesWithoutCommandOrClick) {
    const JWnd window = MakeWindow("doc", JRect{300, 200, 600, 400}, kWsDocument, 0x00FF00);
    Pump();
    ClickTitle(0);
    const JPoint inside = JClientToFrame(window, JPoint{50, 50});
    Click(inside);
    EXPECT_FALSE(JMenuTracking());
    EXPECT_EQ(Commands(), 0);
    EXPECT_EQ(Log().Count(window, JMsg::MouseDown), 0);
    EXPECT_EQ(Log().Count(window, JMsg::MouseUp), 0);
}

TEST_F(MenuTest, ClickingTheOpenTitleAgainClosesIt) {
    ClickTitle(0);
    ClickTitle(0);
    EXPECT_FALSE(JMenuTracking());
    EXPECT_EQ(Commands(), 0);
}

TEST_F(MenuTest, GreyedItemIsNotChosen) {
    ClickTitle(0);
    ClickItem(file, 2);
    EXPECT_EQ(Commands(), 0);
    EXPECT_TRUE(JMenuIsOpen(file));
}

TEST_F(MenuTest, GreyedTitleDoesNotOpen) {
    JEnableMenuItem(bar, 1, false);
    ClickTitle(1);
    EXPECT_FALSE(JMenuIsOpen(edit));
    Key(kKeyEscape);
    Key('E', kModAlt);
    EXPECT_FALSE(JMenuIsOpen(edit));
    Key(kKeyEscape);
    EXPECT_FALSE(JMenuTracking());
}

TEST_F(MenuTest, AltLetterOpensTitleAndLetterChoosesItem) {
    Key('F', kModAlt);
    EXPECT_TRUE(JMenuIsOpen(file));
    Key('A');
    EXPECT_EQ(LastCommand(), kSaveAs);
    EXPECT_FALSE(JMenuTracking());
}

TEST_F(MenuTest, AltAloneEntersBarThenArrowsAndReturnChoose) {
    Key(kKeyAlt);
    EXPECT_TRUE(JMenuTracking());
    EXPECT_FALSE(JMenuIsOpen(file));
    Key(kKeyRight);
    Key(kKeyDown);
    EXPECT_TRUE(JMenuIsOpen(edit));
    Key(kKeyDown);
    Key(kKeyReturn);
    EXPECT_EQ(LastCommand(), kCopy);
    EXPECT_EQ(Commands(), 1);
}

TEST_F(MenuTest, ArrowsSkipSeparatorsAndGreyedItems) {
    Key('F', kModAlt);
    Key(kKeyDown);  // past the separator and the greyed Save
    Key(kKeyReturn);
    EXPECT_EQ(LastCommand(), kSaveAs);
    Key('F', kModAlt);
    Key(kKeyUp);  // wraps to the last item
    Key(kKeyReturn);
    EXPECT_EQ(LastCommand(), kQuit);
}

TEST_F(MenuTest, LeftAndRightMoveBetweenOpenMenus) {
    Key('F', kModAlt);
    Key(kKeyRight);
    EXPECT_TRUE(JMenuIsOpen(edit));
    Key(kKeyLeft);
    Key(kKeyLeft);
    EXPECT_TRUE(JMenuIsOpen(JGetSystemMenu(frame, false)));
    Key(kKeyLeft);  // round to the last title
    EXPECT_TRUE(JMenuIsOpen(view));
}

TEST_F(MenuTest, TheTextOfAMnemonicKeyStaysWithTheMenus) {
    const JWnd window = MakeWindow("doc", JRect{20, 40, 220, 200}, kWsCaption, 0x808080);
    Pump();
    // Typing a letter is its key press, then its text, then its release. A
    // press that chooses an item and closes the menus takes its text along.
    JHeadlessPressKey('V', kModAlt);
    JHeadlessTypeText("g");
    Pump();
    EXPECT_EQ(LastCommand(), kGrid);
    EXPECT_FALSE(JMenuTracking());
    EXPECT_EQ(Log().Count(window, JMsg::Char), 0);
    EXPECT_EQ(Log().Count(frame, JMsg::Char), 0);
    // The next key is typed as usual.
    JHeadlessTypeText("h");
    Pump();
    EXPECT_EQ(Log().Count(window, JMsg::Char) + Log().Count(frame, JMsg::Char), 1);
}

TEST_F(MenuTest, EscapeClosesOneLevelAtATime) {
    Key('V', kModAlt);
    Key('M');
    EXPECT_TRUE(JMenuIsOpen(more));
    Key(kKeyEscape);
    EXPECT_FALSE(JMenuIsOpen(more));
    EXPECT_TRUE(JMenuIsOpen(view));
    Key(kKeyEscape);
    EXPECT_FALSE(JMenuIsOpen(view));
    EXPECT_TRUE(JMenuTracking());
    Key(kKeyEscape);
    EXPECT_FALSE(JMenuTracking());
    EXPECT_EQ(Commands(), 0);
}

TEST_F(MenuTest, SubMenuItemIsChosenByMnemonic) {
    Key('V', kModAlt);
    Key('M');
    Key('Z');
    EXPECT_EQ(LastCommand(), kZoom);
}

TEST_F(MenuTest, PointingAtASubMenuOpensIt) {
    ClickTitle(2);
    const JPoint moreItem = Centre(ItemRect(view, 2));
    JHeadlessMovePointer(moreItem.x, moreItem.y);
    Pump();
    ASSERT_TRUE(JMenuIsOpen(more));
    ClickItem(more, 0);
    EXPECT_EQ(LastCommand(), kZoom);
}

TEST_F(MenuTest, CheckedItemIsDrawnWithAMark) {
    ClickTitle(2);
    Pump();
    EXPECT_GT(CheckMarkPixels(view, 0), 5);
    EXPECT_EQ(CheckMarkPixels(view, 1), 0);
    JCheckMenuItem(view, 1, true);
    Pump();
    EXPECT_GT(CheckMarkPixels(view, 1), 5);
}

TEST_F(MenuTest, DocumentWindowSystemMenuClosesTheWindow) {
    const JWnd window = MakeWindow("doc", JRect{100, 100, 400, 300}, kWsDocument, 0x00FF00);
    Pump();
    const JRect borders = JWindowBorders(window);
    const JPoint corner = JClientToFrame(frame, JPoint{100, 100});
    Click(JPoint{corner.x + borders.left + 10, corner.y + (borders.left + borders.top) / 2});
    const JMenu system = JGetSystemMenu(window, false);
    ASSERT_TRUE(JMenuIsOpen(system));
    ClickItem(system, PositionOf(system, kScClose));
    EXPECT_FALSE(JIsWindow(window));
}

TEST_F(MenuTest, DocumentSystemMenuOffersWhatTheWindowCanDoNow) {
    const JWnd window = MakeWindow("doc", JRect{100, 100, 400, 300},
                                   kWsDocument | kWsSizing | kWsMaximiseBox, 0x00FF00);
    Pump();
    const JMenu system = JGetSystemMenu(window, false);
    const auto enabled = [system](int command) {
        const int position = PositionOf(system, command);
        return position >= 0 && (JMenuItemFlags(system, position) & kMenuGreyed) == 0;
    };
    Key(kKeyMinus, kModAlt);  // opening it brings the states up to date
    EXPECT_FALSE(enabled(kScRestore));
    EXPECT_TRUE(enabled(kScMove));
    EXPECT_TRUE(enabled(kScSize));
    EXPECT_TRUE(enabled(kScMinimise));
    EXPECT_TRUE(enabled(kScMaximise));
    Key('N');  // Minimise
    EXPECT_TRUE(JIsMinimised(window));
    Key(kKeyMinus, kModAlt);
    EXPECT_TRUE(enabled(kScRestore));
    EXPECT_FALSE(enabled(kScSize));
    EXPECT_FALSE(enabled(kScMinimise));
    Key('R');  // Restore
    EXPECT_FALSE(JIsMinimised(window));
    EXPECT_EQ(JWindowBounds(window), (JRect{100, 100, 400, 300}));
}

TEST_F(MenuTest, AltMinusOpensTheActiveWindowSystemMenu) {
    const JWnd window = MakeWindow("doc", JRect{100, 100, 400, 300}, kWsDocument, 0x00FF00);
    Pump();
    Key(kKeyMinus, kModAlt);
    EXPECT_TRUE(JMenuIsOpen(JGetSystemMenu(window, false)));
    Key(kKeyEscape);
    EXPECT_FALSE(JMenuTracking());
    EXPECT_TRUE(JIsWindow(window));
}

TEST_F(MenuTest, FrameSystemMenuHoldsAppendedItems) {
    const JMenu system = JGetSystemMenu(frame, false);
    JAppendMenu(system, kMenuSeparator, 0, nullptr);
    JAppendMenu(system, 0, kAbout, "&About Demo...");
    Key(kKeySpace, kModAlt);
    EXPECT_TRUE(JMenuIsOpen(system));
    Key('A');
    EXPECT_EQ(LastCommand(), kAbout);
    Click(JPoint{8, 8});  // the box at the left of the bar
    EXPECT_TRUE(JMenuIsOpen(system));
    ClickItem(system, 2);
    EXPECT_EQ(Commands(), 2);
}

TEST_F(MenuTest, ModalWindowKeepsAltKeysFromTheBar) {
    const JWnd modal = MakeWindow("modal", JRect{100, 100, 300, 200}, kWsModalWindow, 0xFF0000);
    Pump();
    Key('F', kModAlt);
    EXPECT_FALSE(JMenuTracking());
    EXPECT_GE(Log().Count(modal, JMsg::KeyDown), 1);
}

}  // namespace
