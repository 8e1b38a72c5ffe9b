// The console's timing edits: loop count, frame durations and their
// scaling, background colour and deinterlacing, given as options and
// applied to each file after it is read and before it is compressed.
// Values are read by the rules of the windows' fields and refused with the
// windows' messages.
#pragma once

#include <cstdint>
#include <vector>

#include "app/codec/document.h"
#include "app/edit/durations.h"
#include "app/edit/loop_count.h"

// Frames as the command line numbers them, from 1; `all` is every frame.
struct FrameNumbers {
    std::int32_t first = 1;
    std::int32_t last = 1;
    bool all = false;
};

struct TimingEdit {
    enum class Kind { Loop, Delay, ScaleDurations, Background, Deinterlace };
    Kind kind = Kind::Deinterlace;
    LoopChoice loop = LoopChoice::PlayOnce;
    std::uint16_t loopCount = 0;  // with LoopChoice::Loop
    FrameNumbers frames;          // Delay, ScaleDurations
    std::uint32_t delay = 0;      // hundredths
    double factor = 1;
    DurationLimits limits;
    Rgb colour;
};

// The edits asked for, in the order of the command line.
using TimingEdits = std::vector<TimingEdit>;

enum class TimingOption { NotTiming, Taken, Refused };

// Reads argv[i] when it is a timing option, as `--name=value` or `--name
// value` (advancing i past a separate value). A value the windows would
// not take is refused with their message on standard error.
TimingOption ParseTimingOption(int argc, char** argv, int& i, TimingEdits& edits);

// Applies the edits in order. When some range reaches past the document's
// frames the user is told so and nothing is changed: false.
bool ApplyTimingEdits(GifDocument& document, const TimingEdits& edits, const char* path);

// The help text's lines for these options.
const char* TimingUsage();
