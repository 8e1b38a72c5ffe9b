// Runs a system call again when a signal interrupted it.
#pragma once

#include <cerrno>

template <typename Call>
auto Retry(Call call) {
    auto result = call();
    while (result == -1 && errno == EINTR) {
        result = call();
    }
    return result;
}
