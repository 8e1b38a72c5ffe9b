// The timer list is kept sorted by due time. Due times are compared by
// their signed distance from each other, not by their value, so that the
// order holds across the tick counter's wrap: a timer set just before the
// counter wraps is not taken for one that is long overdue.
#include "framework/ui/timers.h"

#include <list>
#include <memory>

#include "framework/platform/system/clock.h"

struct JTimer {
    JTimerCallback callback = nullptr;
    void* argument = nullptr;
    std::uint32_t due = 0;
};

namespace {

std::list<std::unique_ptr<JTimer>>& Timers() {
    static std::list<std::unique_ptr<JTimer>> timers;
    return timers;
}

// Negative when a is earlier than b.
std::int32_t Distance(std::uint32_t a, std::uint32_t b) {
    return static_cast<std::int32_t>(a - b);
}

}  // namespace

JTimer* JTimerNew(JTimerCallback callback, void* argument, std::uint32_t delayMs) {
    auto timer = std::make_unique<JTimer>();
    timer->callback = callback;
    timer->argument = argument;
    timer->due = JTickCount() + delayMs;
    JTimer* handle = timer.get();
    auto& timers = Timers();
    // Before the first with an equal or later due time.
    auto it = timers.begin();
    while (it != timers.end() && Distance((*it)->due, handle->due) < 0) {
        ++it;
    }
    timers.insert(it, std::move(timer));
    return handle;
}

void JTimerCancel(JTimer* timer) {
    Timers().remove_if([timer](const auto& t) { return t.get() == timer; });
}

bool JTimerScheduled(const JTimer* timer) {
    for (const auto& t : Timers()) {
        if (t.get() == timer) {
            return true;
        }
    }
    return false;
}

std::int32_t JTimeToNextTimer() {
    const auto& timers = Timers();
    if (timers.empty()) {
        return -1;
    }
    const std::int32_t wait = Distance(timers.front()->due, JTickCount());
    return wait > 0 ? wait : 0;
}

bool JRunDueTimer() {
    auto& timers = Timers();
    if (timers.empty() || Distance(timers.front()->due, JTickCount()) > 0) {
        return false;
    }
    // Taken out before the call: the callback may schedule or cancel others.
    const std::unique_ptr<JTimer> timer = std::move(timers.front());
    timers.pop_front();
    timer->callback(timer->argument);
    return true;
}

int JTimerCount() {
    return static_cast<int>(Timers().size());
}

void JTimersClear() {
    Timers().clear();
}
