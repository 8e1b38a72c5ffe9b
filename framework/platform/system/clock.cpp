#include "framework/platform/system/clock.h"

#include <ctime>

#include "framework/core/format.h"
#include "framework/platform/draw/backend.h"

std::uint32_t JTickCount() {
    return JBackendCurrent().ticks();
}

void JSleep(std::uint32_t milliseconds) {
    JBackendCurrent().sleep(milliseconds);
}

std::int64_t JSecondsSince1970() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

JLocalTime JLocalTimeOf(std::int64_t seconds) {
    const std::time_t when = static_cast<std::time_t>(seconds);
    std::tm broken{};
    if (localtime_r(&when, &broken) == nullptr) {
        return JLocalTime{};
    }
    JLocalTime local;
    local.year = static_cast<std::uint16_t>(broken.tm_year + 1900);
    local.month = static_cast<std::uint8_t>(broken.tm_mon + 1);
    local.day = static_cast<std::uint8_t>(broken.tm_mday);
    local.weekday = static_cast<std::uint8_t>(broken.tm_wday + 1);
    local.hour = static_cast<std::uint8_t>(broken.tm_hour);
    local.minute = static_cast<std::uint8_t>(broken.tm_min);
    local.second = static_cast<std::uint8_t>(broken.tm_sec);
    return local;
}

JLocalTime JLocalTimeNow() {
    return JLocalTimeOf(JSecondsSince1970());
}

char* JTimeText(const JLocalTime& time, bool withSeconds) {
    const int hour = time.hour % 12 == 0 ? 12 : time.hour % 12;
    const char* half = time.hour < 12 ? "AM" : "PM";
    if (withSeconds) {
        return JFormat("%ds%:%ds02%:%ds02% %s%", hour, static_cast<int>(time.minute),
                       static_cast<int>(time.second), half);
    }
    return JFormat("%ds%:%ds02% %s%", hour, static_cast<int>(time.minute), half);
}
