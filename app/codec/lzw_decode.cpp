#include "app/codec/lzw_decode.h"

#include <algorithm>

#include "app/codec/gif_input.h"

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeWidth = 12;

// The string table and the stack on which a code's string is spelt out
// backwards. Every defined entry's prefix is a smaller code, so a string is at
// most kMaxCodes long.
std::uint16_t prefixes[kMaxCodes];
std::uint8_t suffixes[kMaxCodes];
std::uint8_t stack[kMaxCodes + 1];

struct BitReader {
    const std::uint8_t* next;  // next unread byte of the current sub-block
    std::uint32_t bytesLeft;   // in the current sub-block
    std::uint32_t bits;        // pending bits, least significant first
    int bitCount;
    int codeWidth;
};

BitReader reader;

inline int NextDataByte() {
    if (reader.bytesLeft == 0) {
        std::uint8_t length = 0;
        const std::uint8_t* block = InputSubBlock(length);
        if (!block) {
            return kCodeReadFailed;
        }
        if (length == 0) {
            return kCodeTerminator;
        }
        reader.next = block;
        reader.bytesLeft = length;
    }
    --reader.bytesLeft;
    return *reader.next++;
}

inline int NextCode() {
    while (reader.bitCount < reader.codeWidth) {
        int byte = NextDataByte();
        if (byte < 0) {
            return byte;
        }
        reader.bits |= std::uint32_t(byte) << reader.bitCount;
        reader.bitCount += 8;
    }
    int code = int(reader.bits & ((1u << reader.codeWidth) - 1));
    reader.bits >>= reader.codeWidth;
    reader.bitCount -= reader.codeWidth;
    return code;
}

// After the last row: an end code and the terminator, or the terminator alone.
DecodeResult FinishImage(int clearCode, int minimumCodeSize) {
    for (;;) {
        int code = NextCode();
        if (code == clearCode) {
            reader.codeWidth = minimumCodeSize + 1;
            continue;
        }
        if (code == clearCode + 1) {
            std::uint8_t terminator = 1;
            return InputByte(terminator) && terminator == 0 ? DecodeResult::Decoded
                                                            : DecodeResult::Failed;
        }
        if (code == kCodeTerminator) {
            return DecodeResult::Decoded;
        }
        return InputSkipSubBlocks() ? DecodeResult::DecodedWithExtraData : DecodeResult::Failed;
    }
}

// Fills rows from the decoded strings and hands each full row on.
class RowAssembler {
public:
    RowAssembler(std::uint16_t width, std::uint16_t rowCount, std::uint8_t* row,
                 const RowSink& sink)
        : width_(width), rowsLeft_(width == 0 ? 0 : rowCount), row_(row), sink_(sink) {}

    bool Done() const { return rowsLeft_ == 0; }

    // Moves the stack's string (top first) into the rows; false when the sink
    // refuses a row. Pixels beyond the last row are dropped.
    bool Take(int& stackSize) {
        while (stackSize > 0) {
            int take = std::min(stackSize, int(width_) - fill_);
            for (int i = 0; i < take; ++i) {
                row_[fill_++] = stack[--stackSize];
            }
            if (fill_ == width_) {
                fill_ = 0;
                if (!sink_(width_, row_)) {
                    return false;
                }
                if (--rowsLeft_ == 0) {
                    stackSize = 0;
                    return true;
                }
            }
        }
        return true;
    }

    // A failed decode still shows the pixels of its partial row.
    DecodeResult Fail() {
        if (fill_ > 0 && rowsLeft_ > 0) {
            sink_(std::uint16_t(fill_), row_);
        }
        return DecodeResult::Failed;
    }

private:
    std::uint16_t width_;
    std::uint32_t rowsLeft_;
    std::uint8_t* row_;
    const RowSink& sink_;
    int fill_ = 0;
};

}  // namespace

int ReadCode() {
    return NextCode();
}

DecodeResult LzwDecode(std::uint16_t rowWidth, std::uint16_t rowCount, std::uint8_t* rowBuffer,
                       const RowSink& sink) {
    std::uint8_t minimumCodeSize = 0;
    if (!InputByte(minimumCodeSize) || minimumCodeSize < 2 || minimumCodeSize > 9) {
        return DecodeResult::Failed;
    }
    const int clearCode = 1 << minimumCodeSize;
    const int firstFree = clearCode + 2;
    int nextFree = firstFree;
    int limit = 1 << (minimumCodeSize + 1);
    reader = BitReader{nullptr, 0, 0, 0, minimumCodeSize + 1};
    int previous = 0;  // the code before this one
    int first = 0;     // first character of the previous string
    int stackSize = 0;
    RowAssembler rows(rowWidth, rowCount, rowBuffer, sink);

    while (!rows.Done()) {
        int code = NextCode();
        if (code < 0) {
            return rows.Fail();
        }
        if (code == clearCode) {
            reader.codeWidth = minimumCodeSize + 1;
            nextFree = firstFree;
            limit = 1 << reader.codeWidth;
            do {
                code = NextCode();
            } while (code == clearCode);
            if (code < 0) {
                return rows.Fail();
            }
            if (code >= nextFree) {
                code = 0;
            }
            previous = first = code;
            stack[stackSize++] = std::uint8_t(code);
            if (!rows.Take(stackSize)) {
                return rows.Fail();
            }
            continue;
        }
        int current = code;
        if (code >= nextFree) {
            // Not yet defined: the previous string plus its own first
            // character. A code beyond the next free one counts as that one,
            // which keeps every prefix below its own code.
            stack[stackSize++] = std::uint8_t(first);
            code = previous;
            current = nextFree;
        }
        while (code >= firstFree) {
            stack[stackSize++] = suffixes[code];
            code = prefixes[code];
        }
        stack[stackSize++] = std::uint8_t(code);
        if (nextFree < limit) {
            first = code;
            suffixes[nextFree] = std::uint8_t(first);
            prefixes[nextFree] = std::uint16_t(previous);
            ++nextFree;
            previous = current;
        }
        if (nextFree >= limit && reader.codeWidth < kMaxCodeWidth) {
            limit *= 2;
            ++reader.codeWidth;
        }
        if (!rows.Take(stackSize)) {
            return rows.Fail();
        }
    }
    return FinishImage(clearCode, minimumCodeSize);
}
