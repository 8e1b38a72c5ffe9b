#include "app/shell/playback.h"

#include <algorithm>

#include "framework/platform/platform.h"

namespace {

// A step more than this late (the loop was held up, say by a modal dialog)
// starts the timing afresh rather than racing through the frames missed.
constexpr std::int32_t kMostLateMs = 250;

bool Fast(int mode) {
    return mode == kPlayFastReverse || mode == kPlayFastForward;
}

std::uint32_t DurationMs(const GifDocument& document, std::int32_t index) {
    const GifFrame* frame = FrameAt(document, index);
    return frame != nullptr ? frame->delay * 10 : 0;
}

// Negative when `tick` comes before `reference`; right across the wrap.
std::int32_t TicksAfter(std::uint32_t tick, std::uint32_t reference) {
    return static_cast<std::int32_t>(tick - reference);
}

void Tick(void* argument);

// Sets the next step `afterMs` after the one now due.
void ArmTimer(Playback& playback, std::uint32_t afterMs) {
    const std::uint32_t now = JTickCount();
    playback.due += afterMs;
    if (TicksAfter(now, playback.due) > kMostLateMs) {
        playback.due = now + afterMs;
    }
    const std::int32_t wait = std::max<std::int32_t>(0, TicksAfter(playback.due, now));
    playback.timer.reset(JTimerNew(Tick, &playback, static_cast<std::uint32_t>(wait)));
}

void Tick(void* argument) {
    Playback& playback = *static_cast<Playback*>(argument);
    // The timer has run and the event loop frees it.
    [[maybe_unused]] JTimer* ran = playback.timer.release();
    const bool backwards = playback.mode < 0;
    const std::int32_t target =
        backwards ? PreviousFrameIndex(playback.document) : NextFrameIndex(playback.document);
    ArmTimer(playback, Fast(playback.mode) ? 0 : DurationMs(playback.document, target));
    playback.selectFrame(target);
}

void Step(Playback& playback, std::int32_t target) {
    StopPlayback(playback);
    playback.selectFrame(target);
}

}  // namespace

bool CanPlay(const Playback& playback) {
    return playback.document.frames.size() >= 2;
}

std::int32_t PreviousFrameIndex(const GifDocument& document) {
    const auto count = static_cast<std::int32_t>(document.frames.size());
    return document.currentFrame <= 0 ? count - 1 : document.currentFrame - 1;
}

std::int32_t NextFrameIndex(const GifDocument& document) {
    const auto count = static_cast<std::int32_t>(document.frames.size());
    return document.currentFrame + 1 >= count || document.currentFrame < 0
               ? 0
               : document.currentFrame + 1;
}

void SetPlaybackMode(Playback& playback, int mode) {
    if (!CanPlay(playback)) {
        return;
    }
    mode = std::clamp(mode, static_cast<int>(kPlayFastReverse), static_cast<int>(kPlayFastForward));
    if (mode == playback.mode && (mode == kPlayStopped || playback.timer)) {
        return;
    }
    playback.timer.reset();
    playback.mode = mode;
    if (mode == kPlayStopped) {
        return;
    }
    // The frame on show now gets its whole duration.
    playback.due = JTickCount();
    ArmTimer(playback,
             Fast(mode) ? 0 : DurationMs(playback.document, playback.document.currentFrame));
}

void StopPlayback(Playback& playback) {
    playback.timer.reset();
    playback.mode = kPlayStopped;
}

void StepToPreviousFrame(Playback& playback) {
    if (CanPlay(playback)) {
        Step(playback, PreviousFrameIndex(playback.document));
    }
}

void StepToNextFrame(Playback& playback) {
    if (CanPlay(playback)) {
        Step(playback, NextFrameIndex(playback.document));
    }
}

bool PlaybackKey(Playback& playback, const JKeyRecord& key) {
    if ((key.modifiers & (kUiCommand | kUiCtrl | kUiAlt)) != 0) {
        return false;
    }
    switch (key.key) {
        case kKeyLeft:
            StepToPreviousFrame(playback);
            return true;
        case kKeyRight:
            StepToNextFrame(playback);
            return true;
        case kKeyEscape:
            StopPlayback(playback);
            return true;
        case kKeyUp:
            SetPlaybackMode(playback, playback.mode - 1);
            return true;
        case kKeyDown:
            SetPlaybackMode(playback, playback.mode + 1);
            return true;
        case kKeySpace:
            SetPlaybackMode(playback, playback.mode == kPlayStopped ? kPlayForward : kPlayStopped);
            return true;
        default:
            return false;
    }
}
