#include "framework/platform/system/user_account.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

#include "tests/test_process.h"

namespace {

TEST(UserAccountTest, FullNameIsTheCommentFieldUpToItsFirstComma) {
    EXPECT_EQ(JFullNameFromAccount("Ann Example,Room 12,555-0100,,", "ann"), "Ann Example");
    EXPECT_EQ(JFullNameFromAccount("Ann Example", "ann"), "Ann Example");
    EXPECT_EQ(JFullNameFromAccount("José Müller,,,", "jose"), "José Müller");
}

TEST(UserAccountTest, LoginNameStandsInForAnEmptyFullName) {
    EXPECT_EQ(JFullNameFromAccount(",Room 12,,", "ann"), "ann");
    EXPECT_EQ(JFullNameFromAccount("", "ann"), "ann");
    EXPECT_EQ(JFullNameFromAccount(nullptr, "ann"), "ann");
    EXPECT_EQ(JFullNameFromAccount(nullptr, nullptr), "");
}

TEST(UserAccountTest, HomeComesFromThePasswordDatabaseNotTheEnvironment) {
    const passwd* user = getpwuid(getuid());
    if (user == nullptr || user->pw_dir[0] == '\0') {
        GTEST_SKIP() << "this account has no entry with a home folder";
    }
    std::string expected = user->pw_dir;
    if (expected.back() != '/') {
        expected += '/';
    }
    EXPECT_EQ(JUserHomeDirectory(), expected);
    EXPECT_TRUE(RunInChild([] { return setenv("HOME", "/somewhere/else", 1) == 0; },
                           [expected] { return JUserHomeDirectory() == expected; }));
    EXPECT_FALSE(JUserFullName().empty());
}

}  // namespace
