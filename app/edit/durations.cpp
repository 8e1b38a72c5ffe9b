#include "app/edit/durations.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/edit/edit_refresh.h"
#include "app/edit/entry_text.h"
#include "app/edit/frame_span.h"
#include "app/optimiser/progress.h"
#include "framework/core/format.h"
#include "framework/core/string_lists.h"
#include "framework/ui/alerts.h"

namespace {

// Application texts; each message is followed by its button.
constexpr std::uint16_t kTextNotADuration = 88;
constexpr std::uint16_t kTextTooLong = 90;
constexpr std::uint16_t kTextScaling = 380;
constexpr std::uint16_t kTextFactorNotANumber = 382;
constexpr std::uint16_t kTextFactorNegative = 384;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The format matched the whole text but for trailing blanks, and the
// seconds, which every duration format ends with, hold a digit: "%f%" alone
// takes a lone sign, point or blank for a number.
template <typename... Targets>
bool ScanWholeDuration(const char* text, const char* format, Targets&&... targets) {
    if (!JScan(text, format, targets...)) {
        return false;
    }
    const char* end = text + JLastScan().consumed;
    const char* seconds = text;
    for (const char* c = text; c < end; ++c) {
        if (*c == ':') {
            seconds = c + 1;
        }
    }
    return std::any_of(seconds, end, IsDigit) && OnlyBlanks(end);
}

void Tell(const char* message, std::uint16_t text) {
    JBeep();
    JTellSimply(message, IJString(text + 1));
}

// Held below the maximum first and above the minimum last, so that a
// minimum above the maximum gives every frame the minimum.
std::uint32_t Scaled(std::uint32_t delay, double factor, std::uint32_t minimum,
                     std::uint32_t maximum) {
    const double scaled = std::floor(double(delay) * factor + 0.5);
    const std::uint32_t held = scaled < double(maximum) ? std::uint32_t(scaled) : maximum;
    return std::max(held, minimum);
}

}  // namespace

std::string FormatDuration(std::uint32_t hundredths) {
    const std::uint32_t fraction = hundredths % 100;
    const std::uint32_t totalSeconds = hundredths / 100;
    const std::uint32_t seconds = totalSeconds % 60;
    const std::uint32_t minutes = totalSeconds / 60;
    char text[32];
    if (minutes < 60) {
        return JFormatInto(text, sizeof text, "%d%:%d02,2%.%d02,2%", minutes, seconds, fraction);
    }
    return JFormatInto(text, sizeof text, "%d%:%d02,2%:%d02,2%.%d02,2%", minutes / 60, minutes % 60,
                       seconds, fraction);
}

bool ParseDuration(const char* text, std::uint32_t* hundredths) {
    // Hours and minutes take at most nine digits: the scanner would wrap a
    // longer number round to a small one.
    std::int32_t hours = 0;
    std::int32_t minutes = 0;
    double seconds = 0;
    if (!ScanWholeDuration(text, "%dll9%:%dll9%:%f%", &hours, &minutes, &seconds)) {
        hours = 0;
        if (!ScanWholeDuration(text, "%dll9%:%f%", &minutes, &seconds)) {
            minutes = 0;
            if (!ScanWholeDuration(text, "%f%", &seconds)) {
                return false;
            }
        }
    }
    if (hours < 0 || minutes < 0 || seconds < 0) {
        return false;
    }
    const double value = ((double(hours) * 60 + minutes) * 60 + seconds + 0.005) * 100;
    constexpr double kLimit = std::numeric_limits<std::uint32_t>::max();
    *hundredths = value < kLimit ? std::uint32_t(value) : std::uint32_t(kLimit);
    return true;
}

DurationProblem ReadDuration(const char* text, std::uint32_t* hundredths) {
    std::uint32_t value = 0;
    if (!ParseDuration(text, &value)) {
        return DurationProblem::NotADuration;
    }
    *hundredths = std::min(value, kMaxFrameDuration);
    return value > kMaxFrameDuration ? DurationProblem::TooLong : DurationProblem::None;
}

const char* DurationProblemMessage(DurationProblem problem, const char* text) {
    switch (problem) {
        case DurationProblem::NotADuration:
            return JFormatTemp(IJString(kTextNotADuration), text);
        case DurationProblem::TooLong:
            return IJString(kTextTooLong);
        case DurationProblem::None:
            break;
    }
    return nullptr;
}

void TellDurationProblem(DurationProblem problem, const char* text) {
    if (problem != DurationProblem::None) {
        Tell(DurationProblemMessage(problem, text),
             problem == DurationProblem::TooLong ? kTextTooLong : kTextNotADuration);
    }
}

