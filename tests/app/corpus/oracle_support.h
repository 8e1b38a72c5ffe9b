// Helpers of the Pillow oracle suite: running programs (the pindle console
// binary, the oracle script) several at a time with their output in files,
// and reading what the oracle script says Pillow shows of each file.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace oracle {

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------
// Running programs

// One program run: its arguments (the first is the program's path), the
// directory it runs in, the files that receive its two outputs, and how long
// it may run before it counts as hung and is killed.
struct Job {
    std::vector<std::string> arguments;
    fs::path directory;
    fs::path out;
    fs::path err;
    double timeoutSeconds = 120;
};

constexpr int kTimedOut = -1;
constexpr int kNotStarted = -2;

// Starts `job`; the child never returns. Only system calls after the fork.
inline pid_t Start(const Job& job) {
    std::vector<char*> argv;
    for (const std::string& argument : job.arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const std::string directory = job.directory.string();
    const std::string out = job.out.string();
    const std::string err = job.err.string();
    const pid_t child = fork();
    if (child != 0) {
        return child;
    }
    const int outFile = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int errFile = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (outFile < 0 || errFile < 0 || chdir(directory.c_str()) != 0 ||
        dup2(outFile, STDOUT_FILENO) < 0 || dup2(errFile, STDERR_FILENO) < 0) {
        _exit(127);
    }
    execv(argv[0], argv.data());
    _exit(127);
}

// The exit status, 128 + the signal for a killed program, or kTimedOut.
inline int StatusOf(int waitStatus) {
    if (WIFEXITED(waitStatus)) {
        return WEXITSTATUS(waitStatus);
    }
    return WIFSIGNALED(waitStatus) ? 128 + WTERMSIG(waitStatus) : kTimedOut;
}

struct Running {
    std::size_t index;
    pid_t pid;
    std::chrono::steady_clock::time_point started;
    double timeoutSeconds;
};

// True when the program has ended (or was ended for taking too long).
inline bool Finished(const Running& running, int& status) {
    int waitStatus = 0;
    if (waitpid(running.pid, &waitStatus, WNOHANG) == running.pid) {
        status = StatusOf(waitStatus);
        return true;
    }
    const std::chrono::duration<double> age = std::chrono::steady_clock::now() - running.started;
    if (age.count() < running.timeoutSeconds) {
        return false;
    }
    kill(running.pid, SIGKILL);
    waitpid(running.pid, &waitStatus, 0);
    status = kTimedOut;
    return true;
}

// Runs every job, up to `parallel` at a time, the first ones first; returns
// each job's status.
inline std::vector<int> RunJobs(const std::vector<Job>& jobs, unsigned parallel) {
    std::vector<int> statuses(jobs.size(), kNotStarted);
    std::vector<Running> running;
    std::size_t next = 0;
    while (next < jobs.size() || !running.empty()) {
        while (next < jobs.size() && running.size() < std::max(1u, parallel)) {
            const pid_t pid = Start(jobs[next]);
            if (pid > 0) {
                running.push_back(
                    {next, pid, std::chrono::steady_clock::now(), jobs[next].timeoutSeconds});
            }
            ++next;
        }
        const auto ended = std::remove_if(running.begin(), running.end(), [&](const Running& job) {
            return Finished(job, statuses[job.index]);
        });
        const bool progress = ended != running.end();
        running.erase(ended, running.end());
        if (!progress) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    return statuses;
}

inline std::string StatusText(int status) {
    if (status == kTimedOut) {
        return "timed out";
    }
    if (status == kNotStarted) {
        return "could not be started";
    }
    return status > 128 ? "killed by signal " + std::to_string(status - 128)
                        : "exit status " + std::to_string(status);
}

// ---------------------------------------------------------------------------
// What Pillow shows

// One screen as the oracle script prints it. Frames showing the same screen
// one after another are one screen, their durations summed.
struct Screen {
    std::string size;      // "WIDTHxHEIGHT"
    std::string duration;  // milliseconds, "-" when Pillow reports none
    std::string hash;      // of the RGBA bytes, transparent pixels made equal
    int frames = 0;        // how many frames showed it; not compared
};

// What Pillow shows of one file: its screens, or why it could not read it.
struct View {
    std::string error;
    std::vector<Screen> screens;
    bool Readable() const { return error.empty(); }
};

using Views = std::map<std::string, View>;

// Reads the script's lines: "file PATH", then "screen SIZE DURATION HASH
// FRAMES" lines or one "error MESSAGE" line.
inline Views ParseViews(const std::string& text) {
    Views views;
    View* current = nullptr;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("file ", 0) == 0) {
            current = &views[line.substr(5)];
        } else if (current && line.rfind("error ", 0) == 0) {
            current->error = line.substr(6);
        } else if (current && line.rfind("screen ", 0) == 0) {
            std::istringstream fields(line.substr(7));
            Screen screen;
            fields >> screen.size >> screen.duration >> screen.hash >> screen.frames;
            current->screens.push_back(screen);
        }
    }
    return views;
}

// Durations compare as Pillow reports them: a frame without a control block
// has none ("-"), which is not the same as 0, since some libraries then
// carry the previous frame's delay over.
inline bool SameDuration(const std::string& a, const std::string& b) {
    return a == b;
}

inline bool SameScreen(const Screen& a, const Screen& b) {
    return a.size == b.size && SameDuration(a.duration, b.duration) && a.hash == b.hash;
}

inline std::string ScreenText(const Screen& screen) {
    return screen.size + " for " + screen.duration + " ms (" + std::to_string(screen.frames) +
           (screen.frames == 1 ? " frame)" : " frames)");
}

// Where two screens first differ: which of size, time and pixels.
inline std::string ScreenDifference(std::size_t index, const Screen& saved,
                                    const Screen& original) {
    std::string what;
    if (saved.size != original.size) {
        what += " size " + saved.size + " instead of " + original.size + ";";
    }
    if (!SameDuration(saved.duration, original.duration)) {
        what += " " + saved.duration + " ms instead of " + original.duration + " ms;";
    }
    if (saved.hash != original.hash) {
        what += " pixels differ;";
    }
    what.pop_back();
    return "screen " + std::to_string(index) + ":" + what + " (saved " + ScreenText(saved) +
           ", original " + ScreenText(original) + ")";
}

// Empty when Pillow shows both files alike; else the screen counts and
// where they first part.
inline std::string ViewDifference(const View& saved, const View& original) {
    if (!saved.Readable()) {
        return "Pillow cannot read the saved file: " + saved.error;
    }
    const std::size_t common = std::min(saved.screens.size(), original.screens.size());
    std::string first;
    for (std::size_t i = 0; i < common && first.empty(); ++i) {
        if (!SameScreen(saved.screens[i], original.screens[i])) {
            first = ScreenDifference(i, saved.screens[i], original.screens[i]);
        }
    }
    if (first.empty() && saved.screens.size() == original.screens.size()) {
        return std::string();
    }
    const std::size_t count = saved.screens.size();
    const std::string counts = std::to_string(count) + (count == 1 ? " screen" : " screens") +
                               " instead of " + std::to_string(original.screens.size());
    return first.empty() ? counts + "; the first " + std::to_string(common) + " agree"
                         : counts + "; first difference at " + first;
}

}  // namespace oracle
