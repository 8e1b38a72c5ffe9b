#include <map>
#include <string>
#include <vector>

#include "framework/ui/edit_fields.h"
#include "framework/ui/push_buttons.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

std::vector<std::string>& Events() {
    static std::vector<std::string> events;
    return events;
}

enum class Victim { Control, Window };
Victim TheVictim = Victim::Control;

void DeleteVictim(JControl* control) {
    Events().push_back("deleted");
    if (TheVictim == Victim::Control) {
        JControlDelete(control);
    } else {
        JWindowDestroy(control->owner);
    }
    EXPECT_TRUE(control->Deleted());
}

void DeleteOnDown(JControl* control, const JMouseEvent&) {
    DeleteVictim(control);
}
void DeleteOnUp(JControl* control, const JMouseEvent&) {
    DeleteVictim(control);
}
void DeleteOnMove(JControl* control, int, int) {
    DeleteVictim(control);
}
void DeleteOnDraw(JControl* control) {
    DeleteVictim(control);
}

ControlKind KindDeletingIn(int slot) {
    ControlKind kind = JControlKindDefaults("self-deleting");
    kind.draw = [](JControl*) {};
    switch (slot) {
        case 5:
            kind.draw = DeleteOnDraw;
            break;
        case 8:
            kind.mouseDown = DeleteOnDown;
            break;
        case 9:
            kind.mouseMoved = DeleteOnMove;
            break;
        default:
            kind.mouseUp = DeleteOnUp;
            break;
    }
    return kind;
}

void Hook(JControl*, void* data) {
    Events().push_back(static_cast<const char*>(data));
}

class Controls : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        Events().clear();
        window = OpenWindow(20, 20, 300, 200);
    }
    JWindow* window = nullptr;
};

TEST_F(Controls, NewControlIsHiddenEnabledAndSixteenSquare) {
    static const ControlKind kind = JControlKindDefaults("plain");
    JControl* control = JControlNew(&kind, window, 10, 10);
    EXPECT_FALSE(control->Visible());
    EXPECT_TRUE(control->Enabled());
    EXPECT_EQ(control->width, 16);
    EXPECT_EQ(control->height, 16);
}

TEST_F(Controls, PropertiesReplaceReadTestAndTake) {
    static const ControlKind kind = JControlKindDefaults("plain");
    JControl* control = JControlNew(&kind, window, 10, 10);
    JControlSetProperty(control, 7, 100);
    JControlSetProperty(control, 7, 200);
    JControlSetProperty(control, 9, 300);
    EXPECT_EQ(JControlGetProperty(control, 7), 200);
    EXPECT_EQ(JControlGetProperty(control, 8), 0);
    EXPECT_TRUE(JControlHasProperty(control, 9));
    EXPECT_EQ(JControlTakeProperty(control, 9), 300);
    EXPECT_FALSE(JControlHasProperty(control, 9));
    EXPECT_EQ(JControlTakeProperty(control, 9), 0);
}

TEST_F(Controls, ReleaseHooksRunLastAddedFirstOnce) {
    static const ControlKind kind = JControlKindDefaults("plain");
    JControl* control = JControlNew(&kind, window, 10, 10);
    static char first[] = "first";
    static char second[] = "second";
    static char removed[] = "removed";
    JControlAddReleaseHook(control, Hook, first);
    JControlAddReleaseHook(control, Hook, removed);
    JControlAddReleaseHook(control, Hook, second);
    JControlRemoveReleaseHook(control, Hook, removed);
    JControlDelete(control);
    JControlDelete(control);
    EXPECT_EQ(Events(), (std::vector<std::string>{"second", "first"}));
}

TEST_F(Controls, PressGoesToTheFrontmostControlUnderThePoint) {
    static ControlKind kind = JControlKindDefaults("recording");
    kind.mouseDown = [](JControl* control, const JMouseEvent&) {
        Events().push_back(std::to_string(control->left));
    };
    JControl* back = JControlNew(&kind, window, 10, 10);
    JControl* front = JControlNew(&kind, window, 11, 11);
    JControlResize(back, 40, 40);
    JControlResize(front, 40, 40);
    JControlShow(back);
    JControlShow(front);
    Click(window, 20, 20);
    Click(window, 10, 10);
    JControlEnable(front, false);
    Click(window, 20, 20);
    EXPECT_EQ(Events(), (std::vector<std::string>{"11", "10", "10"}));
}

struct SelfDeletion {
    int slot;
    Victim victim;
};

class SelfDeletingControl : public Controls, public testing::WithParamInterface<SelfDeletion> {};

