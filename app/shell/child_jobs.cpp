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

int gStatusFd = -1;

// One child: its process, the read ends of its pipes and what came through
// them.
struct Child {
    pid_t pid = -1;
    int out = -1;
    int err = -1;
    int progress = -1;  // progress lines
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

// A pipe, or none (both ends -1).
struct Pipe {
    int read = -1;
    int write = -1;
};

Pipe MakePipe() {
    int ends[2];
    return pipe(ends) == 0 ? Pipe{ends[0], ends[1]} : Pipe{};
}

void Close(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

// Runs work(index) in a new process whose output goes into pipes. Without
// pipes or a process the work runs here, with the same result.
Child Start(std::size_t index, const std::function<int(std::size_t)>& work) {
    Child child;
    Pipe out = MakePipe();
    Pipe err = MakePipe();
    Pipe status = MakePipe();
    std::fflush(stdout);
    std::fflush(stderr);
    const bool piped = out.read >= 0 && err.read >= 0 && status.read >= 0;
    child.pid = piped ? fork() : -1;
    if (child.pid == 0) {
        Close(out.read);
        Close(err.read);
        Close(status.read);
        dup2(out.write, STDOUT_FILENO);
        dup2(err.write, STDERR_FILENO);
        gStatusFd = status.write;
        const int result = work(index);
        std::fflush(stdout);
        std::fflush(stderr);
        _exit(result);
    }
    Close(out.write);
    Close(err.write);
    Close(status.write);
    if (child.pid < 0) {
        Close(out.read);
        Close(err.read);
        Close(status.read);
        child.status = work(index);
        child.done = true;
        return child;
    }
    child.out = out.read;
    child.err = err.read;
    child.progress = status.read;
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

// Waits for output from the running children, passes the earliest one's
// status on when asked to, and reaps those whose pipes have all closed.
void Collect(std::vector<Child>& children, std::size_t earliest, bool passStatus) {
    std::vector<pollfd> polls;
    std::vector<std::pair<int*, std::string*>> targets;
    std::string status;
    for (std::size_t c = 0; c < children.size(); ++c) {
        Child& child = children[c];
        for (auto [fd, text] :
             {std::pair{&child.out, &child.outText}, std::pair{&child.err, &child.errText}}) {
            if (*fd >= 0) {
                polls.push_back(pollfd{*fd, POLLIN, 0});
                targets.emplace_back(fd, text);
            }
        }
        if (child.progress >= 0) {
            polls.push_back(pollfd{child.progress, POLLIN, 0});
            targets.emplace_back(&child.progress, c == earliest && passStatus ? &status : nullptr);
        }
    }
    if (!polls.empty() && poll(polls.data(), polls.size(), -1) > 0) {
        for (std::size_t i = 0; i < polls.size(); ++i) {
            if (polls[i].revents != 0) {
                std::string dropped;
                Drain(*targets[i].first, targets[i].second ? *targets[i].second : dropped);
            }
        }
    }
    WriteAll(STDERR_FILENO, status);
    for (Child& child : children) {
        if (!child.done && child.out < 0 && child.err < 0 && child.progress < 0) {
            int result = 0;
            while (waitpid(child.pid, &result, 0) < 0 && errno == EINTR) {
            }
            child.status = WIFEXITED(result) ? WEXITSTATUS(result) : 1;
            child.done = true;
        }
    }
}

}  // namespace

int RunInChildren(std::size_t count, unsigned jobs, const std::function<int(std::size_t)>& work,
                  bool passStatus) {
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
            Collect(children, shown, passStatus);
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

int ChildStatusFd() {
    return gStatusFd;
}

unsigned ProcessorCount() {
    return std::max(std::thread::hardware_concurrency(), 1u);
}
