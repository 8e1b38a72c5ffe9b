// Frame durations in hundredths of a second, the GIF delay unit: the one
// text form every window shows a duration in, the one parser every duration
// field reads with, a frame's duration typed in, and the scaling of the
// durations of a range of frames within limits.
#pragma once

#include <cstdint>
#include <string>

#include "app/codec/document.h"

// The graphic control extension holds 16 bits: 10:55.35.
constexpr std::uint32_t kMaxFrameDuration = 65535;

// m:ss.hh below an hour, h:mm:ss.hh from an hour on: 100 is 0:01.00 and
// 360000 is 1:00:00.00.
std::string FormatDuration(std::uint32_t hundredths);

// hours:minutes:seconds.hundredths or an abbreviation of it (minutes:seconds,
// or seconds alone): 2, 1:30, 0.5 and 1:2:3.04 are 200, 9000, 50 and 372304.
// Minutes and seconds may exceed 59; nothing may be negative, and nothing
// but blanks may follow. Values past 32 bits are held at the 32-bit limit.
bool ParseDuration(const char* text, std::uint32_t* hundredths);

// What is wrong with a typed duration.
enum class DurationProblem { None, NotADuration, TooLong };

// Reads a typed duration; a TooLong one gives kMaxFrameDuration.
DurationProblem ReadDuration(const char* text, std::uint32_t* hundredths);
// The message for a problem; `text` is what was typed. Null for None.
const char* DurationProblemMessage(DurationProblem problem, const char* text);
// Beeps and tells the problem's message; nothing for None.
void TellDurationProblem(DurationProblem problem, const char* text);

// The rule of every duration field: the value the field takes from the
// text, after telling the user what was wrong. A text that is no duration
// keeps `previous`; one above the limit gives the limit.
std::uint32_t EnterDuration(const char* text, std::uint32_t previous);

// Gives a frame a new duration and keeps the total up to date; false when
// the frame already had it (or there is no such frame).
bool SetFrameDuration(GifDocument& document, std::int32_t index, std::uint32_t hundredths);
// A frame's duration field: the entry rule, then SetFrameDuration. The
// field shows the value taken even when nothing changed.
bool EnterFrameDuration(GifDocument& document, std::int32_t index, const char* text);

// What is wrong with a typed scaling factor. Zero is a factor.
enum class FactorProblem { None, NotANumber, Negative };

FactorProblem ReadScalingFactor(const char* text, double* factor);
const char* FactorProblemMessage(FactorProblem problem, const char* text);
void TellFactorProblem(FactorProblem problem, const char* text);

// The limits a scaled duration is kept within. Entering one limit beyond
// the other swaps their roles, so that the minimum never exceeds the
// maximum: a new minimum above the maximum makes the old maximum the
// minimum and the new value the maximum, and the other way round.
struct DurationLimits {
    std::uint32_t minimum = 1;
    std::uint32_t maximum = kMaxFrameDuration;
};
void EnterMinimumDuration(DurationLimits& limits, std::uint32_t hundredths);
void EnterMaximumDuration(DurationLimits& limits, std::uint32_t hundredths);

// Multiplies the durations of frames first to last (inclusive, clamped to
// the frames there are) by the factor, rounding to the nearest hundredth,
// and keeps each result within the limits; a minimum above the maximum
// wins. Paced progress, one step per frame.
void ScaleDurations(GifDocument& document, std::int32_t first, std::int32_t last, double factor,
                    std::uint32_t minimum, std::uint32_t maximum);
