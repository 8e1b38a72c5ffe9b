// The background colour of a document: what shows where no frame has drawn,
// typed as in HTML colours without the number sign.
#pragma once

#include <string>

#include "app/codec/document.h"

// Six upper-case hexadecimal digits of red, green and blue: "FF0010".
std::string BackgroundColourText(const Rgb& colour);

// Three components of at most two hexadecimal digits each, in either case,
// blanks allowed before each and after the last: ff0010 and FF0010 are both
// red 255, green 0, blue 16. Signs are refused.
bool ReadBackgroundColour(const char* text, Rgb* colour);
// The message for a text that is no colour.
const char* BackgroundColourMessage(const char* text);

void SetBackgroundColour(GifDocument& document, const Rgb& colour);
// The colour field: a text that is no colour is refused with a message, and
// the colour stays (the field shows it again).
void EnterBackgroundColour(GifDocument& document, const char* text);
