#include "framework/ui/file_lists.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/test_directory.h"

namespace {

TEST(FileLists, NamesThatAreNotUtf8AreShownWithReplacementsAndKeptAsTheyAre) {
    TestDirectory dir;
    const std::string latin1 = "caf\xE9.gif";    // Latin-1, not UTF-8
    const std::string utf8 = "caf\xC3\xA9.gif";  // the same name in UTF-8
    const std::string overlong =
        "a\xC0\xAF"
        "b.gif";  // an overlong "/"
    for (const std::string& name : {latin1, utf8, overlong, std::string("Zebra.GIF"),
                                    std::string("notes.txt"), std::string(".hidden.gif")}) {
        std::ofstream(dir.File(name)) << "x";
    }
    std::filesystem::create_directory(dir.File("sub"));
    JFileListing listing;
    ASSERT_TRUE(JFillFileListing(dir.path(), "*.gif", &listing));
    EXPECT_EQ(listing.directories, (std::vector<std::string>{"..", "sub"}));
    EXPECT_EQ(listing.shownDirectories, (std::vector<std::string>{"[..]", "[sub]"}));
    ASSERT_EQ(listing.files.size(), 4u);  // no hidden file, no other pattern
    ASSERT_EQ(listing.shownFiles.size(), listing.files.size());
    for (std::size_t i = 0; i < listing.files.size(); ++i) {
        const std::string& name = listing.files[i];
        const std::string& shown = listing.shownFiles[i];
        if (name == latin1) {
            EXPECT_EQ(shown, "caf\xEF\xBF\xBD.gif");
        } else if (name == overlong) {
            EXPECT_EQ(shown,
                      "a\xEF\xBF\xBD\xEF\xBF\xBD"
                      "b.gif");
        } else {
            EXPECT_EQ(shown, name);  // valid UTF-8 stays as it is
        }
        // The name as found opens the file.
        EXPECT_TRUE(std::filesystem::exists(dir.File(name))) << shown;
    }
    EXPECT_FALSE(JFillFileListing(dir.File("missing/"), "*.gif", &listing));
}

TEST(FileLists, ShownNamesKeepEveryValidSequence) {
    EXPECT_EQ(JShownFileName("\xF0\x9F\x8E\x9E.gif"), "\xF0\x9F\x8E\x9E.gif");  // four bytes
    EXPECT_EQ(JShownFileName("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");  // surrogate
    EXPECT_EQ(JShownFileName("end\xE2\x82"), "end\xEF\xBF\xBD\xEF\xBF\xBD");            // cut short
}

}  // namespace
