// Runs a piece of a test in a child process under conditions a test cannot
// set up for itself: without superuser rights (which ignore read-only
// directories), or with a limit on how large files may grow (a full disk).
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

// The child's exit status 0 means `work` returned true.
inline bool RunInChild(const std::function<bool()>& prepare, const std::function<bool()>& work) {
    pid_t child = fork();
    if (child == 0) {
        _exit(prepare() && work() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Runs `work` in a child that is killed if it takes longer than `seconds`:
// a call that blocks for ever fails the test instead of hanging it.
inline bool RunInChildWithin(unsigned seconds, const std::function<bool()>& work) {
    return RunInChild(
        [seconds] {
            alarm(seconds);
            return true;
        },
        work);
}

constexpr id_t kNobody = 65534;

// Runs `work` as the user nobody when the tests run as root.
inline bool RunAsOrdinaryUser(const std::function<bool()>& work) {
    if (geteuid() != 0) {
        return work();
    }
    return RunInChild([] { return setgid(kNobody) == 0 && setuid(kNobody) == 0; }, work);
}

// Runs `work` where no file may grow past `limit` bytes.
inline bool RunWithFileSizeLimit(rlim_t limit, const std::function<bool()>& work) {
    return RunInChild(
        [limit] {
            signal(SIGXFSZ, SIG_IGN);
            rlimit small{limit, limit};
            return setrlimit(RLIMIT_FSIZE, &small) == 0;
        },
        work);
}
