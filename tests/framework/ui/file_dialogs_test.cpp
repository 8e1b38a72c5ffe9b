// The Open and Save dialogs driven as a user would: names typed into the
// name field, Return, clicks in the lists, answers to the messages. A folder
// of sample files is made for each test; the dialogs must leave every file
// in it as it was.
#include "framework/ui/file_dialogs.h"

#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "framework/core/core_startup.h"
#include "framework/core/strings.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

namespace fs = std::filesystem;

// One step of the user's part, run when the dialog waits for input; it gets
// the window in front (the dialog or one of its messages).
using UserStep = std::function<void(JWnd front)>;

std::vector<UserStep>& Script() {
    static std::vector<UserStep> steps;
    return steps;
}

std::vector<std::string>& TitlesSeen() {
    static std::vector<std::string> titles;
    return titles;
}

void RunNextStep(JWnd front) {
    if (JHeadlessPendingEvents() > 0) {
        return;
    }
    if (Script().empty()) {
        ADD_FAILURE() << "the dialog waits for input that never comes";
        JHeadlessPressKey(kKeyEscape);
        return;
    }
    TitlesSeen().push_back(JWindowTitle(front));
    const UserStep step = Script().front();
    Script().erase(Script().begin());
    step(front);
}

UserStep Type(const std::string& text) {
    return [text](JWnd) {
        JHeadlessTypeText(text.c_str());
        JHeadlessPressKey(kKeyReturn);
    };
}

UserStep Press(std::uint16_t key, std::uint16_t modifiers = 0) {
    return [key, modifiers](JWnd) { JHeadlessPressKey(key, modifiers); };
}

JPoint CentreOf(JWnd window) {
    const JRect client = JWindowClientRect(window);
    return JClientToFrame(window, JPoint{client.Width() / 2, client.Height() / 2});
}

UserStep ClickItem(int id) {
    return [id](JWnd front) {
        const JPoint point = CentreOf(JWindowChildWithId(front, id));
        JHeadlessClick(point.x, point.y);
    };
}

// Clicks (twice for a double click) on the list's item showing `shown`.
UserStep ClickListed(int id, const std::string& shown, bool twice) {
    return [id, shown, twice](JWnd front) {
        const JWnd list = JWindowChildWithId(front, id);
        for (int i = 0; i < JListBoxCount(list); ++i) {
            if (JListBoxItem(list, i) == shown) {
                const JRect item = JListBoxItemRect(list, i);
                const JPoint point =
                    JClientToFrame(list, JPoint{item.left + 8, (item.top + item.bottom) / 2});
                JHeadlessClick(point.x, point.y);
                if (twice) {
                    JHeadlessClick(point.x, point.y);
                }
                return;
            }
        }
        ADD_FAILURE() << shown << " is not listed";
        JHeadlessPressKey(kKeyEscape);
    };
}

// Runs `check` on the window in front, then goes on with the next step at once.
UserStep Check(std::function<void(JWnd)> check) {
    return [check](JWnd front) {
        check(front);
        RunNextStep(front);
    };
}

std::string FieldText(JWnd dialog) {
    return JEditText(JWindowChildWithId(dialog, kFileDialogName));
}

std::vector<std::string> Listed(JWnd dialog, int id) {
    const JWnd list = JWindowChildWithId(dialog, id);
    std::vector<std::string> items;
    for (int i = 0; i < JListBoxCount(list); ++i) {
        items.push_back(JListBoxItem(list, i));
    }
    return items;
}

// What the user could see change in a folder: names, kinds, sizes, times.
using Snapshot = std::map<std::string, std::string>;

Snapshot Take(const fs::path& folder) {
    Snapshot snapshot;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        struct stat status {};
        lstat(entry.path().c_str(), &status);
        snapshot[entry.path().string()] =
            std::to_string(status.st_mode) + " " + std::to_string(status.st_size) + " " +
            std::to_string(status.st_mtim.tv_sec) + "." + std::to_string(status.st_mtim.tv_nsec);
    }
    return snapshot;
}

