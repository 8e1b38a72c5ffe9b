#include "framework/ui/menus.h"

#include <string>
#include <vector>

#include "framework/ui/edit_fields.h"
#include "framework/ui/edit_target.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

std::vector<std::string>& Ran() {
    static std::vector<std::string> ran;
    return ran;
}

void Record(JUiMenuItem* item, void*) {
    Ran().push_back(item->text);
}

void RecordEntry(JControl*, const JKeyRecord*) {
    Ran().push_back("entry");
}

class Menus : public FrameworkTest {
protected:
    JUiMenuBar* bar = nullptr;
    JUiMenu* file = nullptr;
    JUiMenuItem* open = nullptr;
    JUiMenuItem* saveAs = nullptr;

    void SetUp() override {
        FrameworkTest::SetUp();
        Ran().clear();
        bar = JUiMenuBarNew();
        file = JUiMenuFromEncoded("FFile");
        open = JUiItemFromEncoded("OOOpen...");
        saveAs = JUiItemFromEncoded(" ASave as...");
        JUiItemSetHandler(open, Record, nullptr);
        JUiItemSetHandler(saveAs, Record, nullptr);
        JUiMenuAddItem(file, open);
        JUiMenuAddItem(file, saveAs);
        JUiMenuBarAdd(bar, nullptr, file);
        JSetStandardMenuTitle(kStandardFileTitle, 'F', "File");
        JSetStandardMenuTitle(kStandardEditTitle, 'E', "Edit");
        JSetStandardEditItem(kStandardCut, 'X', 'C', "Cut");
        JSetStandardEditItem(kStandardCopy, 'C', 'C', "Copy");
        JSetStandardEditItem(kStandardPaste, 'V', 'P', "Paste");
        JUiMenuBarInstall(bar);
        Settle();
    }

