#include "framework/platform/draw/backend.h"

namespace {

struct BackendState {
    const JBackend* current = nullptr;
};

BackendState& State() {
    static BackendState state;
    return state;
}

bool TryOpen(const JBackend* backend) {
    if (backend == nullptr || !backend->open()) {
        return false;
    }
    State().current = backend;
    return true;
}

}  // namespace

bool JBackendStart(JBackendChoice choice) {
    JBackendStop();
    switch (choice) {
        case JBackendChoice::Headless:
            return TryOpen(&JHeadlessBackend());
        case JBackendChoice::Desktop:
            return TryOpen(JDesktopBackend());
        case JBackendChoice::Automatic:
            // Without a display the desktop backend fails to open at once.
            return TryOpen(JDesktopBackend()) || TryOpen(&JHeadlessBackend());
    }
    return false;
}

void JBackendStop() {
    if (State().current != nullptr) {
        State().current->close();
        State().current = nullptr;
    }
}

bool JBackendRunning() {
    return State().current != nullptr;
}

const JBackend& JBackendCurrent() {
    return State().current != nullptr ? *State().current : JHeadlessBackend();
}
