#include "app/shell/compatibility_chart.h"

#include "tests/app/shell/preferences_windows_fixture.h"

namespace {

Preferences Options(bool omit, bool excludeOrigin, bool smallFirst, bool interframe,
                    std::uint8_t band) {
    Preferences preferences{};
    preferences.omitFrameTerminators = omit;
    preferences.excludeOrigin = excludeOrigin;
    preferences.smallFirstFrameRectangle = smallFirst;
    preferences.useInterframeTransparency = interframe;
    preferences.transparencyBand = band;
    return preferences;
}

// --- the rules, without a window ---

TEST(CompatibilityRules, EstimateOfTheDefaultsAllOffAndAllOffWithASafeBand) {
    EXPECT_NEAR(EstimatedAudience(Options(true, true, true, true, 0)), 5427 * 100.0 / 10035, 1e-9);
    EXPECT_NEAR(EstimatedAudience(Options(true, true, true, true, 0)), 54.08, 0.005);
    EXPECT_NEAR(EstimatedAudience(Options(false, false, false, false, 0)), 80.01, 0.005);
    for (std::uint8_t band = 2; band < kTransparencyBandCount; ++band) {
        EXPECT_DOUBLE_EQ(EstimatedAudience(Options(false, false, false, false, band)), 100.0);
    }
    EXPECT_LT(EstimatedAudience(Options(false, false, false, false, 1)), 100.0);
}

TEST(CompatibilityRules, CellsExistOnlyWhereTheBrowserDoes) {
    int cells = 0;
    for (int row = 0; row < kChartRows; ++row) {
        for (int column = 0; column < kChartColumns; ++column) {
            cells += ChartCellExists(row, column) ? 1 : 0;
        }
    }
    EXPECT_EQ(cells, 22);
    EXPECT_FALSE(ChartCellExists(kNetscape12, kOs2));
    EXPECT_FALSE(ChartCellExists(kExplorer2, kWindows));
    EXPECT_FALSE(ChartCellExists(kExplorer4, kMac));
    EXPECT_TRUE(ChartCellExists(kNetscape2, kOs2));
    EXPECT_FALSE(ChartCellExists(kChartRows, kMac));
    EXPECT_FALSE(ChartCellCompatible(kExplorer4, kMac, Options(false, false, false, false, 6)));
}

TEST(CompatibilityRules, EachOptionRulesOutItsBrowsers) {
    const Preferences none = Options(false, false, false, false, 2);
    EXPECT_FALSE(ChartCellCompatible(kExplorer4, kWindows, Options(true, false, false, false, 2)));
    EXPECT_FALSE(ChartCellCompatible(kExplorer3, kWindows, Options(true, false, false, false, 2)));
    EXPECT_FALSE(ChartCellCompatible(kExplorer2, kMac, Options(false, true, false, false, 2)));
    EXPECT_FALSE(
        ChartCellCompatible(kNaiveUtilities, kUnix, Options(false, true, false, false, 2)));
    EXPECT_FALSE(ChartCellCompatible(kNetscape12, kMac, Options(false, false, true, false, 2)));
    EXPECT_FALSE(ChartCellCompatible(kExplorer3, kMac, Options(false, false, true, false, 2)));
    EXPECT_FALSE(ChartCellCompatible(kNaiveUtilities, kMac, Options(false, false, false, true, 2)));
    EXPECT_FALSE(ChartCellCompatible(kNetscape3, kMac, Options(false, false, false, false, 1)));
    EXPECT_FALSE(ChartCellCompatible(kNetscape2, kMac, Options(false, false, true, false, 6)));
    // Omitting terminators leaves MSIE 3 on the Mac alone.
    EXPECT_TRUE(ChartCellCompatible(kExplorer3, kMac, Options(true, false, false, false, 2)));
    EXPECT_TRUE(ChartCellCompatible(kNetscape4, kMac, Options(true, true, true, true, 0)));
    EXPECT_TRUE(ChartCellCompatible(kNetscape3, kWindows, Options(true, true, true, true, 0)));
    EXPECT_TRUE(ChartCellCompatible(kNaiveUtilities, kOs2, none));
}

// --- the chart as the user sees and clicks it ---

using CompatibilityChart = PreferencesWindowsTest;

TEST_F(CompatibilityChart, DefaultsShowTheirMarksAndEstimate) {
    OpenChart();
    ASSERT_NE(CompatibilityChartWindow(), nullptr);
    EXPECT_EQ(CompatibilityChartWindow()->title, "Compatibility");
    EXPECT_EQ(Estimate(), "Estimated Audience: 54.1%");
    EXPECT_TRUE(ChartBoxChecked(kNetscape4, kMac));
    EXPECT_TRUE(ChartBoxChecked(kNetscape2, kOs2));
    EXPECT_FALSE(ChartBoxChecked(kNetscape12, kMac));
    EXPECT_FALSE(ChartBoxChecked(kNetscape3, kMac));
    EXPECT_FALSE(ChartBoxChecked(kExplorer4, kWindows));
    EXPECT_FALSE(ChartBoxChecked(kNaiveUtilities, kWindows));
    EXPECT_EQ(CompatibilityChartBox(kExplorer2, kWindows), nullptr);
}

TEST_F(CompatibilityChart, OptionsChangedInTheDialogShowInTheChartAtOnce) {
    OpenChart();
    for (PreferencesControl option :
         {PreferencesControl::OmitFrameTerminators, PreferencesControl::ExcludeOrigin,
          PreferencesControl::SmallFirstFrame}) {
        ClickControl(DialogControl(option));
    }
    EXPECT_TRUE(ChartBoxChecked(kExplorer4, kWindows));
    EXPECT_FALSE(ChartBoxChecked(kNaiveUtilities, kMac));
    // The last option that rules out the naive utilities.
    ClickControl(DialogControl(PreferencesControl::InterframeTransparency));
    for (int platform : {kMac, kWindows, kUnix, kOs2}) {
        EXPECT_TRUE(ChartBoxChecked(kNaiveUtilities, platform));
    }
    EXPECT_EQ(Estimate(), "Estimated Audience: 80.0%");
    Choose(DialogControl(PreferencesControl::TransparencyBand), 2);
    EXPECT_EQ(gPreferences.transparencyBand, 2);
    EXPECT_EQ(Estimate(), "Estimated Audience: 100.0%");
    EXPECT_TRUE(ChartBoxChecked(kNetscape2, kMac));
}

TEST_F(CompatibilityChart, CheckingNetscape2OnTheMacMakesItCompatibleAndUncheckingUndoes) {
    OpenChart();
    ClickChartBox(kNetscape2, kMac);
    EXPECT_FALSE(gPreferences.smallFirstFrameRectangle);
    EXPECT_EQ(gPreferences.transparencyBand, 2);
    EXPECT_TRUE(ChartBoxChecked(kNetscape2, kMac));
    EXPECT_TRUE(ChartBoxChecked(kNetscape12, kMac));
    // The dialog shows the change, and the settings file has it.
    EXPECT_EQ(JCheckGet(DialogControl(PreferencesControl::SmallFirstFrame)), 0);
    EXPECT_EQ(JChoiceSelectedIndex(DialogControl(PreferencesControl::TransparencyBand)), 2);
    EXPECT_EQ(Setting("Use a small rectangle for the first frame"), "No");
    EXPECT_EQ(Setting("Pick a transparency index from the"), "superlow");

    ClickChartBox(kNetscape2, kMac);
    EXPECT_EQ(gPreferences.transparencyBand, 0);
    EXPECT_FALSE(gPreferences.smallFirstFrameRectangle);
    EXPECT_FALSE(ChartBoxChecked(kNetscape2, kMac));
    EXPECT_EQ(Setting("Pick a transparency index from the"), "ultralow A");
}

TEST_F(CompatibilityChart, CheckingAMacNetscapeKeepsAHigherBand) {
    gPreferences.transparencyBand = 5;
    OpenChart();
    ClickChartBox(kNetscape2, kMac);
    EXPECT_EQ(gPreferences.transparencyBand, 5);
    EXPECT_TRUE(ChartBoxChecked(kNetscape2, kMac));
}

TEST_F(CompatibilityChart, ABrowserNoOptionAffectsStaysCheckedWithAMessage) {
    OpenChart();
    const int beeps = JHeadlessBeepCount();
    ClickChartBox(kNetscape3, kWindows);
    EXPECT_TRUE(ChartBoxChecked(kNetscape3, kWindows));
    EXPECT_EQ(JHeadlessBeepCount(), beeps + 1);
    JWindow* alert = Alert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(AlertFirstLine(alert).rfind("None of the GIF optimization options", 0), 0u);
    EXPECT_EQ(JAlertButton(alert, 1), nullptr);
    EXPECT_EQ(Setting("Omit frame terminators"), "<missing>") << "nothing changed, nothing saved";
    JHeadlessPressKey(kKeyReturn);
    Settle();
    EXPECT_EQ(Alert(), nullptr);
    EXPECT_EQ(Estimate(), "Estimated Audience: 54.1%");
}

TEST_F(CompatibilityChart, CheckingNaiveUtilitiesAnywhereChecksAllFourAndUncheckingGivesBackOne) {
    OpenChart();
    ClickChartBox(kNaiveUtilities, kUnix);
    for (int platform : {kMac, kWindows, kUnix, kOs2}) {
        EXPECT_TRUE(ChartBoxChecked(kNaiveUtilities, platform));
    }
    EXPECT_FALSE(gPreferences.omitFrameTerminators);
    EXPECT_FALSE(gPreferences.excludeOrigin);
    EXPECT_FALSE(gPreferences.smallFirstFrameRectangle);
    EXPECT_FALSE(gPreferences.useInterframeTransparency);
    EXPECT_EQ(Setting("Use interframe transparency"), "No");

    ClickChartBox(kNaiveUtilities, kMac);
    EXPECT_TRUE(gPreferences.useInterframeTransparency);
    EXPECT_FALSE(gPreferences.omitFrameTerminators);
    EXPECT_FALSE(ChartBoxChecked(kNaiveUtilities, kOs2));
    EXPECT_EQ(JCheckGet(DialogControl(PreferencesControl::InterframeTransparency)), 1);
}

TEST_F(CompatibilityChart, ExplorerBoxesTurnTheirOptionsOffAndOn) {
    OpenChart();
    ClickChartBox(kExplorer3, kWindows);
    EXPECT_FALSE(gPreferences.omitFrameTerminators);
    EXPECT_FALSE(gPreferences.smallFirstFrameRectangle);
    EXPECT_TRUE(ChartBoxChecked(kExplorer4, kWindows));
    ClickChartBox(kExplorer4, kWindows);
    EXPECT_TRUE(gPreferences.omitFrameTerminators);
    EXPECT_FALSE(ChartBoxChecked(kExplorer3, kWindows));
    ClickChartBox(kExplorer2, kMac);
    EXPECT_FALSE(gPreferences.excludeOrigin);
    ClickChartBox(kExplorer3, kMac);
    EXPECT_TRUE(gPreferences.smallFirstFrameRectangle);
    EXPECT_EQ(Setting("Exclude (0,0) from frame rectangles"), "No");
    EXPECT_EQ(Setting("Use a small rectangle for the first frame"), "Yes");
}

TEST_F(CompatibilityChart, MoreInfoExplainsTheChartAndThenTheEstimate) {
    OpenChart();
    ClickControl(CompatibilityChartMoreInfo());
    JWindow* about = Alert();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(AlertFirstLine(about), "The compatibility chart shows common browsers that support");
    JControl* moreInfo = JAlertButton(about, 1);
    ASSERT_NE(moreInfo, nullptr);
    EXPECT_STREQ(JButtonLabel(moreInfo), "More Info");
    // The message runs on from the first text into the second.
    bool joined = false;
    for (int line = 0; JMultiLineLabelLine(JAlertMessage(about), line) != nullptr; ++line) {
        joined = joined || std::string(JMultiLineLabelLine(JAlertMessage(about), line)) ==
                               "of the GIF optimization options. For transparent animations,";
    }
    EXPECT_TRUE(joined);
    ClickControl(moreInfo);
    JWindow* estimate = Alert();
    ASSERT_NE(estimate, nullptr);
    EXPECT_NE(estimate, about);
    EXPECT_EQ(AlertFirstLine(estimate),
              "The estimated audience is based on statistics of the browsers");
    EXPECT_EQ(JAlertButton(estimate, 1), nullptr);
    ClickControl(JAlertButton(estimate, 0));
    EXPECT_EQ(Alert(), nullptr);
}

TEST_F(CompatibilityChart, OkEndsTheExplanationWithoutTheSecondAlert) {
    OpenChart();
    ClickControl(CompatibilityChartMoreInfo());
    ASSERT_NE(Alert(), nullptr);
    ClickControl(JAlertButton(Alert(), 0));
    EXPECT_EQ(Alert(), nullptr);
}

// --- where the chart goes, and how it goes ---

int OuterLeft(const JWindow* window) {
    return window->left - window->borderLeft;
}
int OuterRight(const JWindow* window) {
    return window->left + window->width + window->borderRight;
}

TEST_F(CompatibilityChart, OpensBesideTheDialogTopAligned) {
    OpenDialog();
    JWindow* dialog = PreferencesDialogWindow();
    JWindowMoveTo(dialog, 40, 60);
    ClickControl(DialogControl(PreferencesControl::Compatibility));
    JWindow* chart = CompatibilityChartWindow();
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(OuterLeft(chart), OuterRight(dialog) + 5);
    EXPECT_EQ(chart->top - chart->borderTop, dialog->top - dialog->borderTop);
    EXPECT_EQ(dialog->left, 40);
}

TEST_F(CompatibilityChart, TheDialogMovesLeftToMakeRoom) {
    OpenDialog();
    JWindow* dialog = PreferencesDialogWindow();
    JWindowMoveTo(dialog, 300, 60);
    ClickControl(DialogControl(PreferencesControl::Compatibility));
    JWindow* chart = CompatibilityChartWindow();
    ASSERT_NE(chart, nullptr);
    EXPECT_LT(dialog->left, 300);
    EXPECT_EQ(OuterRight(chart), JDeskRect().right - 5);
    EXPECT_EQ(OuterLeft(chart), OuterRight(dialog) + 5);
    EXPECT_EQ(dialog->top, 60);
}

TEST_F(CompatibilityChart, TheDialogGoesNoFurtherThanTheLeftEdge) {
    JMainFramePlace(JRect{0, 0, 500, 600});
    Settle();
    OpenDialog();
    JWindow* dialog = PreferencesDialogWindow();
    ClickControl(DialogControl(PreferencesControl::Compatibility));
    EXPECT_EQ(OuterLeft(dialog), 5);
    EXPECT_EQ(OuterLeft(CompatibilityChartWindow()), OuterRight(dialog) + 5);
}

TEST_F(CompatibilityChart, OpeningAgainKeepsTheOneChart) {
    OpenChart();
    JWindow* chart = CompatibilityChartWindow();
    ClickChartBox(kNetscape12, kMac);
    ClickControl(DialogControl(PreferencesControl::Compatibility));
    EXPECT_EQ(CompatibilityChartWindow(), chart);
    EXPECT_TRUE(ChartBoxChecked(kNetscape12, kMac));
}

TEST_F(CompatibilityChart, GoesWithTheDialogOrAloneByItsCloseBox) {
    OpenChart();
    ASSERT_TRUE(JWindowClose(CompatibilityChartWindow()));
    Settle();
    EXPECT_EQ(CompatibilityChartWindow(), nullptr);
    EXPECT_NE(PreferencesDialogWindow(), nullptr);
    RefreshCompatibilityChart();  // closed: nothing to do

    ClickControl(DialogControl(PreferencesControl::Compatibility));
    ASSERT_NE(CompatibilityChartWindow(), nullptr);
    ASSERT_TRUE(JWindowClose(PreferencesDialogWindow()));
    Settle();
    EXPECT_EQ(PreferencesDialogWindow(), nullptr);
    EXPECT_EQ(CompatibilityChartWindow(), nullptr);
}

}  // namespace
