// The windowed program's menus, commands and start-up, driven headless as a
// user would: documents opened, windows activated, commands chosen, the
// questions answered with keys.
#include "app/shell/application.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "app/shell/documents.h"
#include "app/shell/preferences.h"
#include "app/shell/startup_window.h"
#include "framework/core/core_startup.h"
#include "framework/ui/alert_windows.h"
#include "framework/ui/file_dialogs.h"
#include "framework/ui/menus.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

namespace fs = std::filesystem;

const std::string kSample = std::string(PINDLE_SOURCE_DIR) + "/samples/bouncing-ball.gif";
const std::string kCorpus = PINDLE_CORPUS_DIR;

class Application : public FrameworkTest {
protected:
    void SetUp() override {
        JCoreStartup();
        FrameworkTest::SetUp();
        JUseWindowAlerts();
        settings_ = fs::temp_directory_path() / ("pindle-app-" + std::to_string(getpid()));
        fs::create_directories(settings_);
        SetSettingsDirectory((settings_.string() + "/").c_str());
        SetFactoryDefaults();
        BuildApplicationMenus();
        RegisterApplicationEvents();
    }
    void TearDown() override {
        JSetModalIdleHook(nullptr);
        CloseStartupWindow(true);
        while (!OpenDocuments().empty()) {
            OpenDocuments().back()->changed = false;
            CloseDocument(*OpenDocuments().back());
        }
        SetActiveDocument(nullptr);
        SetSettingsDirectory(nullptr);
        fs::remove_all(settings_);
        FrameworkTest::TearDown();
    }

    // A copy of a file in the test's own folder, so that saving harms nothing.
    std::string Copy(const std::string& path) {
        const fs::path copy = settings_ / fs::path(path).filename();
        fs::copy_file(path, copy, fs::copy_options::overwrite_existing);
        return copy.string();
    }

    AppDocument* Open(const std::string& path) {
        AppDocument* document = OpenDocument(Copy(path).c_str());
        Settle();
        return document;
    }

    fs::path settings_;
};

// Steps the event loop so that timers due now run (a step runs one timer).
void RunDueTimers() {
    for (int i = 0; i < 8; ++i) {
        JHeadlessWait(1);
        JEventStep(nullptr, false);
    }
}

// The alert in front, if any.
JWindow* FrontAlert() {
    return JModalFrameworkWindow();
}

TEST_F(Application, FileCommandsFollowTheActiveDocument) {
    EXPECT_FALSE(MenuItemEnabled("Save"));
    EXPECT_FALSE(MenuItemEnabled("Save as..."));
    EXPECT_FALSE(MenuItemEnabled("Test Compression"));
    EXPECT_FALSE(MenuItemEnabled("Add Standard Comment"));
    EXPECT_TRUE(MenuItemEnabled("Open..."));

    AppDocument* document = Open(kSample);
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(ActiveDocument(), document);
    EXPECT_TRUE(MenuItemEnabled("Save"));
    EXPECT_TRUE(MenuItemEnabled("Save as..."));
    EXPECT_TRUE(MenuItemEnabled("Test Compression"));
    EXPECT_TRUE(MenuItemEnabled("Deinterlace All Frames"));
    EXPECT_TRUE(MenuItemEnabled("Range Controls..."));  // the sample has many frames

    // Another window in front: no document is active.
    OpenWindow(300, 300, 100, 100);
    EXPECT_EQ(ActiveDocument(), nullptr);
    EXPECT_FALSE(MenuItemEnabled("Save"));
    EXPECT_FALSE(MenuItemEnabled("Remove All Comments"));
    Click(document->windows.front(), 20, 20);
    EXPECT_EQ(ActiveDocument(), document);
    EXPECT_TRUE(MenuItemEnabled("Save"));
}

TEST_F(Application, RangeControlsNeedTwoFrames) {
    const std::string single = kCorpus + "/real/pil-comment_after_only_frame.gif";
    if (!fs::exists(single)) {
        GTEST_SKIP() << "the shared corpus is not beside the repository";
    }
    ASSERT_NE(Open(single), nullptr);
    EXPECT_TRUE(MenuItemEnabled("Save"));
    EXPECT_FALSE(MenuItemEnabled("Range Controls..."));
}

