#include "framework/ui/edit_target.h"

namespace {

struct EditTargetState {
    JEditTarget target;
    bool hasTarget = false;
    unsigned enabled = 0;
    JEditCommandsListener listener = nullptr;
    JShortcutHandler shortcuts = nullptr;
    JCommitHandler commit = nullptr;
};

EditTargetState& State() {
    static EditTargetState state;
    return state;
}

void Tell(const JEditTarget& target, unsigned command) {
    if (target.callback != nullptr) {
        target.callback(target.object, target.data, command);
    }
}

}  // namespace

void JSetEditTarget(const JEditTarget* target, JEditTarget* previous) {
    EditTargetState& state = State();
    const JEditTarget old = state.hasTarget ? state.target : JEditTarget{};
    if (state.hasTarget) {
        Tell(old, kEditTargetLost);
    }
    if (previous != nullptr) {
        *previous = old;
    }
    state.hasTarget = target != nullptr && target->callback != nullptr;
    state.target = state.hasTarget ? *target : JEditTarget{};
    if (state.hasTarget) {
        Tell(state.target, kEditTargetGained);
    } else {
        JSetEnabledEditCommands(0);
    }
}

const JEditTarget* JCurrentEditTarget() {
    return State().hasTarget ? &State().target : nullptr;
}

void JEditCommand(unsigned command) {
    if (State().hasTarget) {
        Tell(State().target, command);
    }
}

void JSetEnabledEditCommands(unsigned mask) {
    EditTargetState& state = State();
    state.enabled = mask & (kEditCut | kEditCopy | kEditPaste);
    if (state.listener != nullptr) {
        state.listener(state.enabled);
    }
}

unsigned JEnabledEditCommands() {
    return State().enabled;
}

void JSetEditCommandsListener(JEditCommandsListener listener) {
    State().listener = listener;
}

void JSetShortcutHandler(JShortcutHandler handler) {
    State().shortcuts = handler;
}

bool JOfferShortcut(const JKeyRecord& key) {
    const JShortcutHandler handler = State().shortcuts;
    return (key.modifiers & kUiCommand) != 0 && handler != nullptr && handler(key);
}

void JSetCommitHandler(JCommitHandler handler) {
    State().commit = handler;
}

void JCommitEditing() {
    if (State().commit != nullptr) {
        State().commit();
    }
}
