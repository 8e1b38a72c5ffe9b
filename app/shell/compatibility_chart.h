// The compatibility chart: for common web browsers on four platforms, whether
// an animated GIF made with the current compression preferences is expected
// to show correctly, and the share of the audience that follows from it. It
// works both ways: the check marks follow the preferences, and a click on a
// box changes the preferences so that the browser becomes compatible (or,
// when unchecked, gives back the options that it rules out).
#pragma once

#include "app/shell/preferences.h"
#include "framework/ui/windows.h"

// Rows are browsers (0 NN 1.2 to 3 NN 4, 4 MSIE 2 to 6 MSIE 4, 7 the naive
// GIF utilities); columns are platforms (0 Mac, 1 Windows, 2 Unix, 3 OS/2).
constexpr int kChartRows = 8;
constexpr int kChartColumns = 4;

// The columns: platforms.
constexpr int kMac = 0;
constexpr int kWindows = 1;
constexpr int kUnix = 2;
constexpr int kOs2 = 3;

// The rows: browsers and their versions.
constexpr int kNetscape12 = 0;
constexpr int kNetscape2 = 1;
constexpr int kNetscape3 = 2;
constexpr int kNetscape4 = 3;
constexpr int kExplorer2 = 4;
constexpr int kExplorer3 = 5;
constexpr int kExplorer4 = 6;
constexpr int kNaiveUtilities = 7;

// Whether the browser of the row exists on the platform of the column.
bool ChartCellExists(int row, int column);
// Whether that browser shows a file made with these preferences correctly.
bool ChartCellCompatible(int row, int column, const Preferences& preferences);
// The share of the audience, in per cent, whose browser is compatible.
double EstimatedAudience(const Preferences& preferences);

// Opens the chart beside the Preferences dialog, moving the dialog left when
// the two would not fit side by side in the main window, or brings the open
// chart to the front. `windowsChanged` (may be null) is told when the chart
// goes.
void OpenCompatibilityChart(JWindow* preferencesDialog, void (*windowsChanged)());
// Sets the check marks and the estimate from the preferences again; nothing
// when the chart is closed.
void RefreshCompatibilityChart();
void CloseCompatibilityChart();

// The chart and its controls, for tests and the screenshot tool; null when
// the chart is closed (and for a box where no cell exists).
JWindow* CompatibilityChartWindow();
JControl* CompatibilityChartBox(int row, int column);
JControl* CompatibilityChartEstimate();
JControl* CompatibilityChartMoreInfo();
