// The Preferences dialog and the compatibility chart on the headless frame,
// with the settings file in a scratch directory, alerts shown as windows,
// and helpers that click, choose and type as a user would.
#pragma once

#include <string>

#include "app/shell/compatibility_chart.h"
#include "app/shell/preferences.h"
#include "app/shell/preferences_dialog.h"
#include "framework/ui/alert_windows.h"
#include "framework/ui/alerts.h"
#include "framework/ui/check_boxes.h"
#include "framework/ui/control_drawing.h"
#include "framework/ui/labels.h"
#include "framework/ui/multi_line_labels.h"
#include "framework/ui/popup_choices.h"
#include "framework/ui/push_buttons.h"
#include "tests/framework/ui/ui_fixture.h"
#include "tests/test_directory.h"

class PreferencesWindowsTest : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        SetSettingsDirectory(dir_.path().c_str());
        SetFactoryDefaults();
        JUseWindowAlerts();
    }
    void TearDown() override {
        ClosePreferencesDialog();
        Settle();
        JSetAlertDriver(nullptr);
        SetSettingsDirectory(nullptr);
        SetFactoryDefaults();
        FrameworkTest::TearDown();
    }

    static void OpenDialog(const PreferencesDialogHost& host = {}) {
        OpenPreferencesDialog(host);
        Settle();
    }
    static JControl* DialogControl(PreferencesControl which) {
        return PreferencesDialogControl(which);
    }
    // The dialog open with the chart beside it.
    static void OpenChart() {
        OpenDialog();
        ClickControl(DialogControl(PreferencesControl::Compatibility));
    }

    static void ClickControl(const JControl* control) {
        ASSERT_NE(control, nullptr);
        Click(control->owner, control->left + control->width / 2,
              control->top + control->height / 2);
    }
    static void ClickChartBox(int row, int column) {
        ClickControl(CompatibilityChartBox(row, column));
    }
    static bool ChartBoxChecked(int row, int column) {
        return JCheckGet(CompatibilityChartBox(row, column)) != 0;
    }
    static std::string Estimate() { return JLabelText(CompatibilityChartEstimate()); }

    // Opens the choice's list and clicks the item.
    static void Choose(JControl* choice, int index) {
        ClickControl(choice);
        JWindow* list = JChoiceListWindow();
        ASSERT_NE(list, nullptr);
        int width = 0;
        int height = 0;
        JUiMeasureText("Ag", &width, &height);
        const int y = 1 + (index - JChoiceListFirstShown()) * (height + 1) + height / 2;
        Click(list, 10, y);
    }

    // Clicks into a field at its end and types; the entry ends with `ending`.
    static void TypeInto(JControl* field, const char* text, std::uint16_t ending = kKeyTab) {
        ClickControl(field);
        JHeadlessPressKey(kKeyEnd);
        JHeadlessTypeText(text);
        JHeadlessPressKey(ending);
        Settle();
    }

    // The alert in front, or null.
    static JWindow* Alert() { return JModalFrameworkWindow(); }
    static std::string AlertFirstLine(JWindow* alert) {
        const char* line = JMultiLineLabelLine(JAlertMessage(alert), 0);
        return line != nullptr ? line : "";
    }

    // The value of a key in the settings file as it is on disk now.
    std::string Setting(const std::string& key) const {
        const std::string text = dir_.Read("Pindle.prf");
        const std::string start = key + ":";
        for (std::size_t at = 0; at < text.size();) {
            std::size_t end = text.find("\r\n", at);
            if (end == std::string::npos) {
                end = text.size();
            }
            if (text.compare(at, start.size(), start) == 0) {
                return text.substr(at + start.size(), end - at - start.size());
            }
            at = end + 2;
        }
        return "<missing>";
    }

    TestDirectory dir_;
};
