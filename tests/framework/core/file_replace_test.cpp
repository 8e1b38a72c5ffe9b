#include "framework/core/file_replace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/core/strings.h"
#include "tests/test_directory.h"
#include "tests/test_process.h"

namespace {

struct Content {
    std::string bytes;
};

// Writes in small pieces, so that a second save has time to come between.
bool WriteContent(JFile* file, void* context) {
    const std::string& bytes = static_cast<Content*>(context)->bytes;
    constexpr std::size_t kPiece = 4096;
    for (std::size_t at = 0; at < bytes.size(); at += kPiece) {
        const std::size_t count = std::min(kPiece, bytes.size() - at);
        if (!JFileWrite(file, bytes.data() + at, std::uint32_t(count))) {
            return false;
        }
    }
    return true;
}

struct stat StatOf(const std::string& path) {
    struct stat info {};
    lstat(path.c_str(), &info);
    return info;
}

std::vector<std::string> NamesIn(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class FileReplaceTest : public testing::Test {
protected:
    // Saves `bytes` as the file `path` names (a full path).
    JReplaceResult Save(const std::string& path, const std::string& bytes,
                        JFileProblem* why = nullptr) {
        FileSpec* spec = JFileSpecFromPath(path.c_str());
        Content content{bytes};
        const JReplaceResult result = JFileReplace(spec, WriteContent, &content, why);
        JFileSpecFree(spec);
        return result;
    }

    // The save is refused for `expected` and leaves the file as it was.
    void ExpectRefused(const std::string& path, JFileProblem expected) {
        const struct stat before = StatOf(path);
        JFileProblem why = JFileProblem::None;
        EXPECT_EQ(Save(path, "new", &why), JReplaceResult::Refused) << path;
        EXPECT_EQ(why, expected) << path;
        const struct stat after = StatOf(path);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_size, before.st_size);
    }

    TestDirectory dir_;
};

bool FailHalfway(JFile* file, void*) {
    return JFileWrite(file, "hal", 3) && false;
}

TEST_F(FileReplaceTest, FailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    FileSpec* spec = JFileSpecFromPath(dir_.File("anim.gif").c_str());
    EXPECT_EQ(JFileReplace(spec, FailHalfway, nullptr), JReplaceResult::WriteFailed);
    EXPECT_TRUE(NamesIn(dir_.path()).empty());
    dir_.Write("anim.gif", "old");
    EXPECT_EQ(JFileReplace(spec, FailHalfway, nullptr), JReplaceResult::WriteFailed);
    EXPECT_FALSE(RunWithFileSizeLimit(1000, [&] {
        return Save(dir_.File("anim.gif"), std::string(5000, 'x')) == JReplaceResult::Replaced;
    }));
    EXPECT_EQ(dir_.Read("anim.gif"), "old");
    EXPECT_EQ(NamesIn(dir_.path()), std::vector<std::string>{"anim.gif"});
    JFileSpecFree(spec);
}

TEST_F(FileReplaceTest, ConcurrentSavesLeaveOneCompleteFileAndNothingElse) {
    // The user's own file of the name the old temporary file had.
    dir_.Write("anim.gif.tmp", "the user's");
    dir_.Write("anim.gif", "old");
    const std::string a(300000, 'a');
    const std::string b(200000, 'b');
    std::vector<pid_t> savers;
    for (const std::string* bytes : {&a, &b}) {
        const pid_t child = fork();
        if (child == 0) {
            bool all = true;
            for (int i = 0; i < 40; ++i) {
                all = Save(dir_.File("anim.gif"), *bytes) == JReplaceResult::Replaced && all;
            }
            _exit(all ? 0 : 1);
        }
        savers.push_back(child);
    }
    for (pid_t child : savers) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::string saved = dir_.Read("anim.gif");
    EXPECT_TRUE(saved == a || saved == b) << "a save left " << saved.size() << " bytes";
    EXPECT_EQ(dir_.Read("anim.gif.tmp"), "the user's");
    EXPECT_EQ(NamesIn(dir_.path()), (std::vector<std::string>{"anim.gif", "anim.gif.tmp"}));
}

TEST_F(FileReplaceTest, NameAsLongAsTheSystemAllowsCanBeSaved) {
    const std::string name = std::string(NAME_MAX - 4, 'n') + ".gif";
    EXPECT_EQ(Save(dir_.File(name), "first"), JReplaceResult::Replaced);
    EXPECT_EQ(Save(dir_.File(name), "second"), JReplaceResult::Replaced);
    EXPECT_EQ(dir_.Read(name), "second");
    EXPECT_EQ(NamesIn(dir_.path()), std::vector<std::string>{name});
}

TEST_F(FileReplaceTest, SavingALinkSavesItsFileAndTheLinkStays) {
    std::filesystem::create_directory(dir_.File("real"));
    std::filesystem::create_directory(dir_.File("links"));
    dir_.Write("real/anim.gif", "old");
    ASSERT_EQ(chmod(dir_.File("real/anim.gif").c_str(), 0640), 0);
    ASSERT_EQ(symlink("../real/anim.gif", dir_.File("links/anim.gif").c_str()), 0);
    EXPECT_EQ(Save(dir_.File("links/anim.gif"), "new"), JReplaceResult::Replaced);
    EXPECT_TRUE(S_ISLNK(StatOf(dir_.File("links/anim.gif")).st_mode));
    EXPECT_EQ(dir_.Read("real/anim.gif"), "new");
    EXPECT_EQ(StatOf(dir_.File("real/anim.gif")).st_mode & 07777, 0640u);
    EXPECT_EQ(NamesIn(dir_.File("links")), std::vector<std::string>{"anim.gif"});
    EXPECT_EQ(NamesIn(dir_.File("real")), std::vector<std::string>{"anim.gif"});
}

TEST_F(FileReplaceTest, EveryHardLinkSeesTheSavedContentAndAFailureChangesNone) {
    dir_.Write("anim.gif", "old content");
    ASSERT_EQ(link(dir_.File("anim.gif").c_str(), dir_.File("other.gif").c_str()), 0);
    const ino_t inode = StatOf(dir_.File("anim.gif")).st_ino;
    EXPECT_EQ(Save(dir_.File("anim.gif"), "new"), JReplaceResult::Replaced);
    EXPECT_EQ(dir_.Read("other.gif"), "new");
    EXPECT_EQ(StatOf(dir_.File("anim.gif")).st_ino, inode);
    EXPECT_EQ(StatOf(dir_.File("anim.gif")).st_nlink, 2u);

    // A full disk: the new content does not fit, the old one stays whole.
    const std::string large(5000, 'x');
    EXPECT_FALSE(RunWithFileSizeLimit(
        1000, [&] { return Save(dir_.File("other.gif"), large) == JReplaceResult::Replaced; }));
    EXPECT_EQ(dir_.Read("anim.gif"), "new");
    EXPECT_EQ(NamesIn(dir_.path()), (std::vector<std::string>{"anim.gif", "other.gif"}));
}

TEST_F(FileReplaceTest, SpecialFilesReadOnlyFilesAndDanglingLinksAreRefused) {
    ASSERT_EQ(mkfifo(dir_.File("pipe.gif").c_str(), 0644), 0);
    ExpectRefused(dir_.File("pipe.gif"), JFileProblem::NotRegular);
    EXPECT_TRUE(S_ISFIFO(StatOf(dir_.File("pipe.gif")).st_mode));

    ASSERT_EQ(symlink("/dev/null", dir_.File("device.gif").c_str()), 0);
    ExpectRefused(dir_.File("device.gif"), JFileProblem::NotRegular);
    EXPECT_TRUE(S_ISLNK(StatOf(dir_.File("device.gif")).st_mode));
    EXPECT_TRUE(S_ISCHR(StatOf("/dev/null").st_mode));

    std::filesystem::create_directory(dir_.File("folder.gif"));
    ExpectRefused(dir_.File("folder.gif"), JFileProblem::Folder);

    ASSERT_EQ(symlink("nowhere.gif", dir_.File("dangling.gif").c_str()), 0);
    ExpectRefused(dir_.File("dangling.gif"), JFileProblem::DanglingLink);
    EXPECT_FALSE(std::filesystem::exists(dir_.File("nowhere.gif")));

    // Refused even for the superuser, whom the system would let write it.
    dir_.Write("locked.gif", "old");
    ASSERT_EQ(chmod(dir_.File("locked.gif").c_str(), 0444), 0);
    ExpectRefused(dir_.File("locked.gif"), JFileProblem::ReadOnly);
    EXPECT_EQ(dir_.Read("locked.gif"), "old");
}

TEST_F(FileReplaceTest, OtherUsersFileKeepsItsOwnerGroupAndMode) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "giving a file to another user needs superuser rights";
    }
    dir_.Write("theirs.gif", "old");
    ASSERT_EQ(chown(dir_.File("theirs.gif").c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(chmod(dir_.File("theirs.gif").c_str(), 0640), 0);
    EXPECT_EQ(Save(dir_.File("theirs.gif"), "new"), JReplaceResult::Replaced);
    const struct stat info = StatOf(dir_.File("theirs.gif"));
    EXPECT_EQ(info.st_uid, kNobody);
    EXPECT_EQ(info.st_gid, kNobody);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(dir_.Read("theirs.gif"), "new");
}

TEST_F(FileReplaceTest, FileTheUserMayWriteButNotOwnIsWrittenInPlace) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "a file of another owner needs superuser rights to set up";
    }
    // Root's file that the group nobody belongs to may write, in a folder
    // everyone may write, and in a folder only root may write.
    ASSERT_EQ(chmod(dir_.path().c_str(), 0777), 0);
    std::filesystem::create_directory(dir_.File("closed"));
    for (const std::string name : {"shared.gif", "closed/shared.gif"}) {
        dir_.Write(name, "old");
        ASSERT_EQ(chown(dir_.File(name).c_str(), 0, kNobody), 0);
        ASSERT_EQ(chmod(dir_.File(name).c_str(), 0664), 0);
    }
    for (const std::string name : {"shared.gif", "closed/shared.gif"}) {
        const ino_t inode = StatOf(dir_.File(name)).st_ino;
        EXPECT_TRUE(RunAsOrdinaryUser([&] {
            return Save(dir_.File(name), "new") == JReplaceResult::Replaced;
        })) << name;
        const struct stat info = StatOf(dir_.File(name));
        EXPECT_EQ(info.st_ino, inode);
        EXPECT_EQ(info.st_uid, 0u);
        EXPECT_EQ(info.st_gid, kNobody);
        EXPECT_EQ(info.st_mode & 07777, 0664u);
        EXPECT_EQ(dir_.Read(name), "new");
    }
    EXPECT_EQ(NamesIn(dir_.path()), (std::vector<std::string>{"closed", "shared.gif"}));
}

TEST_F(FileReplaceTest, FileTheUserMayNotWriteIsRefused) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs a file of another owner";
    }
    ASSERT_EQ(chmod(dir_.path().c_str(), 0777), 0);
    dir_.Write("roots.gif", "old");
    EXPECT_TRUE(RunAsOrdinaryUser([&] {
        JFileProblem why = JFileProblem::None;
        return Save(dir_.File("roots.gif"), "new", &why) == JReplaceResult::Refused &&
               why == JFileProblem::NotAllowed;
    }));
    EXPECT_EQ(dir_.Read("roots.gif"), "old");
}

}  // namespace
