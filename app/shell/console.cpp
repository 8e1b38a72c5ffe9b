#include "app/shell/console.h"

#include <sys/stat.h>
#include <unistd.h>
#include <memory>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/codec/gif_file.h"
#include "app/codec/gif_reader.h"
#include "app/codec/output_stream.h"
#include "app/optimiser/compress.h"
#include "app/optimiser/progress.h"
#include "app/shell/child_jobs.h"
#include "app/shell/console_comments.h"
#include "app/shell/console_timing.h"
#include "app/shell/preferences.h"
#include "framework/core/files.h"
#include "framework/core/format.h"
#include "framework/core/memory.h"
#include "framework/core/resources.h"
#include "framework/core/string_lists.h"
#include "framework/core/strings.h"
#include "framework/ui/alerts.h"

namespace {

// Console texts, read by resource id.
constexpr std::uint16_t kTextUsage = 3000;
constexpr std::uint16_t kTextVersion = 3001;
constexpr std::uint16_t kTextUnknownOption = 3003;
constexpr std::uint16_t kTextNoFile = 3004;
constexpr std::uint16_t kTextNeedsValue = 3005;
constexpr std::uint16_t kTextOutputOneFile = 3006;
constexpr std::uint16_t kTextOneCommand = 3007;
constexpr std::uint16_t kTextAnswer = 3008;
constexpr std::uint16_t kTextPartlyRead = 3009;
// Application texts.
constexpr std::uint16_t kTextOk = 311;
constexpr std::uint16_t kTextFirstBand = 205;

constexpr int kExitHandled = 0;
constexpr int kExitFailed = 1;
constexpr int kExitWrongCommandLine = 2;

enum class Command { None, Test, Save, Output, Help, Version };

struct CommandLine {
    Command command = Command::None;
    const char* outputPath = nullptr;
    std::vector<const char*> files;
    bool yes = false;
    bool quiet = false;
    std::optional<bool> omitFrameTerminators;
    std::optional<bool> excludeOrigin;
    std::optional<bool> smallFirstFrame;
    std::optional<bool> interframeTransparency;
    std::optional<bool> mergeUnchanged;
    std::optional<bool> thorough;
    std::optional<TransparencyBand> band;
    unsigned jobs = 0;  // files handled at once; 0 = one per processor
    CommentEdits comments;
    TimingEdits timing;  // applied to each file before it is compressed
};

// ---------------------------------------------------------------------------
// Messages

struct ConsoleState {
    bool yes = false;
    bool quiet = false;
    int failures = 0;
};
ConsoleState gConsole;

void Print(std::FILE* stream, const char* text) {
    std::fputs(text, stream);
    std::size_t length = JStrLen(text);
    if (length == 0 || text[length - 1] != '\n') {
        std::fputc('\n', stream);
    }
}

// Reports, warnings and questions go to standard output; refusals and
// failures, which are all stop alerts, to standard error.
void Show(AlertKind kind, const char* message) {
    if (kind == AlertKind::Stop) {
        ++gConsole.failures;
        Print(stderr, message);
    } else if (!gConsole.quiet) {
        Print(stdout, message);
    }
}

bool ConsoleAsk(AlertKind kind, const char* message, const char* first, const char* second) {
    Show(kind, message);
    // Acknowledging a warning ("Ok") is not accepting a risk: only real
    // questions wait for --yes.
    bool acknowledgement = second == nullptr || JStrEqual(first, IJString(kTextOk));
    bool answer = acknowledgement || gConsole.yes;
    if (!acknowledgement && !gConsole.quiet) {
        std::fputs(JFormatTemp(JResourceText(kTextAnswer), answer ? first : second), stdout);
    }
    return answer;
}

void ConsoleTell(AlertKind kind, const char* message, const char*, const char*,
                 AlertCallback callback, void* data) {
    Show(kind, message);
    if (callback) {
        callback(data, true);
    }
}

void NoBeep() {}

constexpr AlertDriver kConsoleAlerts{ConsoleAsk, ConsoleTell, NoBeep};

// ---------------------------------------------------------------------------
// Progress bar on a terminal

struct ConsoleBar {
    std::string text;
    std::uint32_t total;
    std::uint32_t done;
};

constexpr int kBarWidth = 30;

// What a longer line drawn before leaves on the right is erased.
constexpr char kEraseToLineEnd[] = "\033[K";

// Where the bar is drawn: the terminal, or the status pipe of a child that
// handles files of a batch.
int gBarFd = STDERR_FILENO;

// Each line goes out in one write, so that a pipe never holds half of one.
void WriteBarLine(const std::string& line) {
    std::fflush(stderr);
    if (write(gBarFd, line.data(), line.size()) < 0) {
        return;  // nothing to do about a terminal that is gone
    }
}

void DrawBar(const ConsoleBar& bar) {
    int filled = bar.total ? int(std::uint64_t{bar.done} * kBarWidth / bar.total) : kBarWidth;
    const int percent = bar.total ? int(std::uint64_t{bar.done} * 100 / bar.total) : 100;
    WriteBarLine("\r" + bar.text + " [" + std::string(std::size_t(filled), '#') +
                 std::string(std::size_t(kBarWidth - filled), ' ') + "] " +
                 std::to_string(percent) + "%" + kEraseToLineEnd);
}

ProgressWindow OpenBar(const char* text, std::uint32_t total, ProgressWindow) {
    auto* bar = new ConsoleBar{text, total, 0};
    DrawBar(*bar);
    return bar;
}
void SetBarText(ProgressWindow window, const char* text) {
    static_cast<ConsoleBar*>(window)->text = text;
}
void SetBarDone(ProgressWindow window, std::uint32_t done) {
    static_cast<ConsoleBar*>(window)->done = done;
}
void RepaintBar(ProgressWindow window) {
    DrawBar(*static_cast<ConsoleBar*>(window));
}
void CloseBar(ProgressWindow window) {
    auto* bar = static_cast<ConsoleBar*>(window);
    WriteBarLine("\r" + std::string(bar->text.size() + kBarWidth + 8, ' ') + "\r");
    delete bar;
}
void NoCursor(bool) {}

// Standard error is a terminal: long work shows a bar there.
bool gShowProgress = false;

// A file that takes more than half a second shows its bar, redrawn five
// times a second; a terminal needs no pause at the end.
constexpr ProgressTiming kTerminalTiming{500, 500, 200, 0};

constexpr ProgressDisplay kTerminalBar{OpenBar,    SetBarText, SetBarDone,
                                       RepaintBar, CloseBar,   NoCursor};

// ---------------------------------------------------------------------------
// The command line

std::optional<bool> YesNo(const char* value) {
    if (JStrEqualNoCase(value, "yes")) {
        return true;
    }
    if (JStrEqualNoCase(value, "no")) {
        return false;
    }
    return std::nullopt;
}

// A band by its name ("ultralow A", or "ultralow-a" to spare the quotes) or
// its number 0 to 6.
std::optional<TransparencyBand> BandNamed(const char* value) {
    std::string wanted = value;
    for (char& c : wanted) {
        c = c == '-' ? ' ' : c;
    }
    for (std::uint8_t band = 0; band < kTransparencyBandCount; ++band) {
        if (JStrEqualNoCase(wanted.c_str(), IJString(kTextFirstBand + band))) {
            return static_cast<TransparencyBand>(band);
        }
    }
    if (value[0] >= '0' && value[0] < '0' + kTransparencyBandCount && value[1] == '\0') {
        return static_cast<TransparencyBand>(value[0] - '0');
    }
    return std::nullopt;
}

bool SetCommand(CommandLine& line, Command command) {
    if (line.command != Command::None && line.command != command) {
        std::fputs(JResourceText(kTextOneCommand), stderr);
        return false;
    }
    line.command = command;
    return true;
}

// `--name=value` or `--name value`; advances `i` past a separate value.
const char* OptionValue(int argc, char** argv, int& i, const char* name) {
    std::size_t length = JStrLen(name);
    if (!JStrEqualN(argv[i], name, length)) {
        return nullptr;
    }
    if (argv[i][length] == '=') {
        return argv[i] + length + 1;
    }
    if (argv[i][length] == '\0' && i + 1 < argc) {
        return argv[++i];
    }
    return nullptr;
}

bool ParseSetting(int argc, char** argv, int& i, CommandLine& line, bool* known) {
    struct FlagOption {
        const char* name;
        std::optional<bool> CommandLine::*value;
    };
    static const FlagOption kFlags[] = {
        {"--omit-frame-terminators", &CommandLine::omitFrameTerminators},
        {"--exclude-origin", &CommandLine::excludeOrigin},
        {"--small-first-frame", &CommandLine::smallFirstFrame},
        {"--interframe-transparency", &CommandLine::interframeTransparency},
        {"--merge-unchanged", &CommandLine::mergeUnchanged},
        {"--thorough", &CommandLine::thorough},
    };
    *known = true;
    // A bare --thorough asks for it, without taking the next argument.
    if (JStrEqual(argv[i], "--thorough")) {
        line.thorough = true;
        return true;
    }
    for (const FlagOption& flag : kFlags) {
        if (JStrEqualN(argv[i], flag.name, JStrLen(flag.name))) {
            const char* value = OptionValue(argc, argv, i, flag.name);
            line.*(flag.value) = value ? YesNo(value) : std::nullopt;
            return (line.*(flag.value)).has_value();
        }
    }
    if (JStrEqualN(argv[i], "--band", 6)) {
        const char* value = OptionValue(argc, argv, i, "--band");
        line.band = value ? BandNamed(value) : std::nullopt;
        return line.band.has_value();
    }
    *known = false;
    return false;
}

constexpr unsigned kMostJobs = 256;

// A whole number from 1 to kMostJobs, else 0.
unsigned JobCount(const char* text) {
    unsigned count = 0;
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9' || count > kMostJobs) {
            return 0;
        }
        count = count * 10 + unsigned(*c - '0');
    }
    return count <= kMostJobs ? count : 0;
}

