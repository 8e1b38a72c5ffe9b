// One-shot timers: a callback with its argument, called once from the event
// loop when its delay has passed. Timers run one per event-loop step, the
// earliest first; of two due at the same tick, the one scheduled later runs
// first. Due times follow the platform's 32-bit millisecond tick count and
// stay right when it wraps.
#pragma once

#include <cstdint>

struct JTimer;
using JTimerCallback = void (*)(void* argument);

JTimer* JTimerNew(JTimerCallback callback, void* argument, std::uint32_t delayMs);
// Removes and releases a timer that has not run yet; a timer that ran or
// was cancelled is gone, and null does nothing.
void JTimerCancel(JTimer* timer);
bool JTimerScheduled(const JTimer* timer);

// Milliseconds until the first timer is due (0 when one is due now), or -1
// when none is scheduled.
std::int32_t JTimeToNextTimer();
// Runs the first due timer; false when none was due.
bool JRunDueTimer();
int JTimerCount();
// Drops every timer; at shutdown.
void JTimersClear();
