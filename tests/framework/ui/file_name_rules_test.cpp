#include "framework/ui/file_name_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::vector<std::string> kGifOnly{".gif"};

TEST(FileNameRules, AGifOnlyDialogAppendsAcceptsOrReplaces) {
    // No extension: .gif is appended and the user is told so.
    JExtensionCheck check = JCheckExtension("anim", kGifOnly, 0);
    EXPECT_EQ(check.name, "anim.gif");
    EXPECT_EQ(check.message, 1);
    EXPECT_EQ(check.arguments, std::vector<std::string>{".gif"});
    // .gif in any case is taken as it is.
    check = JCheckExtension("anim.GIF", kGifOnly, 0);
    EXPECT_EQ(check.name, "anim.GIF");
    EXPECT_EQ(check.message, 0);
    // Any other extension is replaced.
    check = JCheckExtension("anim.bmp", kGifOnly, 0);
    EXPECT_EQ(check.name, "anim.gif");
    EXPECT_EQ(check.message, 5);
    EXPECT_EQ(check.arguments, (std::vector<std::string>{".bmp", ".gif"}));
    // A dot in a folder's name is no extension.
    check = JCheckExtension("/pics.old/anim", kGifOnly, 0);
    EXPECT_EQ(check.name, "/pics.old/anim.gif");
}

TEST(FileNameRules, AnotherTypesExtensionSelectsThatType) {
    const std::vector<std::string> types{".gif", ".txt", ".*"};
    JExtensionCheck check = JCheckExtension("notes.TXT", types, 0);
    EXPECT_EQ(check.name, "notes.TXT");
    EXPECT_EQ(check.selectedType, 1);
    EXPECT_EQ(check.message, 3);
    EXPECT_EQ(check.arguments, std::vector<std::string>{".TXT"});
    // From "all files" the change needs no word: the old pattern took it.
    check = JCheckExtension("notes.txt", types, 2);
    EXPECT_EQ(check.selectedType, 1);
    EXPECT_EQ(check.message, 0);
}

TEST(FileNameRules, PatternsAndNamesThisSystemCannotUse) {
    EXPECT_TRUE(JIsFilePattern("*.png"));
    EXPECT_TRUE(JIsFilePattern("frame?.gif"));
    EXPECT_FALSE(JIsFilePattern("anim.gif"));
    EXPECT_FALSE(JFileNameUsable(""));
    EXPECT_FALSE(JFileNameUsable(std::string("a\0b.gif", 7)));
    EXPECT_FALSE(JFileNameUsable(std::string(256, 'n')));
    EXPECT_TRUE(JFileNameUsable(std::string(251, 'n') + ".gif"));
    EXPECT_TRUE(JFileNameUsable("/home/user/" + std::string(255, 'n')));
    EXPECT_FALSE(JFileNameUsable("folder/"));
    // Names that are not UTF-8 are still names.
    EXPECT_TRUE(JFileNameUsable("caf\xE9.gif"));
    EXPECT_EQ(JFileNameExtension("caf\xE9.gif"), ".gif");
}

}  // namespace