bool ParseOption(int argc, char** argv, int& i, CommandLine& line) {
    const char* arg = argv[i];
    if (JStrEqual(arg, "--test")) {
        return SetCommand(line, Command::Test);
    }
    if (JStrEqual(arg, "--save")) {
        return SetCommand(line, Command::Save);
    }
    if (JStrEqualN(arg, "--output", 8)) {
        line.outputPath = OptionValue(argc, argv, i, "--output");
        if (!line.outputPath) {
            std::fputs(JFormatTemp(JResourceText(kTextNeedsValue), arg), stderr);
            return false;
        }
        return SetCommand(line, Command::Output);
    }
    if (JStrEqualN(arg, "--jobs", 6)) {
        const char* value = OptionValue(argc, argv, i, "--jobs");
        line.jobs = value ? JobCount(value) : 0;
        if (line.jobs == 0) {
            std::fputs(JFormatTemp(JResourceText(kTextNeedsValue), arg), stderr);
            return false;
        }
        return true;
    }
    if (JStrEqual(arg, "--yes") || JStrEqual(arg, "--quiet")) {
        (arg[2] == 'y' ? line.yes : line.quiet) = true;
        return true;
    }
    if (JStrEqual(arg, "--help") || JStrEqual(arg, "--version")) {
        line.command = arg[2] == 'h' ? Command::Help : Command::Version;
        return true;
    }
    if (const CommentOption comment = ParseCommentOption(argc, argv, i, line.comments);
        comment != CommentOption::NotOne) {
        return comment == CommentOption::Taken;
    }
    const TimingOption timing = ParseTimingOption(argc, argv, i, line.timing);
    if (timing != TimingOption::NotTiming) {
        return timing == TimingOption::Taken;
    }
    bool known = false;
    if (ParseSetting(argc, argv, i, line, &known)) {
        return true;
    }
    std::fputs(JFormatTemp(JResourceText(known ? kTextNeedsValue : kTextUnknownOption), arg),
               stderr);
    return false;
}