TEST_P(SelfDeletingControl, DeletesItselfOrItsWindowSafely) {
    TheVictim = GetParam().victim;
    // Kinds outlive their controls, which go at the end of the test.
    static std::map<int, ControlKind> kinds;
    kinds[GetParam().slot] = KindDeletingIn(GetParam().slot);
    const ControlKind& kind = kinds[GetParam().slot];
    JControl* control = JControlNew(&kind, window, 10, 10);
    JControlResize(control, 50, 30);
    JControlShow(control);
    const JPoint inside = At(window, 20, 20);  // the window may be gone later
    if (GetParam().slot == 5) {
        Settle();
    } else if (GetParam().slot == 9) {
        Drag(window, 20, 20, 40, 25);
    } else {
        Click(window, 20, 20);
    }
    // The record is freed once the step is over: only the handler saw it.
    EXPECT_EQ(Events(), std::vector<std::string>{"deleted"});
    (void)control;
    // Further input meets neither the control nor (maybe) the window.
    JHeadlessClick(inside.x, inside.y);
    Settle();
    EXPECT_EQ(Events().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    DrawPressMoveRelease, SelfDeletingControl,
    testing::Values(SelfDeletion{5, Victim::Control}, SelfDeletion{5, Victim::Window},
                    SelfDeletion{8, Victim::Control}, SelfDeletion{8, Victim::Window},
                    SelfDeletion{9, Victim::Control}, SelfDeletion{9, Victim::Window},
                    SelfDeletion{10, Victim::Control}, SelfDeletion{10, Victim::Window}));

void DeleteButtonWindow(JControl* button) {
    Events().push_back("pressed");
    JWindowDestroy(button->owner);
}

void DeleteButtonItself(JControl* button) {
    Events().push_back("pressed");
    JControlDelete(button);
}

TEST_F(Controls, PushButtonActionDeletesItsWindow) {
    JControl* button = JControlNew(JPushButtonKind(), window, 20, 20);
    JButtonSetLabel(button, "Close");
    JButtonSetAction(button, DeleteButtonWindow);
    JControlShow(button);
    Settle();
    Click(window, 30, 30);
    EXPECT_EQ(Events(), std::vector<std::string>{"pressed"});
    EXPECT_EQ(JWindowCount(), 0);
}

TEST_F(Controls, PushButtonActionDeletesItself) {
    JControl* button = JControlNew(JPushButtonKind(), window, 20, 20);
    JButtonSetAction(button, DeleteButtonItself);
    JControlShow(button);
    Settle();
    Click(window, 30, 30);
    Click(window, 30, 30);
    EXPECT_EQ(Events(), std::vector<std::string>{"pressed"});
}

void EntryDeletesWindow(JControl* field, const JKeyRecord*) {
    Events().push_back(JEditFieldText(field));
    JWindowDestroy(field->owner);
}

TEST_F(Controls, EditFieldEntryHandlerDeletesItsWindow) {
    JControl* field = JControlNew(JEditFieldKind(), window, 20, 20);
    JEditFieldSetCallbacks(field, nullptr, EntryDeletesWindow);
    JControlShow(field);
    Settle();
    Click(window, 30, 28);
    JHeadlessTypeText("12");
    JHeadlessPressKey(kKeyReturn);
    Settle();
    EXPECT_EQ(Events(), std::vector<std::string>{"12"});
    EXPECT_EQ(JWindowCount(), 0);
}

TEST_F(Controls, TheCaretBlinksWhileAFieldIsEditedAndShowsOnTyping) {
    JControl* field = JControlNew(JEditFieldKind(), window, 20, 20);
    JControlShow(field);
    Settle();
    Click(window, 30, 28);
    Settle();
    ASSERT_TRUE(JEditCaretShown(field->platform));
    // Half a blink later it is off, a blink later on again.
    const auto idleFor = [](std::uint32_t milliseconds) {
        const std::uint32_t until = JTickCount() + milliseconds;
        while (static_cast<std::int32_t>(until - JTickCount()) > 0) {
            JEventStep(nullptr, true);  // sleeps on the headless clock
        }
    };
    idleFor(600);
    EXPECT_FALSE(JEditCaretShown(field->platform));
    idleFor(530);
    EXPECT_TRUE(JEditCaretShown(field->platform));
    idleFor(530);
    ASSERT_FALSE(JEditCaretShown(field->platform));
    JHeadlessTypeText("x");
    Settle();
    EXPECT_TRUE(JEditCaretShown(field->platform));
}

}  // namespace
