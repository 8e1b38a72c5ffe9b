#include "app/shell/compatibility_chart.h"
#include "app/shell/window_parts.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/shell/preferences_dialog.h"
#include "framework/core/format.h"
#include "framework/core/string_lists.h"
#include "framework/ui/alerts.h"
#include "framework/ui/border_boxes.h"
#include "framework/ui/check_boxes.h"
#include "framework/ui/control_drawing.h"
#include "framework/ui/labels.h"
#include "framework/ui/layout_boxes.h"
#include "framework/ui/main_frame.h"
#include "framework/ui/multi_line_labels.h"
#include "framework/ui/push_buttons.h"
#include "framework/ui/spacers.h"
#include "framework/ui/static_texts.h"

namespace {

// Application text indexes.
constexpr std::uint16_t kTextTitle = 249;
constexpr std::uint16_t kTextFirstPlatform = 250;
constexpr std::uint16_t kTextFirstBrowser = 254;
constexpr std::uint16_t kTextEstimate = 262;
constexpr std::uint16_t kTextMoreInfoButton = 268;
constexpr std::uint16_t kTextAboutStart = 269;
constexpr std::uint16_t kTextAboutEnd = 270;
constexpr std::uint16_t kTextAboutMoreInfo = 271;
constexpr std::uint16_t kTextAboutOk = 272;
constexpr std::uint16_t kTextAboutEstimate = 273;
constexpr std::uint16_t kTextAboutEstimateOk = 274;
constexpr std::uint16_t kTextNote = 275;
constexpr std::uint16_t kTextNotAffected = 276;
constexpr std::uint16_t kTextNotAffectedOk = 277;

constexpr int kChildWindowClass = 203;

// The smallest band that the Mac versions of NN 2 and NN 3 handle.
constexpr std::uint8_t kSafeMacBand = 2;

// Relative visitor counts of each browser on each platform; a browser that
// does not exist on a platform weighs 0.
constexpr int kWeights[kChartRows][kChartColumns] = {
    {0, 51, 3, 0}, {245, 588, 46, 23}, {1761, 3937, 270, 2}, {55, 432, 20, 0},
    {33, 0, 0, 0}, {77, 2196, 0, 0},   {0, 296, 0, 0},       {0, 0, 0, 0},
};
// Which platforms each browser exists on: bit 3 the Mac down to bit 0 OS/2.
constexpr std::uint8_t kCellMasks[kChartRows] = {0b1110, 0b1111, 0b1111, 0b1110,
                                                 0b1000, 0b1100, 0b0100, 0b1111};

// A box is known by row x 256 + column.
constexpr int BoxId(int row, int column) {
    return row * 256 + column;
}

// Room around the grid's texts, and the gap before the MSIE and the naive
// utilities groups.
constexpr int kColumnPadding = 12;
constexpr int kLabelGap = 10;
constexpr int kGroupGap = 15;
constexpr int kBorder = 5;
constexpr int kGap = 6;

struct Chart {
    JWindow* window = nullptr;
    JControl* boxes[kChartRows][kChartColumns] = {};
    JControl* estimate = nullptr;
    JControl* moreInfo = nullptr;
    void (*windowsChanged)() = nullptr;
};

std::unique_ptr<Chart>& TheChart() {
    static std::unique_ptr<Chart> chart;
    return chart;
}

// --- the rules ---

int TotalWeight() {
    int total = 0;
    for (const auto& row : kWeights) {
        for (int weight : row) {
            total += weight;
        }
    }
    return total;
}

void SetBand(std::uint8_t band) {
    SetTransparencyBandPreference(band);
}

void RaiseBandToSafeMacBand() {
    if (gPreferences.transparencyBand < kSafeMacBand) {
        SetBand(kSafeMacBand);
    }
}

// Changes the preferences for a box the user checked or unchecked; false for
// a browser that no option affects.
bool ApplyBoxChange(int id, bool checked) {
    switch (id) {
        case BoxId(kNetscape12, kMac):
        case BoxId(kExplorer3, kMac):
            SetPreferenceFlag(PreferenceFlag::SmallFirstFrame, !checked);
            return true;
        case BoxId(kNetscape2, kMac):
            if (checked) {
                SetPreferenceFlag(PreferenceFlag::SmallFirstFrame, false);
                RaiseBandToSafeMacBand();
            } else {
                SetBand(0);
            }
            return true;
        case BoxId(kNetscape3, kMac):
            if (checked) {
                RaiseBandToSafeMacBand();
            } else {
                SetBand(0);
            }
            return true;
        case BoxId(kExplorer2, kMac):
            SetPreferenceFlag(PreferenceFlag::ExcludeOrigin, !checked);
            return true;
        case BoxId(kExplorer3, kWindows):
            SetPreferenceFlag(PreferenceFlag::OmitFrameTerminators, !checked);
            if (checked) {
                SetPreferenceFlag(PreferenceFlag::SmallFirstFrame, false);
            }
            return true;
        case BoxId(kExplorer4, kWindows):
            SetPreferenceFlag(PreferenceFlag::OmitFrameTerminators, !checked);
            return true;
        case BoxId(kNaiveUtilities, kMac):
        case BoxId(kNaiveUtilities, kWindows):
        case BoxId(kNaiveUtilities, kUnix):
        case BoxId(kNaiveUtilities, kOs2):
            if (checked) {
                SetPreferenceFlag(PreferenceFlag::OmitFrameTerminators, false);
                SetPreferenceFlag(PreferenceFlag::SmallFirstFrame, false);
                SetPreferenceFlag(PreferenceFlag::ExcludeOrigin, false);
            }
            SetPreferenceFlag(PreferenceFlag::InterframeTransparency, !checked);
            return true;
        default:
            return false;
    }
}

// --- the window ---

void BoxClicked(JControl* box, int checked);

// The property that holds a box's identifier is keyed by the boxes' handler.
std::uintptr_t BoxIdKey() {
    return reinterpret_cast<std::uintptr_t>(&BoxClicked);
}

void BoxClicked(JControl* box, int checked) {
    const int id = static_cast<int>(JControlGetProperty(box, BoxIdKey()));
    if (!ApplyBoxChange(id, checked != 0)) {
        JCheckSet(box, 1, false);
        JBeep();
        JTellSimply(IJString(kTextNotAffected), IJString(kTextNotAffectedOk));
        return;
    }
    RefreshCompatibilityChart();
    SaveSettings();
}

void AboutEstimate(void*, bool firstButton) {
    if (!firstButton) {
        JTell(AlertKind::Information, IJString(kTextAboutEstimate), IJString(kTextAboutEstimateOk),
              nullptr, nullptr, nullptr);
    }
}

void MoreInfoPressed(JControl*) {
    const char* about = JFormatTemp("%s%%s%", IJString(kTextAboutStart), IJString(kTextAboutEnd));
    JTell(AlertKind::Information, about, IJString(kTextAboutOk), IJString(kTextAboutMoreInfo),
          AboutEstimate, nullptr);
}

// The record goes with the window, however the window goes.
void ForgetChart(JControl*, void*) {
    const auto windowsChanged = TheChart()->windowsChanged;
    TheChart().reset();
    if (windowsChanged != nullptr) {
        windowsChanged();
    }
}

bool MayClose(JWindow*, const JHandlerEvent&) {
    return true;
}

// A cell of the grid: a fixed-size row box with one control in its middle.
JControl* NewCell(JControl* row, int width, int height) {
    JControl* cell = NewBox(row, kBoxRow, kAlignCentre, 0);
    JBoxSetPacked(cell, false);
    JBoxSetSpreadAround(cell, true);
    JControlResize(cell, width, height);
    return cell;
}

JControl* NewText(JControl* parent, const char* text, int style, int width) {
    JControl* label = JControlNewIn(JStaticTextKind(), parent, 0, 0);
    JStaticTextSet(label, text);
    JStaticTextSetStyle(label, style);
    JControlShow(label);
    JControlResize(label, width, 0);
    return label;
}

// Width of the widest line and height of all lines of a text.
void MeasureLines(const char* text, int* width, int* height) {
    *width = 0;
    *height = 0;
    std::string_view rest = text;
    while (true) {
        const std::size_t end = rest.find('\n');
        const std::string line(rest.substr(0, end));
        int lineWidth = 0;
        int lineHeight = 0;
        JUiMeasureText(line.c_str(), &lineWidth, &lineHeight);
        *width = std::max(*width, lineWidth);
        *height += lineHeight;
        if (end == std::string_view::npos) {
            return;
        }
        rest.remove_prefix(end + 1);
    }
}

struct GridSizes {
    int versionsWidth = 0;  // the widest one-line browser label
    int labelWidth = 0;
    int columnWidth = 0;
    int rowHeight = 0;
    int naiveRowHeight = 0;
};

// The height of a check box without a label.
int CheckBoxHeight(JWindow* window) {
    JControl* probe = JControlNew(JCheckBoxKind(), window, 0, 0);
    int width = 0;
    int height = 0;
    JControlNaturalSize(probe, &width, &height);
    JControlDelete(probe);
    return height;
}

GridSizes MeasureGrid(JWindow* window) {
    GridSizes sizes;
    for (int row = 0; row < kChartRows; ++row) {
        int width = 0;
        int height = 0;
        MeasureLines(IJString(kTextFirstBrowser + row), &width, &height);
        sizes.labelWidth = std::max(sizes.labelWidth, width);
        if (row == kNaiveUtilities) {
            sizes.naiveRowHeight = height;
        } else {
            sizes.versionsWidth = std::max(sizes.versionsWidth, width);
        }
    }
    sizes.labelWidth += kLabelGap;
    for (int column = 0; column < kChartColumns; ++column) {
        sizes.columnWidth =
            std::max(sizes.columnWidth, TextWidth(IJString(kTextFirstPlatform + column)));
    }
    sizes.columnWidth += kColumnPadding;
    sizes.rowHeight = CheckBoxHeight(window);
    sizes.naiveRowHeight = std::max(sizes.naiveRowHeight, sizes.rowHeight);
    return sizes;
}

void BuildHeadings(JControl* grid, const GridSizes& sizes) {
    JControl* row = NewBox(grid, kBoxRow, kAlignCentre, 0);
    JControl* corner = JControlNewIn(JSpacerKind(), row, 0, 0);
    JControlShow(corner);
    JControlResize(corner, sizes.labelWidth, 1);
    for (int column = 0; column < kChartColumns; ++column) {
        NewText(row, IJString(kTextFirstPlatform + column), 1, sizes.columnWidth);
    }
    JControlResize(row, 0, 0);
}

// Browser names start at the label column's left edge. One-line labels are
// right-aligned over the widest of them, so that the version numbers of a
// browser line up under its first one; the two-line label keeps its own
// indentation.
void BuildRowLabel(JControl* row, int browser, const GridSizes& sizes, int height) {
    const char* text = IJString(kTextFirstBrowser + browser);
    JControl* cell = NewBox(row, kBoxRow, kAlignCentre, 0);
    if (browser == kNaiveUtilities) {
        JControl* label = JControlNewIn(JMultiLineLabelKind(), cell, 0, 0);
        JControlShow(label);
        JMultiLineLabelSetText(label, text, 0);
    } else {
        NewText(cell, text, 2, sizes.versionsWidth);
    }
    JControlResize(cell, sizes.labelWidth, height);
}

void BuildBrowserRow(Chart& chart, JControl* grid, int browser, const GridSizes& sizes) {
    if (browser == kExplorer2 || browser == kNaiveUtilities) {
        JControl* gap = JControlNewIn(JSpacerKind(), grid, 0, 0);
        JControlShow(gap);
        JControlResize(gap, 1, kGroupGap);
    }
    JControl* row = NewBox(grid, kBoxRow, kAlignCentre, 0);
    const int height = browser == kNaiveUtilities ? sizes.naiveRowHeight : sizes.rowHeight;
    BuildRowLabel(row, browser, sizes, height);
    for (int column = 0; column < kChartColumns; ++column) {
        JControl* cell = NewCell(row, sizes.columnWidth, height);
        if (!ChartCellExists(browser, column)) {
            continue;
        }
        JControl* box = JControlNewIn(JCheckBoxKind(), cell, 0, 0);
        JControlSetProperty(box, BoxIdKey(), BoxId(browser, column));
        JCheckSetCallback(box, BoxClicked);
        JControlShow(box);
        JControlResize(box, 0, 0);
        chart.boxes[browser][column] = box;
    }
    JControlResize(row, 0, 0);
}

JControl* BuildGrid(Chart& chart, JControl* column) {
    JControl* grid = NewBox(column, kBoxColumn, kAlignStart, 0);
    const GridSizes sizes = MeasureGrid(chart.window);
    BuildHeadings(grid, sizes);
    for (int browser = 0; browser < kChartRows; ++browser) {
        BuildBrowserRow(chart, grid, browser, sizes);
    }
    JControlResize(grid, 0, 0);
    return grid;
}

// An etched line across the content.
void AddRule(JControl* column, int width) {
    JControl* rule = JControlNewIn(JBorderBoxKind(), column, 0, 0);
    JBorderBoxSetSides(rule, 0, 3, 0, 6);
    JControlShow(rule);
    JControlResize(rule, width, 2);
}

void BuildContents(Chart& chart) {
    JControl* column = JControlNew(JLayoutBoxKind(), chart.window, kBorder, kBorder);
    JBoxSetFramed(column, false);
    JBoxSetLayout(column, kBoxColumn, kAlignStart);
    JBoxSetPacked(column, true);
    JBoxSetSpacing(column, kGap);
    JControlShow(column);

    const JControl* grid = BuildGrid(chart, column);
    // A little more room between the grid and what is said about it.
    JControl* gap = JControlNewIn(JSpacerKind(), column, 0, 0);
    JControlShow(gap);
    JControlResize(gap, 1, 1);
    chart.estimate = JControlNewIn(JLabelKind(), column, 0, 0);
    JLabelSetFramed(chart.estimate, false);
    JControlAddReleaseHook(chart.estimate, ForgetChart, nullptr);
    JControlShow(chart.estimate);
    AddRule(column, grid->width);
    JControl* note = JControlNewIn(JMultiLineLabelKind(), column, 0, 0);
    JControlShow(note);
    JMultiLineLabelSetText(note, IJString(kTextNote), grid->width);

    JControl* buttonRow = NewBox(column, kBoxRow, kAlignCentre, 0);
    JBoxSetPacked(buttonRow, false);
    JBoxSetSpreadAround(buttonRow, false);
    chart.moreInfo = JControlNewIn(JPushButtonKind(), buttonRow, 0, 0);
    JButtonSetLabel(chart.moreInfo, IJString(kTextMoreInfoButton));
    JButtonSetAction(chart.moreInfo, MoreInfoPressed);
    JControlShow(chart.moreInfo);
    JControlResize(chart.moreInfo, 0, 0);
    JControlResize(buttonRow, grid->width, 0);

    RefreshCompatibilityChart();
    JControlResize(column, 0, 0);
    JWindowResize(chart.window, column->width + 2 * kBorder, column->height + 2 * kBorder);
}

int OuterRight(const JWindow* window) {
    return window->left + window->width + window->borderRight;
}

// Beside the dialog, top-aligned with it, 5 pixels from its right edge; the
// dialog first moves left when the chart would come closer than 5 pixels to
// the main window's right edge.
void PlaceBeside(JWindow* chart, JWindow* dialog) {
    const JRect desk = JDeskRect();
    const int chartOuterWidth = chart->borderLeft + chart->width + chart->borderRight;
    const int excess = OuterRight(dialog) + kBorder + chartOuterWidth - (desk.right - kBorder);
    if (excess > 0) {
        const int outerLeft = std::max(dialog->left - dialog->borderLeft - excess,
                                       static_cast<int>(desk.left) + kBorder);
        JWindowMoveTo(dialog, outerLeft + dialog->borderLeft, dialog->top);
    }
    const int outerTop = dialog->top - dialog->borderTop;
    JWindowMoveTo(chart, OuterRight(dialog) + kBorder + chart->borderLeft,
                  outerTop + chart->borderTop);
}

}  // namespace