class FileDialogs : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        JCoreStartup();
        folder_ = fs::temp_directory_path() / ("pindle-dialogs-" + std::to_string(getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "sub");
        for (const char* name : {"ball.gif", "Other.GIF", "notes.txt", "pic.png", "sub/x.gif"}) {
            std::ofstream(folder_ / name) << "GIF89a" << name;
        }
        std::ofstream(folder_ / "keep.gif", std::ios::binary)
            << std::string("GIF89a\0\1\2keep", 13);
        before_ = Take(folder_);
        Script().clear();
        TitlesSeen().clear();
        JSetModalIdleHook(RunNextStep);
    }
    void TearDown() override {
        JSetModalIdleHook(nullptr);
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder_);
        FrameworkTest::TearDown();
    }
    std::string Folder() const { return folder_.string() + "/"; }

    // Runs the dialog with the user's steps; the chosen path or "" when cancelled.
    std::string Run(bool save, std::vector<UserStep> steps, const std::string& start = "") {
        Script() = std::move(steps);
        const std::string from = start.empty() ? Folder() : start;
        FileSpec* spec = save ? JSaveFileDialog(kFileTypeGif, from.c_str())
                              : JOpenFileDialog({kFileTypeGif}, from.c_str());
        EXPECT_TRUE(Script().empty()) << Script().size() << " steps were not taken";
        EXPECT_EQ(JCurrentFileDialog(), kNoWindow);
        std::string path;
        if (spec != nullptr) {
            char* text = JFileSpecPathDup(spec);
            path = text;
            JStrFree(text);
            JFileSpecFree(spec);
        }
        return path;
    }
    void ExpectUntouched() const { EXPECT_EQ(Take(folder_), before_); }

    fs::path folder_;
    Snapshot before_;
};

TEST_F(FileDialogs, SaveMakesTheExtensionAgreeWithTheTypeAndSaysWhy) {
    EXPECT_EQ(
        Run(true,
            {Type("anim"),
             Check([](JWnd front) { EXPECT_STREQ(JWindowTitle(front), "Missing Extension"); }),
             Press(kKeyReturn), Check([](JWnd front) { EXPECT_EQ(FieldText(front), "anim.gif"); }),
             Press(kKeyReturn)}),
        Folder() + "anim.gif");

    TitlesSeen().clear();
    EXPECT_EQ(Run(true, {Type("anim.GIF")}), Folder() + "anim.GIF");
    EXPECT_EQ(TitlesSeen(), (std::vector<std::string>{"Save File"}));  // no message

    EXPECT_EQ(Run(true, {Type("anim.bmp"), Check([](JWnd front) {
                             EXPECT_STREQ(JWindowTitle(front), "Mismatched Extension");
                             const std::string text = JWindowTitle(JWindowChildWithId(front, 100));
                             EXPECT_NE(text.find("(.bmp)"), std::string::npos) << text;
                             EXPECT_NE(text.find("(to .gif)"), std::string::npos) << text;
                         }),
                         Press(kKeyReturn),
                         Check([](JWnd front) { EXPECT_EQ(FieldText(front), "anim.gif"); }),
                         Press(kKeyEscape)}),
              "");
    ExpectUntouched();
}

TEST_F(FileDialogs, TheOverwriteQuestionLeavesTheFileAsItWas) {
    // No is the default: Return keeps the dialog open.
    EXPECT_EQ(Run(true, {Type("keep.gif"), Check([](JWnd front) {
                             EXPECT_STREQ(JWindowTitle(front), "File Exists");
                         }),
                         Press(kKeyReturn),
                         Check([](JWnd front) { EXPECT_STREQ(JWindowTitle(front), "Save File"); }),
                         Press(kKeyEscape)}),
              "");
    ExpectUntouched();
    // Yes chooses the file; writing it is the caller's business.
    EXPECT_EQ(Run(true, {Type("keep.gif"), ClickItem(kIdYes)}), Folder() + "keep.gif");
    ExpectUntouched();
}

