#include "app/codec/gif_blocks.h"

#include <algorithm>
#include <cstring>

#include "app/codec/output_stream.h"

namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kCommentLabel = 0xFE;
constexpr std::uint8_t kApplicationLabel = 0xFF;
constexpr std::uint8_t kBlockTerminator = 0x00;
constexpr std::uint8_t kPixelAspectRatio = 49;
constexpr std::uint32_t kMaxSubBlock = 255;

void WriteByte(std::uint8_t byte) {
    WriteOutputByte(byte);
}

void WriteNumber(std::uint16_t value) {
    std::uint8_t bytes[2] = {std::uint8_t(value & 0xFF), std::uint8_t(value >> 8)};
    WriteOutput(2, bytes);
}

void WriteText(const char* text) {
    WriteOutput(std::uint32_t(std::strlen(text)), text);
}

int TableEntries(int bits) {
    return 1 << bits;
}

}  // namespace

void WriteScreenHeader(std::uint16_t width, std::uint16_t height, std::uint8_t backgroundIndex,
                       int bits, const std::uint8_t* colourTable) {
    const int sizeField = bits - 1;
    WriteText("GIF89a");                                  // Signature and Version
    WriteNumber(width);                                   // Logical Screen Width
    WriteNumber(height);                                  // Logical Screen Height
    WriteByte(std::uint8_t((colourTable ? 0x80 : 0x00) |  // Global Color Table Flag
                           sizeField << 4 |               // Color Resolution
                           sizeField));                   // Size of Global Color Table
    WriteByte(backgroundIndex);                           // Background Color Index
    WriteByte(kPixelAspectRatio);                         // Pixel Aspect Ratio
    if (colourTable) {
        WriteColourTable(TableEntries(bits), colourTable);
    }
}

void WriteColourTable(int count, const std::uint8_t* colourTable) {
    WriteOutput(std::uint32_t(3 * count), colourTable);  // Red, Green, Blue per entry
}

void WriteImageDescriptor(std::uint16_t left, std::uint16_t top, std::uint16_t width,
                          std::uint16_t height, bool interlaced, int bits,
                          const std::uint8_t* localTable) {
    const int sizeField = localTable ? bits - 1 : 0;
    WriteByte(kImageSeparator);                          // Image Separator
    WriteNumber(left);                                   // Image Left Position
    WriteNumber(top);                                    // Image Top Position
    WriteNumber(width);                                  // Image Width
    WriteNumber(height);                                 // Image Height
    WriteByte(std::uint8_t((localTable ? 0x80 : 0x00) |  // Local Color Table Flag
                           (interlaced ? 0x40 : 0x00) |  // Interlace Flag
                           sizeField));                  // Size of Local Color Table
    if (localTable) {
        WriteColourTable(TableEntries(bits), localTable);
    }
}

void WriteGraphicControl(bool transparent, std::uint8_t disposal, bool userInput,
                         std::uint16_t delay, std::uint8_t transparentIndex) {
    WriteByte(kExtensionIntroducer);                 // Extension Introducer
    WriteByte(kGraphicControlLabel);                 // Graphic Control Label
    WriteByte(4);                                    // Block Size
    WriteByte(std::uint8_t((disposal & 7) << 2 |     // Disposal Method
                           (userInput ? 2 : 0) |     // User Input Flag
                           (transparent ? 1 : 0)));  // Transparent Color Flag
    WriteNumber(delay);                              // Delay Time
    WriteByte(transparentIndex);                     // Transparent Color Index
    WriteByte(kBlockTerminator);                     // Block Terminator
}

void WriteLoopExtension(std::uint16_t loopCount) {
    WriteByte(kExtensionIntroducer);  // Extension Introducer
    WriteByte(kApplicationLabel);     // Application Extension Label
    WriteByte(11);                    // Block Size
    WriteText("NETSCAPE2.0");         // Application Identifier and Authentication Code
    WriteByte(3);                     // Sub-block Size
    WriteByte(1);                     // Looping Sub-block Id
    WriteNumber(loopCount);           // Loop Count
    WriteByte(kBlockTerminator);      // Block Terminator
}

void WriteCommentExtension(const char* text) {
    WriteByte(kExtensionIntroducer);  // Extension Introducer
    WriteByte(kCommentLabel);         // Comment Label
    std::uint32_t left = std::uint32_t(std::strlen(text));
    while (left > 0) {
        std::uint32_t part = std::min(left, kMaxSubBlock);
        WriteByte(std::uint8_t(part));  // Sub-block Size
        WriteOutput(part, text);        // Comment Data
        text += part;
        left -= part;
    }
    WriteByte(kBlockTerminator);  // Block Terminator
}

void WriteTrailer() {
    WriteByte(kTrailer);  // GIF Trailer
}
