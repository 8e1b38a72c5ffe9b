#include "framework/platform/system/clipboard.h"

#include <string>
#include <string_view>

#include "framework/core/strings.h"
#include "framework/platform/draw/backend.h"

bool JClipboardSetText(const char* text) {
    std::string outgoing;
    for (char c : std::string_view(text)) {
        if (c == '\n') {
            outgoing += '\r';
        }
        outgoing += c;
    }
    return JBackendCurrent().setClipboardText(outgoing.c_str());
}

char* JClipboardGetText() {
    char* incoming = JBackendCurrent().clipboardText();
    if (incoming == nullptr) {
        return nullptr;
    }
    // Removing only shortens the text, so it is done in place.
    char* kept = incoming;
    for (const char* c = incoming; *c != '\0'; ++c) {
        if (*c != '\r') {
            *kept++ = *c;
        }
    }
    *kept = '\0';
    return incoming;
}

bool JClipboardHasText() {
    return JBackendCurrent().hasClipboardText();
}
