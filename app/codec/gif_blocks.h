// One writer per GIF89a block, each appending to the output stream. Numbers
// are little-endian; the caller decides which blocks are written in which
// order.
#pragma once

#include <cstdint>

// "GIF89a" and the logical screen descriptor, then the global colour table of
// 2^bits entries when one is given. bits is 1 to 8.
void WriteScreenHeader(std::uint16_t width, std::uint16_t height, std::uint8_t backgroundIndex,
                       int bits, const std::uint8_t* colourTable);
// The first count entries of a table of red, green, blue triplets.
void WriteColourTable(int count, const std::uint8_t* colourTable);
// bits counts as 1 when there is no local colour table.
void WriteImageDescriptor(std::uint16_t left, std::uint16_t top, std::uint16_t width,
                          std::uint16_t height, bool interlaced, int bits,
                          const std::uint8_t* localTable);
void WriteGraphicControl(bool transparent, std::uint8_t disposal, bool userInput,
                         std::uint16_t delay, std::uint8_t transparentIndex);
// The NETSCAPE2.0 application extension; 0 loops forever.
void WriteLoopExtension(std::uint16_t loopCount);
// The text's bytes without the terminating zero, in sub-blocks of up to 255.
void WriteCommentExtension(const char* text);
void WriteTrailer();