TEST_F(FileDialogs, OpenRefusesAMissingFileAndFindsAnExistingOne) {
    EXPECT_EQ(Run(false, {Type("nothere.gif"), Check([](JWnd front) {
                              EXPECT_STREQ(JWindowTitle(front), "Non-Existent File");
                          }),
                          Press(kKeyReturn), Press(kKeyEscape)}),
              "");
    EXPECT_EQ(Run(false, {ClickListed(kFileDialogFiles, "Other.GIF", true)}),
              Folder() + "Other.GIF");
    ExpectUntouched();
}

TEST_F(FileDialogs, APatternRefillsTheFileList) {
    Run(false, {Check([](JWnd front) {
                    EXPECT_EQ(FieldText(front), "*.gif");
                    EXPECT_EQ(Listed(front, kFileDialogFiles),
                              (std::vector<std::string>{"ball.gif", "keep.gif", "Other.GIF"}));
                    EXPECT_EQ(Listed(front, kFileDialogDirectories),
                              (std::vector<std::string>{"[..]", "[sub]"}));
                }),
                Type("*.png"), Check([](JWnd front) {
                    EXPECT_EQ(Listed(front, kFileDialogFiles),
                              (std::vector<std::string>{"pic.png"}));
                    EXPECT_EQ(FieldText(front), "*.png");
                }),
                Type("sub/*.gif"), Check([this](JWnd front) {
                    EXPECT_EQ(JFileDialogFolder(), Folder() + "sub/");
                    EXPECT_EQ(Listed(front, kFileDialogFiles), (std::vector<std::string>{"x.gif"}));
                }),
                Press(kKeyEscape)});
}

TEST_F(FileDialogs, DirectoriesAreEnteredByNameOrDoubleClick) {
    const std::string chosen =
        Run(false, {Type("sub"), Check([this](JWnd front) {
                        EXPECT_EQ(JFileDialogFolder(), Folder() + "sub/");
                        EXPECT_EQ(FieldText(front), "*.gif");
                    }),
                    ClickListed(kFileDialogDirectories, "[..]", true),
                    Check([this](JWnd) { EXPECT_EQ(JFileDialogFolder(), Folder()); }),
                    ClickListed(kFileDialogDirectories, "[sub]", false), Check([](JWnd front) {
                        EXPECT_EQ(FieldText(front), "sub/*.gif");  // a single click only names it
                    }),
                    ClickListed(kFileDialogDirectories, "[sub]", true),
                    ClickListed(kFileDialogFiles, "x.gif", true)});
    EXPECT_EQ(chosen, Folder() + "sub/x.gif");
}

TEST_F(FileDialogs, OkIsEnabledOnlyWithAName) {
    Run(false,
        {Check([](JWnd front) { EXPECT_TRUE(JIsWindowEnabled(JWindowChildWithId(front, kIdOk))); }),
         Press(kKeyDelete), Check([](JWnd front) {
             EXPECT_FALSE(JIsWindowEnabled(JWindowChildWithId(front, kIdOk)));
         }),
         Press(kKeyReturn), Check([](JWnd front) {
             EXPECT_STREQ(JWindowTitle(front), "Open File");  // nothing happened
         }),
         Press(kKeyEscape)});
}

TEST_F(FileDialogs, AltWithALabelsLetterMovesTheFocus) {
    Run(false, {Press('F', kModAlt), Check([](JWnd front) {
                    EXPECT_EQ(JFocusWindow(), JWindowChildWithId(front, kFileDialogFiles));
                }),
                Press('N', kModAlt), Check([](JWnd front) {
                    EXPECT_EQ(JFocusWindow(), JWindowChildWithId(front, kFileDialogName));
                }),
                Press(kKeyEscape)});
}

