#include "app/codec/lzw_encode.h"

#include <algorithm>
#include <vector>

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
    std::uint64_t BitsWritten() const { return bitsWritten_; }

    // freeCode is the next code the table would assign; the width grows once
    // it no longer fits, and goes back to the start after a clear.
    void Put(int code, int freeCode, bool cleared) {
        bitsWritten_ += std::uint64_t(bits_);
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
    std::uint64_t bitsWritten_ = 0;
};

// Once all codes are in use, the table goes on serving without new strings
// for as long as it still pays: every `checkGap` pixels the pixels per bit
// since the last clear are compared with the previous check, and the table
// starts over only when that rate stops rising (a deferred clear, which
// decoders read like any full table). A gap of 0 starts over at once.
class ClearPolicy {
public:
    explicit ClearPolicy(std::uint32_t checkGap) : checkGap_(checkGap) {}

    void Started(std::uint64_t bitsWritten) {
        pixels_ = 0;
        bitsAtClear_ = bitsWritten;
        nextCheck_ = checkGap_;
        bestRate_ = 0;
    }

    void Pixels(std::uint32_t count) { pixels_ += count; }

    bool ShouldClear(std::uint64_t bitsWritten) {
        if (checkGap_ == 0) {
            return true;
        }
        if (pixels_ < nextCheck_) {
            return false;
        }
        nextCheck_ = pixels_ + checkGap_;
        const double rate =
            double(pixels_) / double(std::max<std::uint64_t>(1, bitsWritten - bitsAtClear_));
        if (rate > bestRate_) {
            bestRate_ = rate;
            return false;
        }
        return true;
    }

private:
    std::uint64_t checkGap_;
    std::uint64_t pixels_ = 0;
    std::uint64_t bitsAtClear_ = 0;
    std::uint64_t nextCheck_ = 0;
    double bestRate_ = 0;
};

// Starts the string table over: empty hash table, clear code written.
void StartOver(CodeWriter& writer, int& freeCode, ClearPolicy& policy, bool cleared) {
    ClearHashTable();
    freeCode = writer.FirstFree();
    writer.Put(writer.ClearCode(), freeCode, cleared);
    policy.Started(writer.BitsWritten());
}

// After the last string: the end code (when asked for, or when it fits into
// the last, partly filled byte) and the last sub-block.
void Finish(CodeWriter& writer, int freeCode, bool emitEndCode) {
    const bool endCodeFitsLastByte =
        writer.PendingBits() > 0 && writer.PendingBits() + writer.Bits() <= 8;
    if (emitEndCode || endCodeFitsLastByte) {
        writer.Put(writer.EndCode(), freeCode, false);
    }
    writer.Flush();
}

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
        if (hashTable[i] < 0) {
            return i;
        }
    }
}

// The code of string `prefix` followed by `pixel`, or -1 when there is none.
int Lookup(int prefix, int pixel) {
    bool found = false;
    const int slot = FindSlot((std::int32_t(pixel) << kMaxBits) + prefix, pixel, prefix, found);
    return found ? codeTable[slot] : -1;
}

// Follows the longest string in the table from `at` on, calling
// onCode(code) for each of its lengths, the single pixel first; returns how
// many pixels it covers.
template <typename OnCode>
std::uint32_t WalkLongestString(const std::vector<std::uint8_t>& pixels, std::uint32_t at,
                                OnCode onCode) {
    int prefix = pixels[at];
    onCode(prefix);
    std::uint32_t end = at + 1;
    for (; end < pixels.size(); ++end) {
        const int code = Lookup(prefix, pixels[end]);
        if (code < 0) {
            break;
        }
        prefix = code;
        onCode(code);
    }
    return end - at;
}

// How many pixels from `at` on the longest string in the table covers.
std::uint32_t MatchLength(const std::vector<std::uint8_t>& pixels, std::uint32_t at) {
    return WalkLongestString(pixels, at, [](int) {});
}

