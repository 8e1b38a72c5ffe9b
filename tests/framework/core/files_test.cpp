#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>

#include "framework/core/file_replace.h"
#include "framework/core/files.h"
#include "framework/core/strings.h"
#include "tests/test_directory.h"
#include "tests/test_process.h"

namespace {

std::string PathOf(const FileSpec* spec) {
    char* path = JFileSpecPathDup(spec);
    std::string text = path;
    JStrFree(path);
    return text;
}

TEST(FileSpecTest, FromPathSplitsDirectoryNameAndTypeIgnoringCase) {
    FileSpec* spec = JFileSpecFromPath("/pics/anim.GIF");
    ASSERT_NE(spec, nullptr);
    EXPECT_STREQ(spec->directory, "/pics/");
    EXPECT_STREQ(spec->name, "anim");
    EXPECT_EQ(spec->type->row, kFileTypeGif);
    // The file keeps its own spelling: names are case-sensitive here.
    EXPECT_EQ(PathOf(spec), "/pics/anim.GIF");
    JFileSpecFree(spec);
}

TEST(FileSpecTest, UnknownExtensionGivesTheDataRowButKeepsTheName) {
    FileSpec* spec = JFileSpecFromPath("/tmp/old.anim.bak");
    ASSERT_NE(spec, nullptr);
    EXPECT_STREQ(spec->name, "old.anim");
    EXPECT_EQ(spec->type->row, kFileTypeData);
    EXPECT_EQ(PathOf(spec), "/tmp/old.anim.bak");
    FileSpec* copy = JFileSpecCopy(spec);
    EXPECT_EQ(PathOf(copy), "/tmp/old.anim.bak");
    JFileSpecFree(copy);
    JFileSpecFree(spec);
}

TEST(FileSpecTest, NameWithoutDotIsANameWithoutExtension) {
    // A dot in a directory does not make an extension.
    for (const char* path : {"/pics/anim", "/pics.old/anim"}) {
        FileSpec* spec = JFileSpecFromPath(path);
        ASSERT_NE(spec, nullptr) << path;
        EXPECT_STREQ(spec->name, "anim");
        EXPECT_EQ(spec->type->row, kFileTypeData);
        EXPECT_EQ(PathOf(spec), path);
        FileSpec* copy = JFileSpecCopy(spec);
        EXPECT_EQ(PathOf(copy), path);
        JFileSpecFree(copy);
        JFileSpecFree(spec);
    }
    // A name ending in a dot keeps it.
    FileSpec* spec = JFileSpecFromPath("/pics/anim.");
    EXPECT_EQ(PathOf(spec), "/pics/anim.");
    JFileSpecFree(spec);
}

// Makes the current directory deeper than a path may be long.
bool EnterTooDeepDirectory(const std::string& start) {
    if (chdir(start.c_str()) != 0) {
        return false;
    }
    const std::string step(200, 'd');
    for (int depth = 0; depth * 201 <= PATH_MAX; ++depth) {
        if (mkdir(step.c_str(), 0700) != 0 || chdir(step.c_str()) != 0) {
            return false;
        }
    }
    return true;
}

TEST(FileSpecTest, RelativePathIsRefusedWhenTheCurrentDirectoryCannotBeKnown) {
    TestDirectory dir;
    EXPECT_TRUE(RunInChild([&] { return EnterTooDeepDirectory(dir.path()); },
                           [] {
                               JFileProblem why = JFileProblem::None;
                               char* current = JCurrentDirectory();
                               return current == nullptr &&
                                      JFileSpecFromPath("anim.gif", &why) == nullptr &&
                                      why == JFileProblem::NoCurrentFolder;
                           }));
    // A removed current directory cannot be known either.
    const std::string gone = dir.File("gone");
    EXPECT_TRUE(RunInChild(
        [&] {
            return mkdir(gone.c_str(), 0700) == 0 && chdir(gone.c_str()) == 0 &&
                   rmdir(gone.c_str()) == 0;
        },
        [] { return JFileSpecFromPath("anim.gif") == nullptr; }));
}

TEST(FileSpecTest, RelativePathIsTakenAgainstTheCurrentDirectory) {
    FileSpec* spec = JFileSpecFromPath("sub/anim.gif");
    ASSERT_NE(spec, nullptr);
    char* current = JCurrentDirectory();
    EXPECT_EQ(std::string(spec->directory), std::string(current) + "sub/");
    EXPECT_EQ(spec->directory[0], '/');
    JStrFree(current);
    JFileSpecFree(spec);
}

TEST(FileSpecTest, NewSpecUsesTheTypeExtensionAndPathBufferMustFit) {
    FileSpec* spec = JFileSpecNew("/etc/", "Pindle", kFileTypePreferences);
    char buffer[32];
    EXPECT_TRUE(JFileSpecPath(spec, buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "/etc/Pindle.prf");
    EXPECT_FALSE(JFileSpecPath(spec, buffer, 10));
    EXPECT_STREQ(buffer, "");
    JFileSpecFree(spec);
}

TEST(FileTypeTest, TableRowsComeFromTheResources) {
    const FileTypeEntry* gif = JFileTypeRow(kFileTypeGif);
    EXPECT_STREQ(gif->extension, "gif");
    EXPECT_STREQ(gif->pattern, ".gif");
    EXPECT_STREQ(gif->description, "GIF Files (.GIF)");
    const FileTypeEntry* all = JFileTypeRow(kFileTypeAllFiles);
    EXPECT_STREQ(all->extension, "");
    EXPECT_STREQ(all->pattern, ".*");
    EXPECT_STREQ(JFileTypeRow(6)->pattern, "");  // id 206 has no string
    FileType* type = JFileTypeFromExtension("");
    EXPECT_EQ(type->row, kFileTypeData);
    JFileTypeFree(type);
}

TEST(FileTypeTest, TextShorterThanNineCharactersGivesAnEmptyRow) {
    FileTypeEntry row = JFileTypeEntryFromText("gif .gif");
    EXPECT_STREQ(row.extension, "");
    EXPECT_STREQ(row.pattern, "");
    EXPECT_STREQ(row.description, "");
    JStrFree(row.extension);
    JStrFree(row.pattern);
    JStrFree(row.description);
}

class FileTest : public testing::Test {
protected:
    FileSpec* Spec(const char* name) {
        return JFileSpecNew(dir_.path().c_str(), name, kFileTypeGif);
    }

    TestDirectory dir_;
};

TEST_F(FileTest, CreateDeleteAndOpenReportTheirOutcome) {
    FileSpec* spec = Spec("new");
    EXPECT_FALSE(JFileExists(spec));
    EXPECT_EQ(JFileOpen(spec, JFileMode::Read), nullptr);
    EXPECT_FALSE(JFileDelete(spec));
    EXPECT_TRUE(JFileCreate(spec));
    EXPECT_TRUE(JFileExists(spec));
    EXPECT_FALSE(JFileCreate(spec));  // an existing file is left alone
    EXPECT_TRUE(JFileDelete(spec));
    EXPECT_FALSE(JFileExists(spec));
    JFileSpecFree(spec);
}

TEST_F(FileTest, OpenTellsWhyAndNeverWaitsForAPipe) {
    ASSERT_EQ(mkfifo(dir_.File("pipe.gif").c_str(), 0644), 0);
    std::filesystem::create_directory(dir_.File("folder.gif"));
    const std::pair<const char*, JFileProblem> cases[] = {
        {"pipe", JFileProblem::NotRegular},
        {"folder", JFileProblem::Folder},
        {"missing", JFileProblem::Missing},
    };
    for (const auto& [name, problem] : cases) {
        for (JFileMode mode : {JFileMode::Read, JFileMode::Write}) {
            FileSpec* spec = Spec(name);
            // Opening a pipe nobody writes to would wait for ever; the
            // child is killed if it does.
            EXPECT_TRUE(RunInChildWithin(20, [&] {
                JFileProblem why = JFileProblem::None;
                return JFileOpen(spec, mode, &why) == nullptr && why == problem;
            })) << name;
            JFileSpecFree(spec);
        }
    }
    dir_.Write("plain", "GIF89a");
    FileSpec* dotless = JFileSpecFromPath(dir_.File("plain").c_str());
    JFileProblem why = JFileProblem::Other;
    JFile* file = JFileOpen(dotless, JFileMode::Read, &why);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(why, JFileProblem::None);
    char bytes[6];
    std::uint32_t count = sizeof bytes;
    EXPECT_TRUE(JFileRead(file, bytes, &count));
    EXPECT_EQ(count, 6u);
    JFileClose(file);
    JFileSpecFree(dotless);
}

TEST_F(FileTest, WrittenFileIsNotSharedWhileOpen) {
    FileSpec* spec = Spec("locked");
    ASSERT_TRUE(JFileCreate(spec));
    JFile* writer = JFileOpen(spec, JFileMode::Write);
    ASSERT_NE(writer, nullptr);
    EXPECT_EQ(JFileOpen(spec, JFileMode::Read), nullptr);
    JFileClose(writer);
    JFile* reader = JFileOpen(spec, JFileMode::Read);
    JFile* second = JFileOpen(spec, JFileMode::Read);
    EXPECT_NE(reader, nullptr);
    EXPECT_NE(second, nullptr);
    JFileClose(reader);
    JFileClose(second);
    JFileSpecFree(spec);
}

TEST_F(FileTest, ReadLineSplitsAtCarriageReturnLineFeed) {
    dir_.Write("lines.gif", "one\r\ntwo\rx\nthree");
    FileSpec* spec = Spec("lines");
    JFile* file = JFileOpen(spec, JFileMode::Read);
    ASSERT_NE(file, nullptr);
    char buffer[32];
    std::uint32_t count = sizeof buffer;
    ASSERT_TRUE(JFileReadLine(file, buffer, &count));
    EXPECT_EQ(std::string(buffer, count), "one");
    count = sizeof buffer;
    ASSERT_TRUE(JFileReadLine(file, buffer, &count));
    EXPECT_EQ(std::string(buffer, count), "two\rx\nthree");  // the last line has no end
    count = sizeof buffer;
    ASSERT_TRUE(JFileReadLine(file, buffer, &count));
    EXPECT_EQ(count, 0u);
    JFileClose(file);
    JFileSpecFree(spec);
}

TEST_F(FileTest, FullBufferWithoutLineEndIsOneLine) {
    dir_.Write("long.gif", std::string(132, 'a') + "\r\n");
    FileSpec* spec = Spec("long");
    JFile* file = JFileOpen(spec, JFileMode::Read);
    char buffer[132];
    std::uint32_t count = sizeof buffer;
    ASSERT_TRUE(JFileReadLine(file, buffer, &count));
    EXPECT_EQ(count, 132u);
    std::uint32_t position = 0;
    EXPECT_TRUE(JFileTell(file, &position));
    EXPECT_EQ(position, 132u);
    JFileClose(file);
    JFileSpecFree(spec);
}

TEST_F(FileTest, WriteSizeSeekAndSetEnd) {
    FileSpec* spec = Spec("data");
    ASSERT_TRUE(JFileCreate(spec));
    JFile* file = JFileOpen(spec, JFileMode::Write);
    ASSERT_TRUE(JFileWriteLine(file, "abc", 3));
    ASSERT_TRUE(JFileWrite(file, "defg", 4));
    std::uint32_t size = 0;
    EXPECT_TRUE(JFileSize(file, &size));
    EXPECT_EQ(size, 9u);
    EXPECT_TRUE(JFileSetEnd(file, 4));
    std::uint32_t position = 0;
    EXPECT_TRUE(JFileTell(file, &position));
    EXPECT_EQ(position, 9u);  // the position is kept
    EXPECT_TRUE(JFileSeek(file, 1));
    char bytes[8];
    std::uint32_t count = sizeof bytes;
    EXPECT_TRUE(JFileRead(file, bytes, &count));
    EXPECT_EQ(std::string(bytes, count), "bc\r");
    JFileClose(file);
    EXPECT_EQ(dir_.Read("data.gif"), "abc\r");
    JFileSpecFree(spec);
}

}  // namespace