bool ParseCommandLine(int argc, char** argv, CommandLine& line) {
    bool filesOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (!filesOnly && JStrEqual(argv[i], "--")) {
            filesOnly = true;
        } else if (!filesOnly && argv[i][0] == '-' && argv[i][1] != '\0') {
            if (!ParseOption(argc, argv, i, line)) {
                return false;
            }
            if (line.command == Command::Help || line.command == Command::Version) {
                return true;
            }
        } else {
            line.files.push_back(argv[i]);
        }
    }
    if (line.command == Command::None || line.files.empty()) {
        std::fputs(JResourceText(line.command == Command::None ? kTextOneCommand : kTextNoFile),
                   stderr);
        return false;
    }
    if (line.command == Command::Output && line.files.size() != 1) {
        std::fputs(JResourceText(kTextOutputOneFile), stderr);
        return false;
    }
    return true;
}

CompressionOptions OptionsFor(const CommandLine& line) {
    CompressionOptions options = CompressionOptionsFromPreferences();
    options.omitFrameTerminators = line.omitFrameTerminators.value_or(options.omitFrameTerminators);
    options.excludeOrigin = line.excludeOrigin.value_or(options.excludeOrigin);
    options.smallFirstFrameRectangle =
        line.smallFirstFrame.value_or(options.smallFirstFrameRectangle);
    options.useInterframeTransparency =
        line.interframeTransparency.value_or(options.useInterframeTransparency);
    options.band = line.band.value_or(options.band);
    options.mergeUnchangedFrames = line.mergeUnchanged.value_or(options.mergeUnchangedFrames);
    options.thorough = line.thorough.value_or(options.thorough);
    return options;
}