// The codes of the longest string from `at` on, one per length.
void LongestString(const std::vector<std::uint8_t>& pixels, std::uint32_t at,
                   std::vector<int>& codes) {
    codes.clear();
    WalkLongestString(pixels, at, [&codes](int code) { codes.push_back(code); });
}

// How long a string to write from `at` on: the longest, unless a shorter
// one (by up to `lookahead` pixels) lets the string after it reach further.
std::uint32_t LengthToWrite(const std::vector<std::uint8_t>& pixels, std::uint32_t at,
                            std::uint32_t longest, int lookahead) {
    if (at + longest >= pixels.size()) {
        return longest;
    }
    std::uint32_t best = longest;
    std::uint32_t bestReach = longest + MatchLength(pixels, at + longest);
    for (std::uint32_t length = longest - 1;
         length >= 1 && length + std::uint32_t(lookahead) >= longest; --length) {
        const std::uint32_t reach = length + MatchLength(pixels, at + length);
        if (reach > bestReach) {
            best = length;
            bestReach = reach;
        }
    }
    return best;
}

// The encoder with look-ahead works on all pixels at once. A string cut
// short still makes the decoder assign a code to it and the next pixel;
// that string is already in the table, so the code is used up unseen.
void LzwEncodeLookingAhead(int initialBits, const std::vector<std::uint8_t>& pixels,
                           bool emitEndCode, LzwChoices choices) {
    CodeWriter writer(initialBits);
    int freeCode = 0;
    ClearPolicy policy(choices.clearCheckGap);
    StartOver(writer, freeCode, policy, false);
    std::vector<int> codes;
    std::uint32_t at = 0;
    for (;;) {
        LongestString(pixels, at, codes);
        const std::uint32_t length =
            LengthToWrite(pixels, at, std::uint32_t(codes.size()), choices.lookahead);
        const int code = codes[length - 1];
        writer.Put(code, freeCode, false);
        policy.Pixels(length);
        at += length;
        if (at >= pixels.size()) {
            break;
        }
        if (freeCode < kMaxCodes) {
            const int pixel = pixels[at];
            const std::int32_t fcode = (std::int32_t(pixel) << kMaxBits) + code;
            bool found = false;
            const int slot = FindSlot(fcode, pixel, code, found);
            if (!found) {
                codeTable[slot] = std::uint16_t(freeCode);
                hashTable[slot] = fcode;
            }
            ++freeCode;
        } else if (policy.ShouldClear(writer.BitsWritten())) {
            StartOver(writer, freeCode, policy, true);
        }
    }
    Finish(writer, freeCode, emitEndCode);
}

}  // namespace

void LzwEncode(int initialBits, std::uint32_t pixelCount, bool emitEndCode, PixelSource& source,
               LzwChoices choices) {
    if (choices.lookahead > 0 && pixelCount > 0) {
        std::vector<std::uint8_t> pixels(pixelCount);
        for (std::uint8_t& pixel : pixels) {
            pixel = source.Next();
        }
        LzwEncodeLookingAhead(initialBits, pixels, emitEndCode, choices);
        return;
    }
    CodeWriter writer(initialBits);
    int freeCode = writer.FirstFree();
    if (pixelCount == 0) {
        writer.Put(writer.EndCode(), freeCode, false);
        writer.Flush();
        return;
    }
    int prefix = source.Next();
    ClearPolicy policy(choices.clearCheckGap);
    StartOver(writer, freeCode, policy, false);
    for (std::uint32_t left = pixelCount - 1; left > 0; --left) {
        const int pixel = source.Next();
        policy.Pixels(1);
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
        } else if (policy.ShouldClear(writer.BitsWritten())) {
            StartOver(writer, freeCode, policy, true);
        }
    }
    writer.Put(prefix, freeCode, false);
    Finish(writer, freeCode, emitEndCode);
}
