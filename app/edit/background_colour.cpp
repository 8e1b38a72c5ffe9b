#include "app/edit/background_colour.h"

#include <cstring>

#include "app/edit/edit_refresh.h"
#include "app/edit/entry_text.h"
#include "framework/core/format.h"
#include "framework/core/string_lists.h"
#include "framework/ui/alerts.h"

namespace {

// Application texts; the message is followed by its button.
constexpr std::uint16_t kTextColourForm = 86;
constexpr std::uint16_t kTextNotAColour = 95;

}  // namespace

std::string BackgroundColourText(const Rgb& colour) {
    char text[8];
    return JFormatInto(text, sizeof text, IJString(kTextColourForm), colour.red, colour.green,
                       colour.blue);
}

bool ReadBackgroundColour(const char* text, Rgb* colour) {
    // The scanner takes a sign before hexadecimal digits, and -1 would
    // become FF.
    if (std::strpbrk(text, "+-")) {
        return false;
    }
    const char* cursor = text;
    Rgb read;
    if (!JScanAdvance(&cursor, "%xbl2%%xbl2%%xbl2%", &read.red, &read.green, &read.blue) ||
        !OnlyBlanks(cursor)) {
        return false;
    }
    *colour = read;
    return true;
}

const char* BackgroundColourMessage(const char* text) {
    return JFormatTemp(IJString(kTextNotAColour), text);
}

void SetBackgroundColour(GifDocument& document, const Rgb& colour) {
    document.backgroundColour = colour;
    RefreshShownValue(document, ShownValue::BackgroundColour);
}

void EnterBackgroundColour(GifDocument& document, const char* text) {
    Rgb colour = document.backgroundColour;
    if (!ReadBackgroundColour(text, &colour)) {
        JBeep();
        JTellSimply(BackgroundColourMessage(text), IJString(kTextNotAColour + 1));
    }
    SetBackgroundColour(document, colour);
}