TEST_F(Application, CloseWindowClosesTheFrontWindowAndThenHasNothingToClose) {
    UpdateCloseWindowItem();
    EXPECT_FALSE(MenuItemEnabled("Close Window"));
    CloseWindowCommand();  // nothing open: nothing happens
    EXPECT_FALSE(MenuItemEnabled("Close Window"));
    EXPECT_TRUE(OpenDocuments().empty());

    ASSERT_NE(Open(kSample), nullptr);
    EXPECT_TRUE(MenuItemEnabled("Close Window"));
    CloseWindowCommand();
    Settle();
    EXPECT_TRUE(OpenDocuments().empty());
    EXPECT_FALSE(MenuItemEnabled("Close Window"));
    EXPECT_EQ(ActiveDocument(), nullptr);
}

// The question before edits are lost, answered with a key.
void AnswerWith(std::uint16_t key) {
    JHeadlessPressKey(key);
}

TEST_F(Application, EditedDocumentsAskBeforeClosingAndUneditedOnesDoNot) {
    AppDocument* plain = Open(kSample);
    ASSERT_NE(plain, nullptr);
    EXPECT_TRUE(CloseDocument(*plain));  // no question: nothing waits for a key
    EXPECT_TRUE(OpenDocuments().empty());

    AppDocument* edited = Open(kSample);
    MarkDocumentChanged(*edited);
    AnswerWith(kKeyEscape);  // Cancel
    EXPECT_FALSE(CloseDocument(*edited));
    EXPECT_EQ(OpenDocuments().size(), 1u);

    AnswerWith('D');  // Don't Save
    EXPECT_TRUE(CloseDocument(*edited));
    EXPECT_TRUE(OpenDocuments().empty());
}

TEST_F(Application, QuitStopsWhenTheUserCancelsAndSavesWhenAsked) {
    const std::string copy = Copy(kSample);
    AppDocument* edited = OpenDocument(copy.c_str());
    ASSERT_NE(edited, nullptr);
    edited->gif->endComment = "saved on the way out";
    MarkDocumentChanged(*edited);
    AnswerWith(kKeyEscape);
    QuitCommand();
    EXPECT_FALSE(JMainLoopRunning());
    EXPECT_EQ(OpenDocuments().size(), 1u);

    // Save: the file is written (answering the report), then the program may quit.
    const auto before = fs::file_size(copy);
    AnswerWith(kKeyReturn);
    EXPECT_TRUE(CloseAllDocuments());
    Settle();
    if (JWindow* report = FrontAlert()) {
        (void)report;
        JHeadlessPressKey(kKeyReturn);
        Settle();
    }
    EXPECT_TRUE(OpenDocuments().empty());
    std::ifstream saved(copy, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(saved)), {});
    EXPECT_NE(bytes.find("saved on the way out"), std::string::npos);
    EXPECT_NE(fs::file_size(copy), before);
}

TEST_F(Application, AFailedSaveKeepsTheEditsAndTheQuestion) {
    const std::string copy = Copy(kSample);
    AppDocument* edited = OpenDocument(copy.c_str());
    ASSERT_NE(edited, nullptr);
    MarkDocumentChanged(*edited);
    fs::remove(copy);
    fs::create_directory(copy);  // a folder where the file was: saving must fail
    AnswerWith(kKeyReturn);      // Save
    EXPECT_FALSE(CloseDocument(*edited));
    Settle();
    JHeadlessPressKey(kKeyReturn);  // the failure's message
    Settle();
    ASSERT_EQ(OpenDocuments().size(), 1u);
    EXPECT_TRUE(OpenDocuments().front()->changed);
    fs::remove(copy);
}

// The start-up window: dismissed at program start it asks for a file; the
// same window shown by About does not.
int gDialogsSeen = 0;

// Each file dialog is counted once, as it is cancelled.
void SeeDialog(JWnd window) {
    if (JHeadlessPendingEvents() == 0) {
        gDialogsSeen += window == JCurrentFileDialog() ? 1 : 0;
        JHeadlessPressKey(kKeyEscape);
    }
}

TEST_F(Application, DismissingTheStartupWindowAsksForAFileOnlyAtStart) {
    gDialogsSeen = 0;
    JSetModalIdleHook(SeeDialog);
    ShowStartupWindow(true);
    Settle();
    EXPECT_TRUE(StartupWindowIsOpen());
    EXPECT_TRUE(MenuItemEnabled("Close Window"));
    JHeadlessPressKey(kKeySpace);
    Settle();
    RunDueTimers();
    EXPECT_FALSE(StartupWindowIsOpen());
    EXPECT_EQ(gDialogsSeen, 1);

    AboutCommand();
    Settle();
    EXPECT_TRUE(StartupWindowIsOpen());
    CloseStartupWindow(false);  // as a click or a key on it does
    Settle();
    RunDueTimers();
    EXPECT_FALSE(StartupWindowIsOpen());
    EXPECT_EQ(gDialogsSeen, 1);
}