bool ChartCellExists(int row, int column) {
    if (row < 0 || row >= kChartRows || column < 0 || column >= kChartColumns) {
        return false;
    }
    return (kCellMasks[row] & (1 << (kChartColumns - 1 - column))) != 0;
}

bool ChartCellCompatible(int row, int column, const Preferences& preferences) {
    if (!ChartCellExists(row, column)) {
        return false;
    }
    const bool omitTerminators = preferences.omitFrameTerminators;
    const bool excludeOrigin = preferences.excludeOrigin;
    const bool smallFirst = preferences.smallFirstFrameRectangle;
    const bool safeMacBand = preferences.transparencyBand >= kSafeMacBand;
    switch (BoxId(row, column)) {
        case BoxId(kNetscape12, kMac):
            return !smallFirst;
        case BoxId(kNetscape2, kMac):
            return !smallFirst && safeMacBand;
        case BoxId(kNetscape3, kMac):
            return safeMacBand;
        case BoxId(kExplorer2, kMac):
            return !excludeOrigin;
        case BoxId(kExplorer3, kMac):
            return !smallFirst;
        case BoxId(kExplorer3, kWindows):
            return !omitTerminators && !smallFirst;
        case BoxId(kExplorer4, kWindows):
            return !omitTerminators;
        default:
            break;
    }
    if (row == kNaiveUtilities) {
        return !excludeOrigin && !smallFirst && !preferences.useInterframeTransparency;
    }
    return true;  // the Netscape versions elsewhere handle every option
}

