#include "app/shell/child_jobs.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

// One child: its process, the read ends of its two pipes and what came
// through them.
struct Child {
    pid_t pid = -1;
    int out = -1;
    int err = -1;
    std::string outText;
    std::string errText;
    int status = 0;
    bool done = false;
};

void WriteAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        written += std::size_t(n);
    }
}

// Runs work(index) in a new process whose output goes into two pipes.
// Without a pipe or a process the work runs here, with the same result.
Child Start(std::size_t index, const std::function<int(std::size_t)>& work) {
    Child child;
    int out[2];
    int err[2];
    if (pipe(out) != 0) {
        child.status = work(index);
        child.done = true;
        return child;
    }
    if (pipe(err) != 0) {
        close(out[0]);
        close(out[1]);
        child.status = work(index);
        child.done = true;
        return child;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    child.pid = fork();
    if (child.pid == 0) {
        close(out[0]);
        close(err[0]);
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        const int status = work(index);
        std::fflush(stdout);
        std::fflush(stderr);
        _exit(status);
    }
    close(out[1]);
    close(err[1]);
    if (child.pid < 0) {
        close(out[0]);
        close(err[0]);
        child.status = work(index);
        child.done = true;
        return child;
    }
    child.out = out[0];
    child.err = err[0];
    return child;
}

// Reads what is there from one pipe; closes it at its end.
void Drain(int& fd, std::string& text) {
    char buffer[4096];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) {
        text.append(buffer, std::size_t(n));
    } else if (n == 0 || errno != EINTR) {
        close(fd);
        fd = -1;
    }
}

// Waits for output from the running children and reaps those whose pipes
// have both closed.
void Collect(std::vector<Child>& children) {
    std::vector<pollfd> polls;
    std::vector<std::pair<int*, std::string*>> targets;
    for (Child& child : children) {
        for (auto [fd, text] :
             {std::pair{&child.out, &child.outText}, std::pair{&child.err, &child.errText}}) {
            if (*fd >= 0) {
                polls.push_back(pollfd{*fd, POLLIN, 0});
                targets.emplace_back(fd, text);
            }
        }
    }
    if (!polls.empty() && poll(polls.data(), polls.size(), -1) > 0) {
        for (std::size_t i = 0; i < polls.size(); ++i) {
            if (polls[i].revents != 0) {
                Drain(*targets[i].first, *targets[i].second);
            }
        }
    }
    for (Child& child : children) {
        if (!child.done && child.out < 0 && child.err < 0) {
            int status = 0;
            while (waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
            }
            child.status = WIFEXITED(status) ? WEXITSTATUS(status) : 1;
            child.done = true;
        }
    }
}

}  // namespace

int RunInChildren(std::size_t count, unsigned jobs, const std::function<int(std::size_t)>& work) {
    std::vector<Child> children;
    children.reserve(count);
    std::size_t shown = 0;
    int failures = 0;
    while (shown < count) {
        std::size_t running = 0;
        for (std::size_t i = shown; i < children.size(); ++i) {
            running += children[i].done ? 0 : 1;
        }
        if (children.size() < count && running < std::max(jobs, 1u)) {
            children.push_back(Start(children.size(), work));
            continue;
        }
        if (!children[shown].done) {
            Collect(children);
        }
        while (shown < children.size() && children[shown].done) {
            Child& child = children[shown++];
            std::fflush(stdout);
            std::fflush(stderr);
            WriteAll(STDOUT_FILENO, child.outText);
            WriteAll(STDERR_FILENO, child.errText);
            failures += child.status != 0 ? 1 : 0;
            child.outText.clear();
            child.errText.clear();
        }
    }
    return failures;
}

std::vector<std::size_t> BatchStarts(const std::vector<std::uint64_t>& sizes, unsigned jobs) {
    constexpr unsigned kBatchesPerJob = 4;
    constexpr std::uint64_t kSmallestBatch = 256 * 1024;
    std::uint64_t total = 0;
    for (std::uint64_t size : sizes) {
        total += size;
    }
    const std::uint64_t target = std::max<std::uint64_t>(
        total / (std::uint64_t(std::max(jobs, 1u)) * kBatchesPerJob), kSmallestBatch);
    std::vector<std::size_t> starts{0};
    std::uint64_t filled = 0;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (filled >= target) {
            starts.push_back(i);
            filled = 0;
        }
        filled += sizes[i];
    }
    return starts;
}

unsigned ProcessorCount() {
    return std::max(std::thread::hardware_concurrency(), 1u);
}
