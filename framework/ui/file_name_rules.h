// The rules the file dialogs apply to a typed name before they accept it:
// whether it is a pattern, whether this system can use it, and whether its
// extension agrees with the selected file type (correcting the name or the
// type, and saying which message tells the user why).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// "*" or "?" in the name: the lists are refilled with it instead.
bool JIsFilePattern(const std::string& name);

// The extension: the text from the last dot after the last "/", the dot
// included; empty when there is none.
std::string JFileNameExtension(const std::string& name);

// Whether this system can use the name: not empty, no byte 0, and no part
// between slashes longer than the file system allows (255 bytes).
bool JFileNameUsable(const std::string& name);

// What the extension check decided.
struct JExtensionCheck {
    std::string name;      // the name to use (corrected when needed)
    int selectedType = 0;  // the type list's entry now selected
    // The message pair that explains a change (caption id, its text follows),
    // 0 when the name is accepted as it is.
    std::uint16_t message = 0;
    std::vector<std::string> arguments;  // for the message's %s% fields
};

// The check against a type list of dotted patterns (".gif", ".*") with
// entry `selected` chosen; patterns and extensions compare without regard
// to ASCII case.
JExtensionCheck JCheckExtension(const std::string& name, const std::vector<std::string>& patterns,
                                int selected);