    static JPoint Centre(const JRect& rect) {
        return JPoint{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    static void ClickAt(JPoint point) {
        JHeadlessClick(point.x, point.y);
        Settle();
    }
    static void Key(std::uint16_t key, std::uint16_t modifiers = 0) {
        JHeadlessPressKey(key, modifiers);
        Settle();
    }
    int TitlePosition(const JUiMenu* menu) const {
        for (int i = 0; i < JMenuItemCount(bar->platform); ++i) {
            if (JMenuItemSubMenu(bar->platform, i) == menu->popup) {
                return i;
            }
        }
        return -1;
    }
};

TEST_F(Menus, LabelsShowTheMnemonicAndTheControlShortcut) {
    EXPECT_STREQ(JMenuItemText(file->popup, 0), "&Open...\tCtrl+O");
    EXPECT_STREQ(JMenuItemText(file->popup, 1), "S&ave as...");
    EXPECT_STREQ(JMenuItemText(bar->platform, 0), "&File");
    // A mnemonic that does not occur shows plainly.
    EXPECT_EQ(JMenuShownLabel("Quit", 'Z', 0), "Quit");
}

TEST_F(Menus, AnItemChosenWithTheMouseRunsItsHandler) {
    JRect title;
    ASSERT_TRUE(JGetMenuItemRect(bar->platform, TitlePosition(file), &title));
    ClickAt(Centre(title));
    ASSERT_TRUE(JMenuIsOpen(file->popup));
    JRect item;
    ASSERT_TRUE(JGetMenuItemRect(file->popup, 1, &item));
    ClickAt(Centre(item));
    EXPECT_FALSE(JMenuTracking());
    EXPECT_EQ(Ran(), std::vector<std::string>{"Save as..."});
}

TEST_F(Menus, AltAndTheMnemonicsChooseAnItem) {
    Key('F', kModAlt);
    ASSERT_TRUE(JMenuIsOpen(file->popup));
    Key('A');
    EXPECT_EQ(Ran(), std::vector<std::string>{"Save as..."});
}

TEST_F(Menus, TheControlShortcutRunsTheItemFromAnyWindow) {
    Key('O', kModCtrl);  // the frame has the keyboard
    OpenWindow(20, 20, 200, 100);
    Key('o', kModCtrl);  // a document window has it; the case does not matter
    EXPECT_EQ(Ran(), (std::vector<std::string>{"Open...", "Open..."}));
    Key('O', kModCtrl | kModShift);  // not the command key alone
    EXPECT_EQ(Ran().size(), 2u);
}

TEST_F(Menus, ADisabledShortcutBeepsAndDoesNothingElse) {
    OpenWindow(20, 20, 200, 100);
    JUiItemSetEnabled(open, false);
    EXPECT_EQ(JMenuItemFlags(file->popup, 0) & kMenuGreyed, kMenuGreyed);
    const int beeps = JHeadlessBeepCount();
    Key('O', kModCtrl);
    EXPECT_EQ(JHeadlessBeepCount(), beeps + 1);
    EXPECT_TRUE(Ran().empty());
}

TEST_F(Menus, AMenuWithoutEnabledItemsGreysAndComesBack) {
    JUiMenuSetEnabled(file, true);
    EXPECT_TRUE(file->Enabled());
    JUiItemSetEnabled(open, false);
    JUiItemSetEnabled(saveAs, false);
    EXPECT_FALSE(file->Enabled());
    EXPECT_EQ(JMenuItemFlags(bar->platform, TitlePosition(file)) & kMenuGreyed, kMenuGreyed);
    JUiItemSetEnabled(open, true);
    EXPECT_TRUE(file->Enabled());
    EXPECT_EQ(JMenuItemFlags(bar->platform, TitlePosition(file)) & kMenuGreyed, 0u);
}

TEST_F(Menus, TheAppleMenuGoesToTheFramesSystemMenuBelowASeparator) {
    JUiMenu* apple = JUiMenuFromEncoded(" Apple");
    JUiMenuItem* about = JUiItemFromEncoded(" AAbout Pindle...");
    JUiItemSetHandler(about, Record, nullptr);
    JUiMenuAddItem(apple, about);
    JUiMenuBarAdd(bar, nullptr, apple);
    JUiMenuBarInstall(bar);
    EXPECT_EQ(JMenuItemCount(bar->platform), 1);  // File only
    const JMenu system = JGetSystemMenu(JFrameWindow(), false);
    const int count = JMenuItemCount(system);
    ASSERT_GE(count, 2);
    EXPECT_EQ(JMenuItemFlags(system, count - 2) & kMenuSeparator, kMenuSeparator);
    EXPECT_STREQ(JMenuItemText(system, count - 1), "&About Pindle...");
    EXPECT_LT(about->command, kFirstSystemCommand);
    // Chosen there, it reaches its handler as a bar item does.
    JPostMessage(JMakeMessage(JFrameWindow(), JMsg::Command, about->command));
    Settle();
    EXPECT_EQ(Ran(), std::vector<std::string>{"About Pindle..."});
}

TEST_F(Menus, TheEditMenuFollowsTheFieldBeingEdited) {
    JAddStandardEditMenu(kEditCut | kEditCopy | kEditPaste);
    JUiMenu* edit = JUiMenuBarFind(bar, "Edit");
    ASSERT_NE(edit, nullptr);
    ASSERT_EQ(bar->menus.size(), 2u);
    EXPECT_EQ(bar->menus[1], edit);  // right after File
    ASSERT_EQ(edit->items.size(), 3u);
    EXPECT_EQ(edit->items[0]->text, "Cut");
    EXPECT_EQ(edit->items[2]->text, "Paste");
    for (const JUiMenuItem* item : edit->items) {
        EXPECT_FALSE(item->Enabled());
    }
    EXPECT_FALSE(edit->Enabled());

    JWindow* window = OpenWindow(20, 20, 300, 120);
    JControl* field = JControlNew(JEditFieldKind(), window, 10, 10);
    JControlResize(field, 150, 22);
    JControlShow(field);
    JEditFieldSetText(field, "hello");
    Settle();
    JEditFieldSelectAllAndFocus(field);
    Settle();
    ASSERT_EQ(JEditFieldEditing(), field);
    EXPECT_TRUE(edit->items[0]->Enabled());  // a selection: Cut and Copy
    EXPECT_TRUE(edit->items[1]->Enabled());
    EXPECT_TRUE(edit->Enabled());

    Key('C', kModCtrl);  // Copy from the menu's shortcut; the field stays open
    EXPECT_EQ(JEditFieldEditing(), field);
    EXPECT_TRUE(edit->items[2]->Enabled());  // the clipboard holds text now

    Click(window, 250, 90);  // beside the field: editing ends
    EXPECT_EQ(JEditFieldEditing(), nullptr);
    for (const JUiMenuItem* item : edit->items) {
        EXPECT_FALSE(item->Enabled());
    }
}

TEST_F(Menus, ACommandCommitsTheFieldBeingEditedFirst) {
    JWindow* window = OpenWindow(20, 20, 300, 120);
    JControl* field = JControlNew(JEditFieldKind(), window, 10, 10);
    JControlResize(field, 150, 22);
    JControlShow(field);
    JEditFieldSetCallbacks(field, nullptr, RecordEntry);
    JEditFieldSelectAllAndFocus(field);
    Settle();
    Key('O', kModCtrl);
    EXPECT_EQ(Ran(), (std::vector<std::string>{"entry", "Open..."}));
    EXPECT_EQ(JEditFieldEditing(), nullptr);
}

TEST_F(Menus, AModalWindowLocksEveryMenuButEdit) {
    JAddStandardEditMenu(kEditCopy);
    JUiMenu* edit = JUiMenuBarFind(bar, "Edit");
    JUiItemSetEnabled(edit->items[0], true);
    ASSERT_TRUE(file->Enabled());
    JWindow* modal = JWindowNew(nullptr, "Modal", kWindowModal);
    JWindowShow(modal);
    Settle();
    EXPECT_FALSE(file->Enabled());
    EXPECT_EQ(file->flags & kMenuLocked, kMenuLocked);
    EXPECT_TRUE(edit->Enabled());
    // A menu added meanwhile is locked too.
    JUiMenu* view = JUiMenuFromEncoded("VView");
    JUiMenuAddItem(view, JUiItemNew("Grid"));
    JUiMenuSetEnabled(view, true);
    JUiMenuBarAdd(bar, edit, view);
    EXPECT_FALSE(view->Enabled());
    JWindowDestroy(modal);
    Settle();
    EXPECT_TRUE(file->Enabled());
    EXPECT_TRUE(view->Enabled());
    EXPECT_EQ(file->flags & kMenuLocked, 0);
}

}  // namespace
