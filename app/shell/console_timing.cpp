#include "app/shell/console_timing.h"

#include <chrono>
#include <climits>
#include <cstdio>
#include <string>

#include "app/edit/background_colour.h"
#include "app/edit/deinterlace.h"
#include "app/edit/entry_text.h"
#include "app/optimiser/progress.h"
#include "framework/core/format.h"
#include "framework/core/resources.h"
#include "framework/core/string_lists.h"
#include "framework/core/strings.h"
#include "framework/ui/alerts.h"

namespace {

// Console texts, read by resource id.
constexpr std::uint16_t kTextNeedsValue = 3005;
constexpr std::uint16_t kTextUsage = 3020;
constexpr std::uint16_t kTextRefused = 3021;
constexpr std::uint16_t kTextFileLeft = 3022;
// Application texts: the frame-number field's messages, each followed by
// its button.
constexpr std::uint16_t kTextFrameNotAnInteger = 66;
constexpr std::uint16_t kTextFrameNotPositive = 76;
constexpr std::uint16_t kTextOnlyOneFrame = 78;
constexpr std::uint16_t kTextOnlyFrames = 80;
constexpr std::uint16_t kTextOnlyFramesOk = 79;

// ---------------------------------------------------------------------------
// Reading the options

// Why a value was refused: the windows' message, or null when it was taken.
using Problem = const char*;

// The frame-number field's rules: an integer, and positive.
Problem ReadFrameNumber(const std::string& text, std::int32_t* number) {
    std::int64_t value = 0;
    if (!ReadWholeNumber(text.c_str(), &value)) {
        return JFormatTemp(IJString(kTextFrameNotAnInteger), text.c_str());
    }
    if (value <= 0) {
        return IJString(kTextFrameNotPositive);
    }
    *number = std::int32_t(std::min<std::int64_t>(value, INT_MAX));
    return nullptr;
}

// "all", N or N-M; the ends are put in order.
Problem ReadFrames(const std::string& text, FrameNumbers* frames) {
    if (JStrEqual(text.c_str(), "all")) {
        frames->all = true;
        return nullptr;
    }
    // The dash after the first digit parts the ends; one before it is a sign.
    const std::size_t digit = text.find_first_of("0123456789");
    const std::size_t dash = digit == std::string::npos ? digit : text.find('-', digit);
    const std::string first = text.substr(0, dash);
    const std::string last = dash == std::string::npos ? first : text.substr(dash + 1);
    std::int32_t a = 0;
    std::int32_t b = 0;
    if (Problem problem = ReadFrameNumber(first, &a)) {
        return problem;
    }
    if (Problem problem = ReadFrameNumber(last, &b)) {
        return problem;
    }
    *frames = FrameNumbers{std::min(a, b), std::max(a, b), false};
    return nullptr;
}

// Over the limit is refused here rather than held at it: nobody sees the
// field show the limit, and a script is better stopped than surprised.
Problem ReadDurationValue(const std::string& text, std::uint32_t* hundredths) {
    return DurationProblemMessage(ReadDuration(text.c_str(), hundredths), text.c_str());
}

Problem ReadLoop(const std::string& text, TimingEdit& edit) {
    edit.kind = TimingEdit::Kind::Loop;
    if (JStrEqual(text.c_str(), "forever")) {
        edit.loop = LoopChoice::LoopForever;
        return nullptr;
    }
    if (JStrEqual(text.c_str(), "none")) {
        edit.loop = LoopChoice::PlayOnce;
        return nullptr;
    }
    edit.loop = LoopChoice::Loop;
    return LoopCountProblemMessage(ReadLoopCount(text.c_str(), &edit.loopCount), text.c_str());
}

Problem ReadDelay(const std::string& range, const std::string& duration, TimingEdit& edit) {
    edit.kind = TimingEdit::Kind::Delay;
    if (Problem problem = ReadFrames(range, &edit.frames)) {
        return problem;
    }
    return ReadDurationValue(duration, &edit.delay);
}

// FACTOR[,MIN[,MAX]]; the limits are entered one after the other, as in
// the window, so that a minimum above the maximum swaps them.
Problem ReadScaling(const std::string& range, const std::string& value, TimingEdit& edit) {
    edit.kind = TimingEdit::Kind::ScaleDurations;
    if (Problem problem = ReadFrames(range, &edit.frames)) {
        return problem;
    }
    const std::size_t comma = value.find(',');
    const std::string factor = value.substr(0, comma);
    if (Problem problem =
            FactorProblemMessage(ReadScalingFactor(factor.c_str(), &edit.factor), factor.c_str())) {
        return problem;
    }
    if (comma == std::string::npos) {
        return nullptr;
    }
    const std::size_t second = value.find(',', comma + 1);
    std::uint32_t limit = 0;
    if (Problem problem = ReadDurationValue(value.substr(comma + 1, second - comma - 1), &limit)) {
        return problem;
    }
    EnterMinimumDuration(edit.limits, limit);
    if (second == std::string::npos) {
        return nullptr;
    }
    if (Problem problem = ReadDurationValue(value.substr(second + 1), &limit)) {
        return problem;
    }
    EnterMaximumDuration(edit.limits, limit);
    return nullptr;
}

Problem ReadBackground(const std::string& text, TimingEdit& edit) {
    edit.kind = TimingEdit::Kind::Background;
    return ReadBackgroundColour(text.c_str(), &edit.colour) ? nullptr
                                                            : BackgroundColourMessage(text.c_str());
}

// `--name=value` or `--name value`; null when argv[i] is not the option.
// `missing` is set when it is, but has no value.
const char* OptionValue(int argc, char** argv, int& i, const char* name, bool* missing) {
    const std::size_t length = JStrLen(name);
    if (!JStrEqualN(argv[i], name, length) || (argv[i][length] != '=' && argv[i][length] != 0)) {
        return nullptr;
    }
    if (argv[i][length] == '=') {
        return argv[i] + length + 1;
    }
    if (i + 1 < argc) {
        return argv[++i];
    }
    *missing = true;
    return nullptr;
}

TimingOption Refuse(const char* option, const char* value, const char* message) {
    std::fputs(JFormatTemp(JResourceText(kTextRefused), option, value, message), stderr);
    return TimingOption::Refused;
}

// ---------------------------------------------------------------------------
// Applying them

// Edits in a batch need no second on the screen each: the console runs
// them without the paced progress's waits.
std::uint32_t SteadyNow() {
    using namespace std::chrono;
    return std::uint32_t(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
void NoWait(std::uint32_t) {}
constexpr ProgressClock kUnpacedClock{SteadyNow, NoWait};

bool UsesFrames(const TimingEdit& edit) {
    return edit.kind == TimingEdit::Kind::Delay || edit.kind == TimingEdit::Kind::ScaleDurations;
}

// The windows' message for a frame number past the end, or null.
Problem FramesBeyond(const GifDocument& document, const TimingEdits& edits) {
    const std::int32_t count = std::int32_t(document.frames.size());
    for (const TimingEdit& edit : edits) {
        if (UsesFrames(edit) && !edit.frames.all && edit.frames.last > count) {
            return JFormatTemp(IJString(count == 1 ? kTextOnlyOneFrame : kTextOnlyFrames), count,
                               edit.frames.last);
        }
    }
    return nullptr;
}

void Apply(GifDocument& document, const TimingEdit& edit) {
    const std::int32_t last = std::int32_t(document.frames.size()) - 1;
    const std::int32_t first = edit.frames.all ? 0 : edit.frames.first - 1;
    const std::int32_t end = edit.frames.all ? last : edit.frames.last - 1;
    switch (edit.kind) {
        case TimingEdit::Kind::Loop:
            SetLoopMode(document, edit.loop);
            if (edit.loop == LoopChoice::Loop) {
                SetLoopCount(document, edit.loopCount);
            }
            break;
        case TimingEdit::Kind::Delay:
            for (std::int32_t i = first; i <= end; ++i) {
                SetFrameDuration(document, i, edit.delay);
            }
            break;
        case TimingEdit::Kind::ScaleDurations:
            ScaleDurations(document, first, end, edit.factor, edit.limits.minimum,
                           edit.limits.maximum);
            break;
        case TimingEdit::Kind::Background:
            SetBackgroundColour(document, edit.colour);
            break;
        case TimingEdit::Kind::Deinterlace:
            // Every frame of a document read decodes, so each one is
            // re-encoded; one that did not would stay as it was.
            DeinterlaceFrames(document, 0, last);
            break;
    }
}

}  // namespace

TimingOption ParseTimingOption(int argc, char** argv, int& i, TimingEdits& edits) {
    if (JStrEqual(argv[i], "--deinterlace")) {
        edits.push_back(TimingEdit{});
        return TimingOption::Taken;
    }
    enum class Named { Loop, Delay, Scaling, Background };
    struct ValueOption {
        const char* name;
        Named which;
    };
    static const ValueOption kOptions[] = {{"--loop-count", Named::Loop},
                                           {"--delay", Named::Delay},
                                           {"--scale-durations", Named::Scaling},
                                           {"--background", Named::Background}};
    const char* arg = argv[i];
    for (const ValueOption& option : kOptions) {
        bool missing = false;
        const char* value = OptionValue(argc, argv, i, option.name, &missing);
        if (missing) {
            std::fputs(JFormatTemp(JResourceText(kTextNeedsValue), arg), stderr);
            return TimingOption::Refused;
        }
        if (!value) {
            continue;
        }
        const std::string text = value;
        // Durations and factors go after the frames they apply to.
        const std::size_t equals = text.find('=');
        const std::string range = text.substr(0, equals);
        const std::string rest = equals == std::string::npos ? "" : text.substr(equals + 1);
        const bool ranged = option.which == Named::Delay || option.which == Named::Scaling;
        if (ranged && equals == std::string::npos) {
            std::fputs(JFormatTemp(JResourceText(kTextNeedsValue), option.name), stderr);
            return TimingOption::Refused;
        }
        TimingEdit edit;
        Problem problem = nullptr;
        switch (option.which) {
            case Named::Loop:
                problem = ReadLoop(text, edit);
                break;
            case Named::Delay:
                problem = ReadDelay(range, rest, edit);
                break;
            case Named::Scaling:
                problem = ReadScaling(range, rest, edit);
                break;
            case Named::Background:
                problem = ReadBackground(text, edit);
                break;
        }
        if (problem) {
            return Refuse(option.name, value, problem);
        }
        edits.push_back(edit);
        return TimingOption::Taken;
    }
    return TimingOption::NotTiming;
}

bool ApplyTimingEdits(GifDocument& document, const TimingEdits& edits, const char* path) {
    if (Problem problem = FramesBeyond(document, edits)) {
        JBeep();
        JTellSimply(JFormatTemp(JResourceText(kTextFileLeft), path, problem),
                    IJString(kTextOnlyFramesOk));
        return false;
    }
    if (edits.empty()) {
        return true;
    }
    SetProgressClock(&kUnpacedClock);
    for (const TimingEdit& edit : edits) {
        Apply(document, edit);
    }
    SetProgressClock(nullptr);
    return true;
}

const char* TimingUsage() {
    return JResourceText(kTextUsage);
}
