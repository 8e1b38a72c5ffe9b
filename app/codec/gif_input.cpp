#include "app/codec/gif_input.h"

#include <vector>

#include <algorithm>
#include <cstring>

#include "framework/core/files.h"

namespace {

// Unconsumed bytes always sit at the end of the buffer: the next byte to hand
// out is at capacity - buffered.
struct GifInput {
    const std::uint8_t* buffer = nullptr;
    std::uint32_t totalSize = 0;
    std::uint32_t remaining = 0;  // source bytes not yet brought into the buffer
    std::uint32_t buffered = 0;   // buffered bytes not yet consumed
    std::uint32_t capacity = 0;
    JFile* file = nullptr;
    InputRefillObserver onRefill;
};

GifInput input;
std::uint8_t fileBuffer[kInputBufferSize];

bool ReadFully(JFile* file, std::uint8_t* destination, std::uint32_t count) {
    while (count > 0) {
        std::uint32_t got = count;
        if (!JFileRead(file, destination, &got) || got == 0) {
            return false;
        }
        destination += got;
        count -= got;
    }
    return true;
}

// Moves the unconsumed bytes towards the start and reads more behind them.
bool Refill() {
    std::uint32_t more = std::min(input.capacity - input.buffered, input.remaining);
    if (more == 0 || !input.file) {
        return false;
    }
    std::memmove(fileBuffer + input.capacity - input.buffered - more,
                 fileBuffer + input.capacity - input.buffered, input.buffered);
    if (!ReadFully(input.file, fileBuffer + input.capacity - more, more)) {
        return false;
    }
    input.remaining -= more;
    input.buffered += more;
    if (input.onRefill) {
        input.onRefill(more);
    }
    return true;
}

}  // namespace

void BeginFileInput(JFile* file, std::uint32_t totalSize, std::uint32_t remaining,
                    InputRefillObserver onRefill) {
    input = GifInput{
        fileBuffer, totalSize,          std::min(remaining, totalSize), 0, kInputBufferSize,
        file,       std::move(onRefill)};
}

void EndFileInput() {
    input = GifInput{};
}

void InputFromMemory(std::uint32_t length, const std::uint8_t* block) {
    input = GifInput{block, length, 0, length, length, nullptr, {}};
}

void EndInputFromMemory() {
    // Forgetting the block also forgets its unconsumed bytes, so that nothing
    // is handed out from a block the caller may free next.
    input = GifInput{};
}

namespace {

std::vector<std::uint8_t>* capture = nullptr;

}  // namespace

void CaptureInput(std::vector<std::uint8_t>* bytes) {
    capture = bytes;
}

const std::uint8_t* InputBytes(std::uint16_t n) {
    static const std::uint8_t kNothing = 0;
    if (n == 0) {
        return &kNothing;
    }
    if (!input.buffer) {
        return nullptr;
    }
    if (n > input.buffered && (!Refill() || n > input.buffered)) {
        return nullptr;
    }
    const std::uint8_t* bytes = input.buffer + (input.capacity - input.buffered);
    input.buffered -= n;
    if (capture) {
        capture->insert(capture->end(), bytes, bytes + n);
    }
    return bytes;
}

bool InputByte(std::uint8_t& byte) {
    const std::uint8_t* bytes = InputBytes(1);
    if (!bytes) {
        return false;
    }
    byte = *bytes;
    return true;
}

const std::uint8_t* InputSubBlock(std::uint8_t& length) {
    if (!InputByte(length)) {
        return nullptr;
    }
    return InputBytes(length);
}

bool InputSkipSubBlocks() {
    for (;;) {
        std::uint8_t length = 0;
        if (!InputSubBlock(length)) {
            return false;
        }
        if (length == 0) {
            return true;
        }
    }
}

std::uint32_t InputPosition() {
    return input.totalSize - input.remaining - input.buffered;
}

bool InputAtEnd() {
    return input.remaining == 0 && input.buffered == 0;
}
