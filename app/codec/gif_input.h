// The one buffered input through which the codec reads every byte, from a
// GIF file being opened or from an encoded image held in memory. It hands out
// pointers to contiguous runs of bytes so that headers are parsed in place; a
// pointer stays valid until the next request.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct JFile;

constexpr std::uint32_t kInputBufferSize = 1024;

// Called after each refill from the file with the number of bytes brought in.
using InputRefillObserver = std::function<void(std::uint32_t bytes)>;

// File mode: totalSize is the file's size; remaining counts the bytes from
// the file's current position to its end.
void BeginFileInput(JFile* file, std::uint32_t totalSize, std::uint32_t remaining,
                    InputRefillObserver onRefill = {});
void EndFileInput();

// Memory mode over a block; ends any file reading under way.
void InputFromMemory(std::uint32_t length, const std::uint8_t* block);
void EndInputFromMemory();

// n contiguous unconsumed bytes, or null at the end of the data or on a read
// error; n = 0 succeeds at once.
const std::uint8_t* InputBytes(std::uint16_t n);
bool InputByte(std::uint8_t& byte);
// A length byte and then that many bytes. The block terminator (length 0)
// succeeds with an empty block.
const std::uint8_t* InputSubBlock(std::uint8_t& length);
// Skips sub-blocks up to and including the block terminator; false when one
// cannot be read.
bool InputSkipSubBlocks();
// While `bytes` is set, every byte handed out is also appended to it; null
// stops the capture.
void CaptureInput(std::vector<std::uint8_t>* bytes);
// Bytes consumed from the start of the source.
std::uint32_t InputPosition();
// True when nothing is left, neither in the source nor in the buffer.
bool InputAtEnd();
