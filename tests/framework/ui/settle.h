// Steps the framework's event loop until the input given so far and the
// messages it caused are handled (at most `most` steps, for safety).
#pragma once

#include "framework/platform/draw/headless.h"
#include "framework/platform/platform.h"
#include "framework/ui/event_loop.h"

inline void SettleEvents(int most) {
    for (int i = 0; i < most; ++i) {
        JMessage message;
        if (JHeadlessPendingEvents() == 0 && !JPeekMessage(&message, kNoWindow, kPeekKeep)) {
            break;
        }
        JEventStep(nullptr, false);
    }
}
