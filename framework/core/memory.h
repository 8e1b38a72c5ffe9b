// The program's one allocator: every block comes from here, and an
// allocation never returns empty to ordinary code. When the heap refuses a
// request twice, the emergency reserve is given back, the fatal handler tells
// the user and the process ends.
//
// The temporary pool frees short-lived blocks (temporary strings, controls
// waiting for deletion) at the end of each event-loop step: every step opens
// with JTempMark and closes with JTempRelease.
#pragma once

#include <cstddef>
#include <cstdint>

void* JAlloc(std::size_t size);
void* JRealloc(void* block, std::size_t size);
void JFree(void* block);

// Releases the current reserve block (if any) and holds a new one of `size`.
void JSetReserve(std::size_t size);

using JFatalHandler = void (*)(std::uintptr_t context, std::uint32_t fatalExitCount);
using JLowMemoryHandler = void (*)(std::uintptr_t context, bool memoryIsLow);
void JSetFatalHandler(JFatalHandler handler, std::uintptr_t context);
void JSetLowMemoryHandler(JLowMemoryHandler handler, std::uintptr_t context);

// Temporary pool.
void* JTempAlloc(std::size_t size);
void JTempAdopt(void* block);  // the pool takes ownership of a JAlloc block
void JTempMark();
void JTempRelease();

void JBlockMove(void* destination, const void* source, std::size_t count);
bool JBlockEqual(const void* a, const void* b, std::size_t count);

// Bytes in live blocks: grows by requested sizes and shrinks by the blocks'
// actual sizes, so it drifts below the true figure by the heap's rounding.
std::int64_t JHeapTotal();

// Routes failures of C++ operator new into the same out-of-memory path.
void JMemoryStartup();

// The platform heap behind JAlloc; tests replace it to make the heap refuse.
struct JPlatformHeap {
    void* (*allocate)(std::size_t size);
    void* (*reallocate)(void* block, std::size_t size);
    void (*release)(void* block);
    std::size_t (*blockSize)(void* block);
};
void JSetPlatformHeap(const JPlatformHeap& heap);
const JPlatformHeap& JDefaultPlatformHeap();
