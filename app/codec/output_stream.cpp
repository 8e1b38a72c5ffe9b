#include "app/codec/output_stream.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/core/files.h"
#include "framework/core/memory.h"

namespace {

struct OutputStream {
    std::vector<std::uint8_t*> fullBlocks;
    std::uint8_t* current = nullptr;
    std::uint32_t fill = 0;
    std::uint32_t total = 0;
};

OutputStream& Stream() {
    // Never destroyed: the stream lives as long as the program.
    static OutputStream& stream = *new OutputStream;
    return stream;
}

std::uint8_t* NewBlock() {
    return static_cast<std::uint8_t*>(JAlloc(kOutputBlockSize));
}

void EnsureCurrentBlock() {
    if (!Stream().current) {
        Stream().current = NewBlock();
    }
}

}  // namespace

void InitOutput() {
    ResetOutput();
    EnsureCurrentBlock();
}

void ResetOutput() {
    OutputStream& stream = Stream();
    for (std::uint8_t* block : stream.fullBlocks) {
        JFree(block);
    }
    stream.fullBlocks.clear();
    stream.fill = 0;
    stream.total = 0;
}

void FreeOutput() {
    ResetOutput();
    JFree(Stream().current);
    Stream().current = nullptr;
}

void WriteOutput(std::uint32_t count, const void* bytes) {
    OutputStream& stream = Stream();
    const auto* source = static_cast<const std::uint8_t*>(bytes);
    while (count > 0) {
        EnsureCurrentBlock();
        std::uint32_t part = std::min(count, kOutputBlockSize - stream.fill);
        std::memcpy(stream.current + stream.fill, source, part);
        stream.fill += part;
        stream.total += part;
        source += part;
        count -= part;
        if (stream.fill == kOutputBlockSize) {
            stream.fullBlocks.push_back(stream.current);
            stream.current = NewBlock();
            stream.fill = 0;
        }
    }
}

void WriteOutputByte(std::uint8_t byte) {
    WriteOutput(1, &byte);
}

std::uint32_t OutputSize() {
    return Stream().total;
}

bool WriteOutputToFile(JFile* file) {
    OutputStream& stream = Stream();
    for (std::uint8_t* block : stream.fullBlocks) {
        if (!JFileWrite(file, block, kOutputBlockSize)) {
            return false;
        }
    }
    return stream.fill == 0 || JFileWrite(file, stream.current, stream.fill);
}

std::vector<std::uint8_t> CopyOutput() {
    OutputStream& stream = Stream();
    std::vector<std::uint8_t> copy(stream.total);
    std::uint8_t* end = copy.data();
    for (std::uint8_t* block : stream.fullBlocks) {
        end = std::copy_n(block, kOutputBlockSize, end);
    }
    if (stream.fill > 0) {
        std::copy_n(stream.current, stream.fill, end);
    }
    return copy;
}
