// Helpers for zero-terminated byte strings. Heap results belong to the caller
// and are released with JStrFree; temporary results live until the end of the
// current event-loop step.
#pragma once

#include <cstddef>

bool JStrEqual(const char* a, const char* b);
bool JStrEqualN(const char* a, const char* b, std::size_t n);
bool JStrEqualNoCase(const char* a, const char* b);
std::size_t JStrLen(const char* s);
void JStrCopyN(char* destination, const char* source, std::size_t n);
char* JStrCopyEnd(char* destination, const char* source);  // returns the terminator's position
char* JStrDup(const char* s);
char* JStrDupN(const char* s, std::size_t n);
char* JStrDupTempN(const char* s, std::size_t n);
char* JStrDupTail(const char* s);
void JStrFree(char* s);
char* JStrConcat(const char* a, const char* b);
char* JStrConcatList(const char* const* strings);  // list ends with a null pointer
char* JStrAppendChar(const char* s, char c);
const char* JStrFind(const char* s, char c);
const char* JStrFindOrEnd(const char* s, char c);
const char* JStrFindLast(const char* s, char c);
const char* JStrFindNth(const char* s, char c, unsigned n);
const char* JStrFindNoCase(const char* s, char c);
char* JStrRepeat(char c, std::size_t n);
char* JStrRepeatTemp(char c, std::size_t n);
void JStrFill(char* destination, char c, std::size_t n);
char* JStrCapitalize(const char* s);
