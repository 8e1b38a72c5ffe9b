// Ticks, sleeping, and the date and time.
#pragma once

#include <cstdint>

// Milliseconds from the backend's clock, wrapping at 32 bits.
std::uint32_t JTickCount();
void JSleep(std::uint32_t milliseconds);

std::int64_t JSecondsSince1970();  // UTC

struct JLocalTime {
    std::uint16_t year = 1970;  // full year
    std::uint8_t month = 1;     // 1-12
    std::uint8_t day = 1;       // of the month
    std::uint8_t weekday = 5;   // 1 Sunday to 7 Saturday
    std::uint8_t hour = 0;      // 0-23
    std::uint8_t minute = 0;
    std::uint8_t second = 0;
};

// The local broken-down time of a count of seconds since 1970.
JLocalTime JLocalTimeOf(std::int64_t seconds);
JLocalTime JLocalTimeNow();

// "h:mm:ss AM" or "h:mm AM", hours 1-12, as a new heap string.
char* JTimeText(const JLocalTime& time, bool withSeconds);
