// The system colour table is the only source of the chrome's colours: a scene
// of windows, controls and an open menu is drawn, every table entry is given
// a new value, and the scene drawn again must show the new values and none of
// its own.
#include "framework/platform/draw/system_colours.h"

#include <set>

#include "framework/platform/controls/drop_down_list.h"
#include "framework/platform/controls/edit_field.h"
#include "framework/platform/controls/list_box.h"
#include "framework/platform/controls/push_button.h"
#include "framework/platform/controls/scroll_bar.h"
#include "framework/platform/controls/static_text.h"
#include "framework/platform/windows/menus.h"
#include "tests/framework/platform/controls_fixture.h"

namespace {

constexpr int kEntries = static_cast<int>(JSysColour::Count);

// Every new colour, every blend of two of them and every inversion of one
// keeps these green and blue values, which no classic entry has.
constexpr std::uint32_t kGreen = 0x35;
constexpr std::uint32_t kBlue = 0x9B;

std::uint32_t NewValue(int entry) {
    return JRgb(static_cast<std::uint32_t>(10 + 9 * entry), kGreen, kBlue);
}

bool OfTheNewScheme(std::uint32_t rgb) {
    const bool plain = JRgbGreen(rgb) == kGreen && JRgbBlue(rgb) == kBlue;
    const bool inverted = JRgbGreen(rgb) == (0xFF ^ kGreen) && JRgbBlue(rgb) == (0xFF ^ kBlue);
    return plain || inverted;  // focus frames invert what they cross
}

class SystemColoursTest : public HeadlessControls {
protected:
    // The dialog's own content, in a colour of the new scheme's family, so
    // that text blended onto it stays in the family too.
    static constexpr std::uint32_t kContent = JRgb(0xF0, kGreen, kBlue);

    void SetUp() override {
        HeadlessControls::SetUp();
        Log().colours[dialog] = kContent;
        JSetWindowBackground(dialog, JColourFromRgb(kContent));
        // Every caption shows whole, out of the open menu's way.
        JMoveWindow(dialog, JRect{40, 80, 440, 440});
        inactive = MakeWindow("behind", JRect{445, 300, 635, 440},
                              kWsDocument | kWsSizing | kWsMaximiseBox, kContent);
        JActivateWindow(dialog);
        BuildControls();
        BuildMenus();
        Pump();
    }
    void TearDown() override {
        JDestroyAllMenus();
        JResetSystemColours();
        HeadlessControls::TearDown();
    }

    void BuildControls() {
        JCreatePushButton(Spec(JRect{10, 10, 90, 34}, 1, "Default", kBsDefault));
        JCreatePushButton(Spec(JRect{100, 10, 180, 34}, 2, "Other"));
        const JWnd greyed = JCreatePushButton(Spec(JRect{190, 10, 270, 34}, 3, "Greyed"));
        JEnableWindow(greyed, false);
        JCreateStaticText(Spec(JRect{10, 44, 200, 62}, 4, "A label"));
        edit = JCreateEditField(Spec(JRect{10, 70, 200, 94}, 5, "some text"));
        list = JCreateListBox(Spec(JRect{10, 104, 200, 170}, 6));
        for (const char* item : {"one", "two", "three", "four", "five", "six"}) {
            JListBoxAddItem(list, item);
        }
        JListBoxSetSelection(list, 1);
        const JWnd dropDown = JCreateDropDownList(Spec(JRect{210, 70, 330, 94}, 7));
        JDropDownAddItem(dropDown, "first");
        JDropDownSetSelection(dropDown, 0);
        const JWnd bar = JCreateScrollBar(Spec(JRect{340, 10, 356, 170}, 8, "", kSbsVertical));
        JScrollBarSetRange(bar, 0, 10);
        JScrollBarSetPage(bar, 3);
        JSetFocus(list);
    }

