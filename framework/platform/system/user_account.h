// The account the program runs under, as the password database knows it:
// where its home folder is and what the user is called. Environment
// variables are not consulted.
#pragma once

#include <string>

// The home folder ending with "/"; empty when the account has none.
std::string JUserHomeDirectory();

// The user's full name: the account's comment field (GECOS) up to its first
// comma, or the login name when that is empty; empty when the account is
// unknown.
std::string JUserFullName();

// The full name a comment field and a login name give.
std::string JFullNameFromAccount(const char* gecos, const char* login);
