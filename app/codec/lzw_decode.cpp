#include "app/codec/lzw_decode.h"

#include <algorithm>

#include "app/codec/gif_input.h"

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeWidth = 12;
// The minimum code sizes common decoders read; from 9 up a literal can exceed
// a byte.
constexpr int kSmallestMinimumCodeSize = 1;
constexpr int kLargestMinimumCodeSize = 11;

// The string table and the stack on which a code's string is spelt out
// backwards. Every defined entry's prefix is a smaller code, so a string is at
// most kMaxCodes long. Codes below the first free one are single pixels, kept
// as their suffix so that spelling out a string never tests a code's value.
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

// Where the string table stands: codes below nextFree are defined.
struct CodeTable {
    int clearCode;
    int firstFree;
    int startWidth;
    int nextFree;
    int limit;           // 1 << code width
    int previous;        // the code before the current one
    std::uint8_t first;  // first pixel of the previous code's string
};

// How many codes from 0 up hold their single pixel. A decode overwrites only
// the entries from its first free code on, so most images set none afresh.
int singlePixelCodes = 0;

// Values from 256 up (minimum code sizes 9 to 11) index no colour table, and
// the reader shows pixels beyond a frame's table as colour 0: such codes are
// pixel 0 from the start, and so is every string built on them.
void SetSinglePixelCodes(int firstFree) {
    for (int code = singlePixelCodes; code < firstFree; ++code) {
        suffixes[code] = code <= 0xFF ? std::uint8_t(code) : 0;
    }
    singlePixelCodes = firstFree;
}

// Checked after each new entry and after a table's first code, as encoders
// widen once the next free code no longer fits: with minimum code size 1 the
// first free code, 4, already needs 3 bits after the first code.
inline void WidenCodesWhenFull(CodeTable& table) {
    if (table.nextFree >= table.limit && reader.codeWidth < kMaxCodeWidth) {
        table.limit *= 2;
        ++reader.codeWidth;
    }
}

// Empties the table and reads its first code, passing over further clear
// codes. No string came before that code, so it defines no entry. Returns
// the code, or a negative read result.
inline int StartTable(CodeTable& table, int& stackSize) {
    reader.codeWidth = table.startWidth;
    table.nextFree = table.firstFree;
    table.limit = 1 << table.startWidth;
    int code = 0;
    do {
        code = NextCode();
    } while (code == table.clearCode);
    if (code < 0) {
        return code;
    }
    if (code >= table.nextFree) {
        code = 0;  // nothing is defined yet: damaged data
    }
    table.previous = code;
    table.first = suffixes[code];
    stack[stackSize++] = table.first;
    WidenCodesWhenFull(table);
    return code;
}

}  // namespace

int ReadCode() {
    return NextCode();
}

DecodeResult LzwDecode(std::uint16_t rowWidth, std::uint16_t rowCount, std::uint8_t* rowBuffer,
                       const RowSink& sink) {
    std::uint8_t minimumCodeSize = 0;
    if (!InputByte(minimumCodeSize) || minimumCodeSize < kSmallestMinimumCodeSize ||
        minimumCodeSize > kLargestMinimumCodeSize) {
        return DecodeResult::Failed;
    }
    const int clearCode = 1 << minimumCodeSize;
    const int startWidth = minimumCodeSize + 1;
    CodeTable table{clearCode, clearCode + 2, startWidth, 0, 0, 0, 0};
    SetSinglePixelCodes(table.firstFree);
    reader = BitReader{nullptr, 0, 0, 0, startWidth};
    int stackSize = 0;
    RowAssembler rows(rowWidth, rowCount, rowBuffer, sink);

    // The data need not open with a clear code.
    if (!rows.Done() && (StartTable(table, stackSize) < 0 || !rows.Take(stackSize))) {
        return rows.Fail();
    }
    while (!rows.Done()) {
        int code = NextCode();
        if (code < 0) {
            return rows.Fail();
        }
        if (code == clearCode) {
            if (StartTable(table, stackSize) < 0 || !rows.Take(stackSize)) {
                return rows.Fail();
            }
            continue;
        }
        int current = code;
        if (code >= table.nextFree) {
            // Not yet defined: the previous string plus its own first
            // character. A code beyond the next free one counts as that one,
            // which keeps every prefix below its own code.
            stack[stackSize++] = table.first;
            code = table.previous;
            current = table.nextFree;
        }
        std::uint8_t* top = stack + stackSize;
        *top++ = suffixes[code];
        while (code >= table.firstFree) {
            code = prefixes[code];
            *top++ = suffixes[code];
        }
        stackSize = int(top - stack);
        const std::uint8_t firstPixel = top[-1];
        // A full table takes no entries until the next clear code.
        if (table.nextFree < kMaxCodes) {
            table.first = firstPixel;
            suffixes[table.nextFree] = firstPixel;
            prefixes[table.nextFree] = std::uint16_t(table.previous);
            ++table.nextFree;
            table.previous = current;
            WidenCodesWhenFull(table);
        }
        if (!rows.Take(stackSize)) {
            return rows.Fail();
        }
    }
    return FinishImage(clearCode, minimumCodeSize);
}
