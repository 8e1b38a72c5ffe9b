// Playing a document's animation forwards or backwards, at its own frame
// durations or as fast as the event loop runs, on the framework's one-shot
// timers. Each step is timed from when the previous one was due rather than
// from when it ran, so the time spent drawing frames does not add up over a
// long animation.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "app/codec/document.h"
#include "framework/ui/timers.h"
#include "framework/ui/windows.h"

enum PlaybackMode : int {
    kPlayFastReverse = -2,
    kPlayReverse = -1,
    kPlayStopped = 0,
    kPlayForward = 1,
    kPlayFastForward = 2,
};

struct TimerCancel {
    void operator()(JTimer* timer) const { JTimerCancel(timer); }
};
using PendingTimer = std::unique_ptr<JTimer, TimerCancel>;

// One per document. The timer points back at the record, so it stays where
// it was made; destroying it cancels the pending step.
struct Playback {
    Playback(GifDocument& shown, std::function<void(std::int32_t index)> select)
        : document(shown), selectFrame(std::move(select)) {}
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;

    GifDocument& document;
    // Shows a frame in all the document's windows.
    std::function<void(std::int32_t index)> selectFrame;
    int mode = kPlayStopped;
    PendingTimer timer;
    // When the pending step is due, in ticks of the platform clock.
    std::uint32_t due = 0;
};

// Playing needs two frames or more; with fewer every call below does nothing.
bool CanPlay(const Playback& playback);

// Cancels any pending step, then plays in the mode given, clamped to -2..2;
// 0 stops. Asking for the mode that already plays changes nothing.
void SetPlaybackMode(Playback& playback, int mode);
void StopPlayback(Playback& playback);
// Stop, then show the frame before or after the current one; the ends wrap
// around.
void StepToPreviousFrame(Playback& playback);
void StepToNextFrame(Playback& playback);

// The playback keys: Left and Right step, Escape stops, Up and Down move the
// mode one step towards reverse or forward, Space plays forward when stopped
// and stops otherwise. True when the key was one of them.
bool PlaybackKey(Playback& playback, const JKeyRecord& key);

// The frames before and after the current one, wrapping around at the ends.
std::int32_t PreviousFrameIndex(const GifDocument& document);
std::int32_t NextFrameIndex(const GifDocument& document);
