#include "framework/ui/alerts.h"

#include <cstdio>

namespace {

bool AskOnStandardError(AlertKind, const char* message, const char*, const char* second) {
    std::fprintf(stderr, "%s\n", message);
    return second == nullptr;  // a one-button question can only be accepted
}

void TellOnStandardError(AlertKind, const char* message, const char*, const char*,
                         AlertCallback callback, void* data) {
    std::fprintf(stderr, "%s\n", message);
    if (callback) {
        callback(data, true);
    }
}

void NoBeep() {}

constexpr AlertDriver kStandardErrorDriver{AskOnStandardError, TellOnStandardError, NoBeep};
const AlertDriver* gDriver = &kStandardErrorDriver;

}  // namespace

void JSetAlertDriver(const AlertDriver* driver) {
    gDriver = driver ? driver : &kStandardErrorDriver;
}

bool JAsk(AlertKind kind, const char* message, const char* first, const char* second) {
    return gDriver->ask(kind, message, first, second);
}

void JTell(AlertKind kind, const char* message, const char* first, const char* second,
           AlertCallback callback, void* data) {
    gDriver->tell(kind, message, first, second, callback, data);
}

void JTellSimply(const char* message, const char* button) {
    JTell(AlertKind::Stop, message, button, nullptr, nullptr, nullptr);
}

bool JAskOrTell(bool wait, AlertKind kind, const char* message, const char* first,
                const char* second) {
    if (wait) {
        return JAsk(kind, message, first, second);
    }
    JTell(kind, message, first, second, nullptr, nullptr);
    return false;
}

void JBeep() {
    gDriver->beep();
}
