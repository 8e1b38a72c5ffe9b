// Alerts: the one way the program tells the user something or asks for a
// choice between at most two buttons. The windowed program shows them as
// small windows; the console front end prints them. Callers that want a beep
// call JBeep before the alert.
#pragma once

#include <cstdint>

enum class AlertKind : std::uint16_t {
    Stop = 128,         // errors, refusals and most messages
    Information = 129,  // reports and the "More Info" texts
    Caution = 130,      // warnings and questions before a risky step
};

// Receives true for the first button, false for the second.
using AlertCallback = void (*)(void* data, bool firstButton);

struct AlertDriver {
    // Shows the alert and waits; true when the first button was chosen.
    bool (*ask)(AlertKind kind, const char* message, const char* first, const char* second);
    // Shows the alert and returns at once; the callback (if any) gets the answer.
    void (*tell)(AlertKind kind, const char* message, const char* first, const char* second,
                 AlertCallback callback, void* data);
    void (*beep)();
};

// Null puts back the driver that writes alerts to standard error and
// answers every question with its second button.
void JSetAlertDriver(const AlertDriver* driver);

// `second` may be null for a one-button alert.
bool JAsk(AlertKind kind, const char* message, const char* first, const char* second);
void JTell(AlertKind kind, const char* message, const char* first, const char* second,
           AlertCallback callback, void* data);
// Tell with kind Stop, one button and no callback: the form of most refusals.
void JTellSimply(const char* message, const char* button);
// Ask when `wait` is set; otherwise Tell, and the answer is false.
bool JAskOrTell(bool wait, AlertKind kind, const char* message, const char* first,
                const char* second);
void JBeep();
