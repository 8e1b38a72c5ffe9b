// The loop settings of a document: played once (no looping extension is
// written), looped a number of times, or looped forever (count 0).
#pragma once

#include <cstdint>

#include "app/codec/document.h"

// The choices of the loop selector, in its order.
enum class LoopChoice : std::uint8_t { PlayOnce = 0, Loop = 1, LoopForever = 2 };

constexpr std::uint16_t kMaxLoopCount = 65535;

// Choosing "Loop" after "Loop forever" loops once: a count of 0 is only
// reached by choosing "Loop forever".
void SetLoopMode(GifDocument& document, LoopChoice choice);

// What the loop row shows: the choice, and whether the count field with its
// label is shown (only while looping a number of times).
LoopChoice ShownLoopChoice(const GifDocument& document);
bool ShowsLoopCount(const GifDocument& document);
// The label after the count field: "time" for 1, "times" otherwise.
const char* LoopCountLabel(std::uint16_t count);

// What is wrong with a typed loop count.
enum class LoopCountProblem { None, NotAnInteger, NotPositive, TooMany };

// Reads a typed count; a TooMany one gives kMaxLoopCount.
LoopCountProblem ReadLoopCount(const char* text, std::uint16_t* count);
// The message for a problem; `text` is what was typed. Null for None.
const char* LoopCountProblemMessage(LoopCountProblem problem, const char* text);
// Beeps and tells the problem's message; nothing for None.
void TellLoopCountProblem(LoopCountProblem problem, const char* text);

// Loops `count` times (0 loops forever).
void SetLoopCount(GifDocument& document, std::uint16_t count);
// The count field: a count that is not an integer, or not positive, is
// refused and the old one stays; one above the limit becomes the limit.
void EnterLoopCount(GifDocument& document, const char* text);
