// Text on the clipboard. The clipboard carries line ends as carriage return
// and line feed; the program's texts end lines with a line feed alone.
#pragma once

// Puts `text` on the clipboard with every line feed turned into a carriage
// return and a line feed; false when the clipboard refuses it.
bool JClipboardSetText(const char* text);

// The clipboard's text with every carriage return removed, as a new heap
// string (release it with JStrFree); null when the clipboard holds no text.
char* JClipboardGetText();

// Whether the clipboard holds text, without fetching it.
bool JClipboardHasText();
