#include "app/codec/lzw_encode.h"

#include <algorithm>

#include "app/codec/output_stream.h"

namespace {

constexpr int kHashSize = 5003;
constexpr int kMaxCodes = 4096;
constexpr int kMaxBits = 12;
constexpr int kSubBlockCapacity = 255;

// Each used slot holds pixel << 12 | prefix code, the other slots -1.
std::int32_t hashTable[kHashSize];
std::uint16_t codeTable[kHashSize];

void ClearHashTable() {
    std::fill(std::begin(hashTable), std::end(hashTable), -1);
}

int MaxCodeFor(int bits) {
    return bits == kMaxBits ? kMaxCodes : (1 << bits) - 1;
}

// Packs codes least significant bit first into sub-blocks of up to 255 bytes.
class CodeWriter {
public:
    explicit CodeWriter(int initialBits)
        : initialBits_(initialBits),
          bits_(initialBits),
          maxCode_(MaxCodeFor(initialBits)),
          clearCode_(1 << (initialBits - 1)) {}

    int ClearCode() const { return clearCode_; }
    int EndCode() const { return clearCode_ + 1; }
    int FirstFree() const { return clearCode_ + 2; }
    int PendingBits() const { return pendingBits_; }
    int Bits() const { return bits_; }

    // freeCode is the next code the table would assign; the width grows once
    // it no longer fits, and goes back to the start after a clear.
    void Put(int code, int freeCode, bool cleared) {
        accumulator_ = pendingBits_ > 0 ? accumulator_ | std::uint32_t(code) << pendingBits_
                                        : std::uint32_t(code);
        pendingBits_ += bits_;
        while (pendingBits_ >= 8) {
            PutByte(std::uint8_t(accumulator_));
            accumulator_ >>= 8;
            pendingBits_ -= 8;
        }
        if (cleared) {
            bits_ = initialBits_;
            maxCode_ = MaxCodeFor(bits_);
        } else if (freeCode > maxCode_) {
            ++bits_;
            maxCode_ = MaxCodeFor(bits_);
        }
    }

    void Flush() {
        while (pendingBits_ > 0) {
            PutByte(std::uint8_t(accumulator_));
            accumulator_ >>= 8;
            pendingBits_ -= 8;
        }
        pendingBits_ = 0;
        WriteSubBlock();
    }

private:
    void PutByte(std::uint8_t byte) {
        subBlock_[fill_++] = byte;
        if (fill_ == kSubBlockCapacity + 1) {
            WriteSubBlock();
        }
    }

    void WriteSubBlock() {
        if (fill_ > 1) {
            subBlock_[0] = std::uint8_t(fill_ - 1);
            WriteOutput(std::uint32_t(fill_), subBlock_);
            fill_ = 1;
        }
    }

    int initialBits_;
    int bits_;
    int maxCode_;
    int clearCode_;
    std::uint32_t accumulator_ = 0;
    int pendingBits_ = 0;
    std::uint8_t subBlock_[kSubBlockCapacity + 1];  // length byte, then the data
    int fill_ = 1;
};

// The slot holding fcode, or the free slot where it belongs; found tells which.
int FindSlot(std::int32_t fcode, int pixel, int prefix, bool& found) {
    int i = (pixel << 4) ^ prefix;
    found = hashTable[i] == fcode;
    if (found || hashTable[i] < 0) {
        return i;
    }
    const int displacement = i == 0 ? 1 : kHashSize - i;
    for (;;) {
        i -= displacement;
        if (i < 0) {
            i += kHashSize;
        }
        if (hashTable[i] == fcode) {
            found = true;
            return i;
        }
        if (hashTable[i] <= 0) {
            return i;
        }
    }
}

}  // namespace

void LzwEncode(int initialBits, std::uint32_t pixelCount, bool emitEndCode, PixelSource& source) {
    CodeWriter writer(initialBits);
    int freeCode = writer.FirstFree();
    if (pixelCount == 0) {
        writer.Put(writer.EndCode(), freeCode, false);
        writer.Flush();
        return;
    }
    int prefix = source.Next();
    ClearHashTable();
    writer.Put(writer.ClearCode(), freeCode, false);
    for (std::uint32_t left = pixelCount - 1; left > 0; --left) {
        const int pixel = source.Next();
        const std::int32_t fcode = (std::int32_t(pixel) << kMaxBits) + prefix;
        bool found = false;
        const int slot = FindSlot(fcode, pixel, prefix, found);
        if (found) {
            prefix = codeTable[slot];
            continue;
        }
        writer.Put(prefix, freeCode, false);
        prefix = pixel;
        if (freeCode < kMaxCodes) {
            codeTable[slot] = std::uint16_t(freeCode++);
            hashTable[slot] = fcode;
        } else {
            ClearHashTable();
            freeCode = writer.FirstFree();
            writer.Put(writer.ClearCode(), freeCode, true);
        }
    }
    writer.Put(prefix, freeCode, false);
    const bool endCodeFitsLastByte =
        writer.PendingBits() > 0 && writer.PendingBits() + writer.Bits() <= 8;
    if (emitEndCode || endCodeFitsLastByte) {
        writer.Put(writer.EndCode(), freeCode, false);
    }
    writer.Flush();
}
