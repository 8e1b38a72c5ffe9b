#include "app/shell/preferences_dialog.h"

#include "framework/core/strings.h"

#include "framework/ui/edit_fields.h"
#include "tests/app/shell/preferences_windows_fixture.h"

namespace {

using PreferencesDialog = PreferencesWindowsTest;

struct OptionBox {
    PreferencesControl control;
    bool Preferences::*preference;
    const char* key;
};

constexpr OptionBox kOptionBoxes[] = {
    {PreferencesControl::OmitFrameTerminators, &Preferences::omitFrameTerminators,
     "Omit frame terminators"},
    {PreferencesControl::ExcludeOrigin, &Preferences::excludeOrigin,
     "Exclude (0,0) from frame rectangles"},
    {PreferencesControl::SmallFirstFrame, &Preferences::smallFirstFrameRectangle,
     "Use a small rectangle for the first frame"},
    {PreferencesControl::InterframeTransparency, &Preferences::useInterframeTransparency,
     "Use interframe transparency"},
    {PreferencesControl::MergeUnchangedFrames, &Preferences::mergeUnchangedFrames,
     "Merge frames that change nothing"},
    {PreferencesControl::Thorough, &Preferences::thorough, "Try harder (slower)"},
};

const char* YesNo(bool value) {
    return value ? "Yes" : "No";
}

// --- opening ---

TEST_F(PreferencesDialog, OpensOnTheOptimizationPageShowingThePreferences) {
    gPreferences.excludeOrigin = false;
    gPreferences.thorough = true;
    gPreferences.transparencyBand = 4;
    OpenDialog();
    JWindow* dialog = PreferencesDialogWindow();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->title, "Preferences");
    EXPECT_GE(dialog->width, 430);
    EXPECT_GE(dialog->height, 250);
    EXPECT_EQ(PreferencesDialogPage(), PreferencesPage::Optimization);
    for (const OptionBox& option : kOptionBoxes) {
        ASSERT_NE(DialogControl(option.control), nullptr);
        EXPECT_EQ(JCheckGet(DialogControl(option.control)), gPreferences.*(option.preference))
            << option.key;
    }
    EXPECT_EQ(JChoiceSelectedIndex(DialogControl(PreferencesControl::TransparencyBand)), 4);
    EXPECT_STREQ(static_cast<const char*>(
                     JChoiceSelected(DialogControl(PreferencesControl::TransparencyBand))),
                 "medium");
    EXPECT_EQ(DialogControl(PreferencesControl::CommentTemplate), nullptr);
}

TEST_F(PreferencesDialog, TheCompatibilityButtonSitsInTheBottomRightCorner) {
    OpenDialog();
    const JWindow* dialog = PreferencesDialogWindow();
    const JControl* button = DialogControl(PreferencesControl::Compatibility);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->left + button->width, dialog->width - 10);
    EXPECT_EQ(button->top + button->height, dialog->height - 10);
    // Nothing of the page reaches into the button.
    const JControl* band = DialogControl(PreferencesControl::TransparencyBand);
    EXPECT_LT(band->top + band->height, button->top);
}

TEST_F(PreferencesDialog, PreferencesCommandAgainKeepsTheDialogAndItsPage) {
    OpenDialog();
    JWindow* dialog = PreferencesDialogWindow();
    Choose(DialogControl(PreferencesControl::PageSelector), 2);
    ASSERT_EQ(PreferencesDialogPage(), PreferencesPage::Startup);
    OpenDialog();
    EXPECT_EQ(PreferencesDialogWindow(), dialog);
    EXPECT_EQ(PreferencesDialogPage(), PreferencesPage::Startup);
}

int gWindowChanges = 0;
void CountWindowChanges() {
    ++gWindowChanges;
}

TEST_F(PreferencesDialog, TheProgramIsToldWhenItsWindowsComeAndGo) {
    gWindowChanges = 0;
    OpenDialog(PreferencesDialogHost{CountWindowChanges});
    EXPECT_EQ(gWindowChanges, 1);
    ClickControl(DialogControl(PreferencesControl::Compatibility));
    EXPECT_EQ(gWindowChanges, 2);
    ClosePreferencesDialog();
    Settle();
    EXPECT_EQ(gWindowChanges, 4);
    EXPECT_EQ(PreferencesDialogWindow(), nullptr);
}

// --- every change is saved at once ---

TEST_F(PreferencesDialog, EachOptionBoxChangesItsPreferenceAndTheSettingsFileAtOnce) {
    OpenDialog();
    for (const OptionBox& option : kOptionBoxes) {
        const bool before = gPreferences.*(option.preference);
        ClickControl(DialogControl(option.control));
        EXPECT_EQ(gPreferences.*(option.preference), !before) << option.key;
        EXPECT_EQ(Setting(option.key), YesNo(!before)) << option.key;
    }
}

TEST_F(PreferencesDialog, AChosenBandIsSavedAtOnce) {
    OpenDialog();
    Choose(DialogControl(PreferencesControl::TransparencyBand), 6);
    EXPECT_EQ(gPreferences.transparencyBand, 6);
    EXPECT_EQ(Setting("Pick a transparency index from the"), "ultrahigh");
}

TEST_F(PreferencesDialog, ChangesMadeInTheDialogAreThereAtTheNextStart) {
    OpenDialog();
    ClickControl(DialogControl(PreferencesControl::InterframeTransparency));
    ClickControl(DialogControl(PreferencesControl::Thorough));
    Choose(DialogControl(PreferencesControl::TransparencyBand), 3);
    // A new run: factory defaults, then the settings file.
    SetFactoryDefaults();
    SetSettingsDirectory(dir_.path().c_str());
    LoadSettings();
    EXPECT_FALSE(gPreferences.useInterframeTransparency);
    EXPECT_TRUE(gPreferences.thorough);
    EXPECT_EQ(gPreferences.transparencyBand, 3);
    EXPECT_TRUE(gPreferences.omitFrameTerminators);
}

