#include "framework/platform/system/user_account.h"

#include <pwd.h>
#include <unistd.h>

#include <string_view>

namespace {

const passwd* Account() {
    return getpwuid(getuid());
}

}  // namespace

std::string JUserHomeDirectory() {
    const passwd* user = Account();
    if (user == nullptr || user->pw_dir == nullptr || user->pw_dir[0] == '\0') {
        return {};
    }
    std::string home = user->pw_dir;
    if (home.back() != '/') {
        home += '/';
    }
    return home;
}

std::string JUserFullName() {
    const passwd* user = Account();
    return user ? JFullNameFromAccount(user->pw_gecos, user->pw_name) : std::string();
}

std::string JFullNameFromAccount(const char* gecos, const char* login) {
    // The comment field holds the full name, then office, telephone numbers
    // and so on, separated by commas.
    const std::string_view field = gecos ? gecos : "";
    const std::string_view name = field.substr(0, field.find(','));
    if (!name.empty()) {
        return std::string(name);
    }
    return login ? login : "";
}
