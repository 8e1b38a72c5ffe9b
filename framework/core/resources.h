// The program's string resources: a table compiled into the program from
// resources/string_table.inc, addressed by 16-bit resource id.
#pragma once

#include <cstddef>
#include <cstdint>

struct JResourceString {
    std::uint16_t id;
    const char* text;  // UTF-8
};

// The text of a resource id, or null when the resources hold no such string.
const char* JResourceText(std::uint16_t id);

// The whole table, sorted by id.
const JResourceString* JResourceTable(std::size_t* count);

// Lets tests put a table of their own (sorted by id) in place of the
// program's; null puts the program's table back.
void JUseResourceTable(const JResourceString* table, std::size_t count);