TEST_F(Application, AFileNamedAtStartClosesTheStartupWindowWithoutAsking) {
    gDialogsSeen = 0;
    JSetModalIdleHook(SeeDialog);
    ShowStartupWindow(true);
    Settle();
    FileSpec* spec = JFileSpecFromPath(Copy(kSample).c_str());
    JCallApplicationHandler(kEventOpenDocument, spec);
    JFileSpecFree(spec);
    RunDueTimers();
    EXPECT_FALSE(StartupWindowIsOpen());
    EXPECT_EQ(gDialogsSeen, 0);
    EXPECT_EQ(OpenDocuments().size(), 1u);
}

TEST_F(Application, OtherFilesAreNotOpenedAndNothingIsPrinted) {
    const fs::path text = settings_ / "notes.txt";
    std::ofstream(text) << "not a picture";
    FileSpec* spec = JFileSpecFromPath(text.c_str());
    const int beeps = JHeadlessBeepCount();
    JHeadlessPressKey(kKeyReturn);
    JCallApplicationHandler(kEventOpenDocument, spec);
    EXPECT_TRUE(OpenDocuments().empty());
    EXPECT_EQ(JHeadlessBeepCount(), beeps + 1);

    JHeadlessPressKey(kKeyReturn);
    JCallApplicationHandler(kEventPrintDocument, spec);
    EXPECT_EQ(JHeadlessBeepCount(), beeps + 2);
    JFileSpecFree(spec);
}

TEST_F(Application, DefaultsHoldWithoutASettingsFile) {
    ASSERT_FALSE(fs::exists(settings_ / "Pindle.prf"));
    LoadSettings();
    EXPECT_TRUE(gPreferences.omitFrameTerminators);
    EXPECT_TRUE(gPreferences.showDepthWarning);
    EXPECT_EQ(gPreferences.transparencyBand, 0);
    EXPECT_FALSE(fs::exists(settings_ / "Pindle.prf"));  // reading writes nothing
}

// An 8-bit display: the warning names 256 colours and 8 bits, and the start-up
// window is not shown.
class EightBitDisplay : public Application {
protected:
    void SetUp() override {
        Application::SetUp();
        JFrameworkShutdown();
        JTextShutdown();
        JBackendStop();
        JHeadlessScreen screen;
        screen.depth = 8;
        JHeadlessConfigure(screen);
        ASSERT_TRUE(JBackendStart(JBackendChoice::Headless));
        ASSERT_TRUE(JFrameworkStartup());
        JMainFramePlace(JRect{0, 0, kFrameWidth, kFrameHeight});
        JMainFrameShow();
        JUseWindowAlerts();
        BuildApplicationMenus();
    }
};

std::vector<std::string>& AlertsSeen() {
    static std::vector<std::string> seen;
    return seen;
}

bool RecordAndAnswerFirst(AlertKind, const char* message, const char*, const char*) {
    AlertsSeen().push_back(message);
    return true;
}

void RecordTold(AlertKind, const char* message, const char*, const char*, AlertCallback, void*) {
    AlertsSeen().push_back(message);
}

void NoBeep() {}

constexpr AlertDriver kRecordingAlerts{RecordAndAnswerFirst, RecordTold, NoBeep};

TEST_F(EightBitDisplay, TheDepthWarningNamesTheColoursAndKeepsTheStartupWindowShut) {
    AlertsSeen().clear();
    JSetAlertDriver(&kRecordingAlerts);
    EXPECT_EQ(JDisplayDepth(), 8);
    EXPECT_FALSE(StartupWindowMayOpen());
    ASSERT_EQ(AlertsSeen().size(), 1u);
    EXPECT_NE(AlertsSeen()[0].find("256 colour (8 bit) mode"), std::string::npos)
        << AlertsSeen()[0];

    gPreferences.showDepthWarning = false;
    EXPECT_TRUE(StartupWindowMayOpen());
    EXPECT_EQ(AlertsSeen().size(), 1u);  // no warning asked for, none given
    JSetAlertDriver(nullptr);
}

}  // namespace

namespace {

TEST_F(Application, AFileDroppedOnTheWindowOpens) {
    JHeadlessDropFile(Copy(kSample).c_str());
    Settle();
    EXPECT_EQ(OpenDocuments().size(), 1u);
}

}  // namespace
