// The single in-memory byte sink into which every GIF byte is written before
// it becomes a frame's encoded image or a file. It grows in 200000-byte
// blocks, so whole files are built without reallocation or copying.
#pragma once

#include <cstdint>
#include <vector>

struct JFile;

constexpr std::uint32_t kOutputBlockSize = 200000;

void InitOutput();
// Empties the stream; the current block is kept for the next use.
void ResetOutput();
// Releases every block (at the end of the program, or of a test).
void FreeOutput();
void WriteOutput(std::uint32_t count, const void* bytes);
void WriteOutputByte(std::uint8_t byte);
std::uint32_t OutputSize();
bool WriteOutputToFile(JFile* file);
// The stream's bytes.
std::vector<std::uint8_t> CopyOutput();