TEST_F(FileDialogs, ANameThatIsNotUtf8IsShownReplacedAndStillOpens) {
    const std::string raw = "bad\xFF.gif";
    std::ofstream(folder_ / raw) << "GIF89a";
    EXPECT_EQ(Run(false, {ClickListed(kFileDialogFiles, "bad\xEF\xBF\xBD.gif", true)}),
              Folder() + raw);
}

TEST_F(FileDialogs, CreateDirectoryMakesOneAndListsIt) {
    Run(true, {ClickItem(kFileDialogCreateDirectory),
               Check([](JWnd front) { EXPECT_STREQ(JWindowTitle(front), "Create Directory"); }),
               Type("made"), Check([](JWnd front) {
                   const std::vector<std::string> listed = Listed(front, kFileDialogDirectories);
                   EXPECT_NE(std::find(listed.begin(), listed.end(), "[made]"), listed.end());
               }),
               Press(kKeyEscape)});
    EXPECT_TRUE(fs::is_directory(folder_ / "made"));
}

// The failure needs a folder this user may not write to; an administrator may
// write anywhere, so that part runs in a child process as an ordinary user.
bool CreateDirectoryFailsIn(const std::string& folder) {
    bool reported = false;
    bool stayed = false;
    Script() = {
        ClickItem(kFileDialogCreateDirectory),
        Type("new"),
        Check([&](JWnd front) {
            reported = std::string(JWindowTitle(front)) == "Directory Creation Error";
        }),
        Press(kKeyReturn),
        Check([&](JWnd front) { stayed = std::string(JWindowTitle(front)) == "Create Directory"; }),
        Press(kKeyEscape),
        Press(kKeyEscape)};
    FileSpec* spec = JSaveFileDialog(kFileTypeGif, folder.c_str());
    JFileSpecFree(spec);
    return reported && stayed && spec == nullptr && !fs::exists(folder + "new");
}

TEST_F(FileDialogs, CreateDirectoryInAReadOnlyFolderReportsTheFailure) {
    const std::string locked = Folder() + "locked/";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
    if (geteuid() != 0) {
        EXPECT_TRUE(CreateDirectoryFailsIn(locked));
        return;
    }
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr) {
        GTEST_SKIP() << "running as root and there is no user 'nobody' to try as";
    }
    fs::permissions(folder_, fs::perms::others_exec | fs::perms::others_read,
                    fs::perm_options::add);
    const pid_t child = fork();
    if (child == 0) {
        const bool dropped = setgid(nobody->pw_gid) == 0 && setuid(nobody->pw_uid) == 0;
        _exit(dropped && CreateDirectoryFailsIn(locked) ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the failure was not reported, or the dialog did not stay open";
}

TEST(FileDialogPaths, TypedNamesBecomePaths) {
    EXPECT_EQ(JFileDialogPath("/a/b/", "c.gif"), "/a/b/c.gif");
    EXPECT_EQ(JFileDialogPath("/a/b/", "../c.gif"), "/a/c.gif");
    EXPECT_EQ(JFileDialogPath("/a/b/", ".."), "/a/");
    EXPECT_EQ(JFileDialogPath("/a/b/", "/x/./y/"), "/x/y/");
    EXPECT_EQ(JFileDialogPath("/", "../.."), "/");
    EXPECT_EQ(JFileDialogPath("/a/", "~"), JHomeFolder());
}

}  // namespace

namespace {

int gPresses = 0;

bool CountPress(JWindow*, const JHandlerEvent&) {
    ++gPresses;
    return true;
}

TEST_F(FileDialogs, WindowsTakeInputAgainOnceTheDialogIsGone) {
    Run(false, {Press(kKeyEscape)});
    JWindow* window = OpenWindow(100, 100, 200, 100);
    JWindowSetHandler(window, kSlotMouseDown, CountPress);
    gPresses = 0;
    Click(window, 20, 20);
    EXPECT_EQ(gPresses, 1);
}

}  // namespace