TEST_F(PreferencesDialog, TheStartupPageEditsTheDepthWarning) {
    OpenDialog();
    Choose(DialogControl(PreferencesControl::PageSelector), 2);
    EXPECT_EQ(DialogControl(PreferencesControl::OmitFrameTerminators), nullptr);
    EXPECT_EQ(DialogControl(PreferencesControl::Compatibility), nullptr);
    JControl* warning = DialogControl(PreferencesControl::ShowDepthWarning);
    ASSERT_NE(warning, nullptr);
    EXPECT_EQ(JCheckGet(warning), 1);
    ClickControl(warning);
    EXPECT_FALSE(gPreferences.showDepthWarning);
    EXPECT_EQ(Setting("When appropriate, show depth warning on startup"), "No");
}

TEST_F(PreferencesDialog, SettersShowTheirChangeWithoutCallingTheHandlers) {
    OpenDialog();
    SetPreferenceFlag(PreferenceFlag::OmitFrameTerminators, false);
    SetTransparencyBandPreference(9);
    Settle();
    EXPECT_EQ(JCheckGet(DialogControl(PreferencesControl::OmitFrameTerminators)), 0);
    EXPECT_EQ(JChoiceSelectedIndex(DialogControl(PreferencesControl::TransparencyBand)), 6);
    EXPECT_EQ(gPreferences.transparencyBand, 6);
    EXPECT_EQ(Setting("Omit frame terminators"), "<missing>") << "the handlers would have saved";
}

// --- the comment page ---

TEST_F(PreferencesDialog, AnEditedTemplateIsKeptWhenTheDialogCloses) {
    OpenDialog();
    Choose(DialogControl(PreferencesControl::PageSelector), 1);
    JControl* field = DialogControl(PreferencesControl::CommentTemplate);
    ASSERT_NE(field, nullptr);
    EXPECT_STREQ(JEditFieldText(field), "Shrunk by NAME on DATE, using Pindle vVERSION.");
    ClickControl(field);
    JHeadlessPressKey(kKeyEnd);
    JHeadlessTypeText(" Thanks!");
    Settle();
    EXPECT_EQ(Setting("Standard GIF comment"), "<missing>") << "not yet committed";
    ASSERT_TRUE(JWindowClose(PreferencesDialogWindow()));
    Settle();
    EXPECT_STREQ(gPreferences.commentTemplate,
                 "Shrunk by NAME on DATE, using Pindle vVERSION. Thanks!");
    EXPECT_EQ(Setting("Standard GIF comment"),
              "Shrunk by NAME on DATE, using Pindle vVERSION. Thanks!");
}

TEST_F(PreferencesDialog, TheTemplateIsSavedWhenItsEntryEnds) {
    OpenDialog();
    Choose(DialogControl(PreferencesControl::PageSelector), 1);
    TypeInto(DialogControl(PreferencesControl::CommentTemplate), " (NAME)");
    EXPECT_STREQ(gPreferences.commentTemplate,
                 "Shrunk by NAME on DATE, using Pindle vVERSION. (NAME)");
    EXPECT_EQ(Setting("Standard GIF comment"),
              "Shrunk by NAME on DATE, using Pindle vVERSION. (NAME)");
}

TEST_F(PreferencesDialog, AnEditIsKeptWhenAnotherPageIsChosen) {
    OpenDialog();
    Choose(DialogControl(PreferencesControl::PageSelector), 1);
    ClickControl(DialogControl(PreferencesControl::CommentTemplate));
    JHeadlessPressKey(kKeyEnd);
    JHeadlessTypeText("!");
    Settle();
    Choose(DialogControl(PreferencesControl::PageSelector), 0);
    EXPECT_STREQ(gPreferences.commentTemplate, "Shrunk by NAME on DATE, using Pindle vVERSION.!");
    Choose(DialogControl(PreferencesControl::PageSelector), 1);
    EXPECT_STREQ(JEditFieldText(DialogControl(PreferencesControl::CommentTemplate)),
                 "Shrunk by NAME on DATE, using Pindle vVERSION.!");
}

TEST_F(PreferencesDialog, TheUserNameIsTakenWhenItsEntryEnds) {
    JStrFree(gPreferences.userName);  // the account's name by default
    gPreferences.userName = JStrDup("");
    OpenDialog();
    Choose(DialogControl(PreferencesControl::PageSelector), 1);
    JControl* name = DialogControl(PreferencesControl::UserName);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(JEditFieldText(name), "");
    TypeInto(name, "Ada Lovelace", kKeyReturn);
    EXPECT_STREQ(gPreferences.userName, "Ada Lovelace");
    ClosePreferencesDialog();
    Settle();
    OpenDialog();
    Choose(DialogControl(PreferencesControl::PageSelector), 1);
    EXPECT_STREQ(JEditFieldText(DialogControl(PreferencesControl::UserName)), "Ada Lovelace");
}

TEST_F(PreferencesDialog, ALongTemplateStaysInsideTheDialog) {
    OpenDialog();
    Choose(DialogControl(PreferencesControl::PageSelector), 1);
    JControl* field = DialogControl(PreferencesControl::CommentTemplate);
    const int width = field->width;
    TypeInto(field, " and a great deal more text than the field has room to show on one line");
    EXPECT_EQ(field->width, width);
    EXPECT_LE(field->left + field->width, PreferencesDialogWindow()->width);
}

}  // namespace
