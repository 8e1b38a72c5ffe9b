// The edit target: the one object that the Edit menu's Cut, Copy and Paste
// act on (a text field while it is being edited), the edit commands that are
// enabled for it, and the hooks through which the menus take command-key
// shortcuts and commit the field being edited before they run a command.
#pragma once

#include <cstdint>

#include "framework/ui/windows.h"

constexpr unsigned kEditCut = 1;
constexpr unsigned kEditCopy = 2;
constexpr unsigned kEditPaste = 4;
// Told to a target as it gains or loses the role.
constexpr unsigned kEditTargetGained = 8;
constexpr unsigned kEditTargetLost = 16;

using JEditTargetCallback = void (*)(void* object, void* data, unsigned command);

struct JEditTarget {
    JEditTargetCallback callback = nullptr;
    void* object = nullptr;
    void* data = nullptr;
};

// Tells the old target it lost the role, hands it back in `previous` (may be
// null), installs the new one (null for none) and tells it it gained the
// role. Setting none disables the edit commands.
void JSetEditTarget(const JEditTarget* target, JEditTarget* previous);
const JEditTarget* JCurrentEditTarget();  // null when none
// Cut, Copy or Paste on the current target; nothing without one.
void JEditCommand(unsigned command);

// The edit commands the Edit menu shows enabled, and whoever shows them.
void JSetEnabledEditCommands(unsigned mask);
unsigned JEnabledEditCommands();
using JEditCommandsListener = void (*)(unsigned mask);
void JSetEditCommandsListener(JEditCommandsListener listener);

// The menus install these: the first is offered every key with the command
// modifier before a control sees it (true: the key is used up); the second
// commits the field being edited (its entry handler runs).
using JShortcutHandler = bool (*)(const JKeyRecord& key);
void JSetShortcutHandler(JShortcutHandler handler);
bool JOfferShortcut(const JKeyRecord& key);
using JCommitHandler = void (*)();
void JSetCommitHandler(JCommitHandler handler);
void JCommitEditing();
