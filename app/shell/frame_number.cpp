#include "app/shell/frame_number.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "framework/core/format.h"
#include "framework/core/resources.h"
#include "framework/core/strings.h"
#include "framework/ui/alerts.h"

namespace {

constexpr std::uint16_t kTextNotAnInteger = 1066;
constexpr std::uint16_t kTextNotAnIntegerOk = 1074;
constexpr std::uint16_t kTextNotPositive = 1076;  // Ok follows
constexpr std::uint16_t kTextPastOnlyFrame = 1078;
constexpr std::uint16_t kTextPastLastFrameOk = 1079;
constexpr std::uint16_t kTextPastLastFrame = 1080;

void Refuse(const char* message, std::uint16_t button) {
    JBeep();
    JTell(AlertKind::Stop, message, JResourceText(button), nullptr, nullptr, nullptr);
}

// A whole number with blanks around it; false for anything else.
bool ReadInteger(const char* text, long* value) {
    while (*text == ' ') {
        ++text;
    }
    if (*text == '\0') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    *value = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE) {
        return false;
    }
    while (*end == ' ') {
        ++end;
    }
    return *end == '\0';
}

}  // namespace

FrameNumberEntry EnterFrameNumber(const char* text, std::int32_t current, std::int32_t frameCount) {
    long number = 0;
    if (!ReadInteger(text, &number)) {
        Refuse(JFormatString(JResourceText(kTextNotAnInteger), text).c_str(), kTextNotAnIntegerOk);
        return FrameNumberEntry{false, current};
    }
    if (number <= 0) {
        Refuse(JResourceText(kTextNotPositive), kTextNotPositive + 1);
        return FrameNumberEntry{false, current};
    }
    if (number > frameCount) {
        const std::uint16_t text = frameCount == 1 ? kTextPastOnlyFrame : kTextPastLastFrame;
        const long typed = number > INT_MAX ? INT_MAX : number;
        Refuse(JFormatString(JResourceText(text), frameCount, static_cast<int>(typed)).c_str(),
               kTextPastLastFrameOk);
        return FrameNumberEntry{true, frameCount - 1};
    }
    return FrameNumberEntry{true, static_cast<std::int32_t>(number - 1)};
}