// ---------------------------------------------------------------------------
// Running

void HandleFile(const CommandLine& line, const char* path, const CompressionOptions& options) {
    // The console never shows a frame.
    std::unique_ptr<GifDocument> document = OpenGifFile(path, KeyframeUse::Skip);
    if (!document) {
        return;
    }
    if (line.command == Command::Output) {
        // Save as...: the new name becomes the document's before saving.
        JFileProblem problem = JFileProblem::None;
        FileSpec* target = JFileSpecFromPath(line.outputPath, &problem);
        if (!target) {
            TellFileProblem(problem, FileAction::Save, line.outputPath);
            return;
        }
        document->fileSpec.reset(target);
    }
    const bool save = line.command != Command::Test;
    // Saving what a damaged file let us read would lose the rest of it for
    // good; in a batch nobody has seen the warning, so it takes --yes.
    if (save && document->readIncomplete && !gConsole.yes) {
        JTellSimply(JFormatTemp(JResourceText(kTextPartlyRead), path), IJString(kTextOk));
        return;
    }
    ApplyCommentEdits(*document, line.comments, StandardCommentFromPreferences());
    if (!ApplyTimingEdits(*document, line.timing, path)) {
        return;
    }
    CompressCommand(*document, save, options, nullptr);
}

std::vector<std::uint64_t> FileSizes(const std::vector<const char*>& files) {
    std::vector<std::uint64_t> sizes;
    for (const char* file : files) {
        struct stat info {};
        sizes.push_back(stat(file, &info) == 0 ? std::uint64_t(info.st_size) : 0);
    }
    return sizes;
}

}  // namespace

bool IsConsoleCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (JStrEqual(argv[i], "--")) {
            return false;
        }
        if (argv[i][0] == '-' && argv[i][1] != '\0' &&
            !JStrEqualN(argv[i], kSettingsFolderOption, std::strlen(kSettingsFolderOption))) {
            return true;
        }
    }
    return false;
}

int RunConsole(int argc, char** argv) {
    CommandLine line;
    if (!ParseCommandLine(argc, argv, line)) {
        return kExitWrongCommandLine;
    }
    if (line.command == Command::Help || line.command == Command::Version) {
        const char* text = line.command == Command::Help
                               ? JResourceText(kTextUsage)
                               : JFormatTemp(JResourceText(kTextVersion), PINDLE_VERSION);
        std::fputs(text, stdout);
        if (line.command == Command::Help) {
            std::fputs(CommentOptionsHelp(), stdout);
            std::fputs(TimingUsage(), stdout);
        }
        return kExitHandled;
    }
    gConsole = ConsoleState{line.yes, line.quiet, 0};
    JSetAlertDriver(&kConsoleAlerts);
    gShowProgress = isatty(STDERR_FILENO) != 0;
    if (gShowProgress) {
        SetProgressDisplay(&kTerminalBar);
        SetProgressTiming(&kTerminalTiming);
    }
    InitOutput();
    SetFactoryDefaults();
    LoadSettings();  // read only: the console never writes the settings file
    const CompressionOptions options = OptionsFor(line);
    const auto handle = [&line, &options](std::size_t index) {
        if (ChildStatusFd() >= 0 && gShowProgress) {
            gBarFd = ChildStatusFd();
            SetProgressDisplay(&kTerminalBar);
        }
        JTempMark();
        HandleFile(line, line.files[index], options);
        JTempRelease();
        return gConsole.failures > 0 ? kExitFailed : kExitHandled;
    };
    const unsigned jobs = line.jobs ? line.jobs : ProcessorCount();
    const std::vector<std::size_t> starts = BatchStarts(FileSizes(line.files), jobs);
    const auto handleBatch = [&starts, &line, &handle](std::size_t batch) {
        const std::size_t end = batch + 1 < starts.size() ? starts[batch + 1] : line.files.size();
        int status = kExitHandled;
        for (std::size_t i = starts[batch]; i < end; ++i) {
            status = handle(i);
        }
        return status;
    };
    if (jobs > 1 && starts.size() > 1) {
        // Each batch in a process of its own: a child's failures come back
        // as its exit status, and its progress bar reaches the terminal
        // while it is the earliest batch still running.
        SetProgressDisplay(nullptr);
        gConsole.failures += RunInChildren(starts.size(), jobs, handleBatch, gShowProgress);
    } else {
        for (std::size_t i = 0; i < line.files.size(); ++i) {
            handle(i);
        }
    }
    std::fflush(stdout);
    return gConsole.failures > 0 ? kExitFailed : kExitHandled;
}
