// The Preferences dialog: a selector of three pages (the compression options
// with the transparency band, the standard comment with the user name, and
// the start-up choice). Every change is stored in the preferences at once,
// written to the settings file and shown in the compatibility chart when it
// is open. The chart changes the same preferences through the setters below,
// so an open dialog always shows what the preferences hold.
#pragma once

#include <cstdint>

#include "framework/ui/windows.h"

// What the dialog needs from the windowed program.
struct PreferencesDialogHost {
    // Told after the dialog or its compatibility chart opens or closes, so
    // that the program can update what follows its front window (Close
    // Window). May be null.
    void (*windowsChanged)() = nullptr;
};

// The "Preferences..." command: opens the dialog on its first page, or
// brings the open dialog to the front with its page kept.
void OpenPreferencesDialog(const PreferencesDialogHost& host);
// Closes the dialog as its close box does; nothing when it is not open.
void ClosePreferencesDialog();

// The flags the dialog and the compatibility chart edit.
enum class PreferenceFlag {
    OmitFrameTerminators,
    ExcludeOrigin,
    SmallFirstFrame,
    InterframeTransparency,
    MergeUnchangedFrames,
    Thorough,
    ShowDepthWarning,
};

// Store a preference and, when the dialog shows its control, set the control
// without calling its handler. They do not write the settings file.
void SetPreferenceFlag(PreferenceFlag flag, bool on);
void SetTransparencyBandPreference(std::uint8_t band);  // above the last band: the last

enum class PreferencesPage { Optimization, Comments, Startup };

// The dialog and its controls, for tests and the screenshot tool: null when
// the dialog is closed or the control is not on the page shown.
enum class PreferencesControl {
    PageSelector,
    OmitFrameTerminators,
    ExcludeOrigin,
    SmallFirstFrame,
    InterframeTransparency,
    MergeUnchangedFrames,
    Thorough,
    TransparencyBand,
    Compatibility,
    UserName,
    CommentTemplate,
    ShowDepthWarning,
};
JWindow* PreferencesDialogWindow();
JControl* PreferencesDialogControl(PreferencesControl which);
PreferencesPage PreferencesDialogPage();