std::uint32_t EnterDuration(const char* text, std::uint32_t previous) {
    std::uint32_t value = previous;
    const DurationProblem problem = ReadDuration(text, &value);
    TellDurationProblem(problem, text);
    return problem == DurationProblem::NotADuration ? previous : value;
}

bool SetFrameDuration(GifDocument& document, std::int32_t index, std::uint32_t hundredths) {
    GifFrame* frame = FrameAt(document, index);
    if (!frame || frame->delay == hundredths) {
        return false;
    }
    document.totalDuration = document.totalDuration - frame->delay + hundredths;
    frame->delay = hundredths;
    if (index == document.currentFrame) {
        RefreshShownValue(document, ShownValue::FrameDuration);
    } else if (index < document.currentFrame) {
        RefreshShownValue(document, ShownValue::FrameStartTime);
    }
    RefreshShownValue(document, ShownValue::TotalDuration);
    return true;
}

bool EnterFrameDuration(GifDocument& document, std::int32_t index, const char* text) {
    GifFrame* frame = FrameAt(document, index);
    if (!frame) {
        return false;
    }
    const bool changed = SetFrameDuration(document, index, EnterDuration(text, frame->delay));
    if (!changed && index == document.currentFrame) {
        // The field shows the value kept, not what was typed.
        RefreshShownValue(document, ShownValue::FrameDuration);
    }
    return changed;
}

FactorProblem ReadScalingFactor(const char* text, double* factor) {
    const char* cursor = text;
    double value = 0;
    // A lone sign or point is no number, nor are digits beyond any double.
    if (!JScanAdvance(&cursor, "%f%", &value) || !std::any_of(text, cursor, IsDigit) ||
        !OnlyBlanks(cursor) || !std::isfinite(value)) {
        return FactorProblem::NotANumber;
    }
    if (value < 0) {
        return FactorProblem::Negative;
    }
    *factor = value;
    return FactorProblem::None;
}

const char* FactorProblemMessage(FactorProblem problem, const char* text) {
    switch (problem) {
        case FactorProblem::NotANumber:
            return JFormatTemp(IJString(kTextFactorNotANumber), text);
        case FactorProblem::Negative:
            return IJString(kTextFactorNegative);
        case FactorProblem::None:
            break;
    }
    return nullptr;
}

void TellFactorProblem(FactorProblem problem, const char* text) {
    if (problem != FactorProblem::None) {
        Tell(FactorProblemMessage(problem, text),
             problem == FactorProblem::Negative ? kTextFactorNegative : kTextFactorNotANumber);
    }
}

void EnterMinimumDuration(DurationLimits& limits, std::uint32_t hundredths) {
    if (hundredths > limits.maximum) {
        limits.minimum = limits.maximum;
        limits.maximum = hundredths;
    } else {
        limits.minimum = hundredths;
    }
}

void EnterMaximumDuration(DurationLimits& limits, std::uint32_t hundredths) {
    if (hundredths < limits.minimum) {
        limits.maximum = limits.minimum;
        limits.minimum = hundredths;
    } else {
        limits.maximum = hundredths;
    }
}

void ScaleDurations(GifDocument& document, std::int32_t first, std::int32_t last, double factor,
                    std::uint32_t minimum, std::uint32_t maximum) {
    const FrameSpan span = ClampToFrames(document, first, last);
    if (span.Empty()) {
        return;
    }
    BeginPacedProgress(IJString(kTextScaling), span.Count());
    std::uint32_t oldSum = 0;
    std::uint32_t newSum = 0;
    for (std::int32_t i = span.first; i <= span.last; ++i) {
        GifFrame& frame = *document.frames[std::size_t(i)];
        const std::uint32_t scaled = Scaled(frame.delay, factor, minimum, maximum);
        oldSum += frame.delay;
        newSum += scaled;
        frame.delay = scaled;
        if (i == document.currentFrame) {
            RefreshShownValue(document, ShownValue::FrameDuration);
        }
        StepPacedProgress(1);
    }
    EndPacedProgress();
    if (span.first < document.currentFrame) {
        RefreshShownValue(document, ShownValue::FrameStartTime);
    }
    // The total is a 32-bit sum: taking the old part away and adding the
    // new one is exact in its arithmetic even if it once wrapped.
    document.totalDuration = document.totalDuration - oldSum + newSum;
    RefreshShownValue(document, ShownValue::TotalDuration);
}