    void BuildMenus() {
        const JMenu file = JCreatePopupMenu();
        JAppendMenu(file, kMenuChecked, 101, "&Open...\tCtrl+O");
        JAppendMenu(file, kMenuSeparator, 0, nullptr);
        JAppendMenu(file, kMenuGreyed, 102, "&Save");
        JAppendMenu(file, 0, 103, "Save &as...");
        menuBar = JCreateMenu();
        JAppendSubMenu(menuBar, 0, file, "&File");
        ASSERT_TRUE(JSetMenu(frame, menuBar));
        Pump();
        JRect title;
        ASSERT_TRUE(JGetMenuItemRect(menuBar, 0, &title));
        JHeadlessClick((title.left + title.right) / 2, (title.top + title.bottom) / 2);
        Pump();
        JRect item;
        ASSERT_TRUE(JGetMenuItemRect(file, 3, &item));
        JHeadlessMovePointer((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        Pump();
        menuWindow = JTopLevelAt(0);
    }

    static JRect OuterInFrame(JWnd window) {
        const JRect bounds = JWindowBounds(window);
        const JPoint origin = JClientToFrame(JFrameWindow(), JPoint{bounds.left, bounds.top});
        return JRectOffset(bounds, origin.x - bounds.left, origin.y - bounds.top);
    }

    // The chrome: the menu bar, the open menu and the two windows.
    std::vector<JRect> ChromeAreas() const {
        JRect strip;
        JGetMenuItemRect(menuBar, 0, &strip);
        return {JRect{0, 0, kFrameWidth, strip.bottom}, OuterInFrame(menuWindow),
                OuterInFrame(dialog), OuterInFrame(inactive)};
    }

    JWnd inactive = kNoWindow;
    JWnd edit = kNoWindow;
    JWnd list = kNoWindow;
    JMenu menuBar = kNoMenu;
    JWnd menuWindow = kNoWindow;
};

TEST_F(SystemColoursTest, EveryChromePixelFollowsTheTable) {
    ASSERT_NE(menuWindow, dialog);
    for (int entry = 0; entry < kEntries; ++entry) {
        JSetSystemColour(static_cast<JSysColour>(entry), JColourFromRgb(NewValue(entry)));
    }
    JSystemColoursChanged();
    Pump();

    std::set<std::uint32_t> seen;
    int foreign = 0;
    JPoint firstForeign{-1, -1};
    for (const JRect& area : ChromeAreas()) {
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                const std::uint32_t rgb = Shown(x, y);
                seen.insert(rgb);
                if (!OfTheNewScheme(rgb)) {
                    if (foreign++ == 0) {
                        firstForeign = JPoint{x, y};
                    }
                }
            }
        }
    }
    EXPECT_EQ(foreign, 0) << "first at " << firstForeign.x << "," << firstForeign.y << ": "
                          << std::hex << Shown(firstForeign.x, firstForeign.y);
    // Every entry the chrome uses shows in its new value (the desktop
    // belongs to the application's frame, not to the chrome).
    for (int entry = 0; entry < kEntries; ++entry) {
        if (static_cast<JSysColour>(entry) == JSysColour::Desktop) {
            continue;
        }
        EXPECT_EQ(seen.count(NewValue(entry)), 1u) << "entry " << entry << " not seen";
    }
}

TEST_F(SystemColoursTest, TheClassicSchemeIsTheDefault) {
    EXPECT_EQ(JSystemRgb(JSysColour::Face), 0xC0C0C0u);
    EXPECT_EQ(JSystemRgb(JSysColour::ActiveCaption), 0x000080u);
    EXPECT_EQ(JSystemRgb(JSysColour::Desktop), 0x008080u);
    JSetSystemColour(JSysColour::Face, JColourFromRgb(0x123456));
    EXPECT_EQ(JSystemRgb(JSysColour::Face), 0x123456u);
    JResetSystemColours();
    EXPECT_EQ(JSystemRgb(JSysColour::Face), 0xC0C0C0u);
}

}  // namespace