double EstimatedAudience(const Preferences& preferences) {
    int compatible = 0;
    for (int row = 0; row < kChartRows; ++row) {
        for (int column = 0; column < kChartColumns; ++column) {
            if (ChartCellCompatible(row, column, preferences)) {
                compatible += kWeights[row][column];
            }
        }
    }
    return compatible * 100.0 / TotalWeight();
}

void OpenCompatibilityChart(JWindow* preferencesDialog, void (*windowsChanged)()) {
    if (const auto& open = TheChart()) {
        JBringToFront(open->window->platform);
        return;
    }
    TheChart() = std::make_unique<Chart>();
    Chart& chart = *TheChart();
    chart.windowsChanged = windowsChanged;
    JWindowSelectClass(kChildWindowClass);
    chart.window = JWindowNew(nullptr, IJString(kTextTitle), kWindowNoMinimise);
    JWindowSetHandler(chart.window, kSlotCloseRequest, MayClose);
    BuildContents(chart);
    if (preferencesDialog != nullptr) {
        PlaceBeside(chart.window, preferencesDialog);
    }
    JWindowShow(chart.window);
    if (windowsChanged != nullptr) {
        windowsChanged();
    }
}

void RefreshCompatibilityChart() {
    Chart* chart = TheChart().get();
    if (chart == nullptr) {
        return;
    }
    for (int row = 0; row < kChartRows; ++row) {
        for (int column = 0; column < kChartColumns; ++column) {
            if (JControl* box = chart->boxes[row][column]) {
                JCheckSet(box, ChartCellCompatible(row, column, gPreferences) ? 1 : 0, false);
            }
        }
    }
    JLabelSetText(chart->estimate,
                  JFormatTemp(IJString(kTextEstimate), EstimatedAudience(gPreferences)));
    JControlResize(chart->estimate, 0, 0);
}

void CloseCompatibilityChart() {
    if (const auto& chart = TheChart()) {
        JWindowDestroy(chart->window);  // the estimate's release hook forgets the chart
    }
}

JWindow* CompatibilityChartWindow() {
    const auto& chart = TheChart();
    return chart ? chart->window : nullptr;
}

JControl* CompatibilityChartBox(int row, int column) {
    const auto& chart = TheChart();
    if (!chart || !ChartCellExists(row, column)) {
        return nullptr;
    }
    return chart->boxes[row][column];
}

JControl* CompatibilityChartEstimate() {
    const auto& chart = TheChart();
    return chart ? chart->estimate : nullptr;
}

JControl* CompatibilityChartMoreInfo() {
    const auto& chart = TheChart();
    return chart ? chart->moreInfo : nullptr;
}
