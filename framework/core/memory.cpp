#include "framework/core/memory.h"

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "framework/core/list.h"
#include "framework/core/resources.h"

namespace {

constexpr std::size_t kCushionSize = 8192;
constexpr std::uint32_t kLowMemoryRepeatMs = 120000;
constexpr JListValue kReleaseMark = ~JListValue{0};
constexpr std::uint16_t kOutOfMemoryText = 2200;
constexpr std::uint16_t kQuittingText = 2203;

void* PlatformAllocate(std::size_t size) {
    return std::malloc(size);
}
void* PlatformReallocate(void* block, std::size_t size) {
    return std::realloc(block, size);
}
void PlatformRelease(void* block) {
    std::free(block);
}
std::size_t PlatformBlockSize(void* block) {
    return malloc_usable_size(block);
}

constexpr JPlatformHeap kDefaultHeap{PlatformAllocate, PlatformReallocate, PlatformRelease,
                                     PlatformBlockSize};

struct MemoryState {
    JPlatformHeap heap = kDefaultHeap;
    std::int64_t total = 0;
    void* reserve = nullptr;
    void* cushion = nullptr;
    bool armed = true;
    std::uint32_t fatalExits = 0;
    JFatalHandler fatalHandler = nullptr;
    std::uintptr_t fatalContext = 0;
    JLowMemoryHandler lowMemoryHandler = nullptr;
    std::uintptr_t lowMemoryContext = 0;
    bool lastNoticeLow = false;
    std::uint32_t lastNoticeTime = 0;
    bool inNotice = false;
    bool inUpkeep = false;
    JList* tempPool = nullptr;
};

MemoryState& State() {
    static MemoryState state;
    return state;
}

std::uint32_t MillisecondsNow() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// This platform gives no warning before memory runs out: it is never low
// and always recovered.
bool PlatformMemoryIsLow() {
    return false;
}
bool PlatformMemoryRecovered() {
    return true;
}

void SendLowMemoryNotice(bool low) {
    MemoryState& s = State();
    if (s.inNotice) {
        return;
    }
    s.inNotice = true;
    std::uint32_t now = MillisecondsNow();
    bool repeat = (low == s.lastNoticeLow) && (now - s.lastNoticeTime < kLowMemoryRepeatMs);
    if (!repeat) {
        s.lastNoticeLow = low;
        s.lastNoticeTime = now;
        if (s.lowMemoryHandler) {
            s.lowMemoryHandler(s.lowMemoryContext, low);
        }
    }
    s.inNotice = false;
}

void KeepCushion() {
    MemoryState& s = State();
    if (s.inUpkeep) {
        return;
    }
    s.inUpkeep = true;
    if (PlatformMemoryIsLow()) {
        if (s.cushion) {
            s.total -= static_cast<std::int64_t>(s.heap.blockSize(s.cushion));
            s.heap.release(s.cushion);
            s.cushion = nullptr;
        }
        SendLowMemoryNotice(true);
    } else if (s.lastNoticeLow && PlatformMemoryRecovered()) {
        SendLowMemoryNotice(false);
    }
    if (!s.cushion) {
        s.cushion = s.heap.allocate(kCushionSize);
        if (s.cushion) {
            s.total += kCushionSize;
        }
    }
    s.inUpkeep = false;
}

void WriteText(std::uint16_t id) {
    const char* text = JResourceText(id);
    if (text) {
        std::fputs(text, stderr);
        std::fputc('\n', stderr);
    }
}

// Without a registered handler the user still learns why the program ends.
void TellOnStandardError() {
    WriteText(kOutOfMemoryText);
    WriteText(kQuittingText);
}

// Runs once: gives back the reserve so the handler has memory to work with,
// lets the application tell the user, and ends the process. A second failure
// while the first is being reported returns no block.
void RunOutOfMemoryPath() {
    MemoryState& s = State();
    if (!s.armed) {
        return;
    }
    s.armed = false;
    if (s.reserve) {
        s.heap.release(s.reserve);
        s.reserve = nullptr;
    }
    ++s.fatalExits;
    if (s.fatalHandler) {
        s.fatalHandler(s.fatalContext, s.fatalExits);
    } else {
        TellOnStandardError();
    }
    std::fflush(nullptr);
    std::_Exit(0);
}

void OperatorNewFailed() {
    RunOutOfMemoryPath();
    // Already reporting: let operator new fail in its own way.
    std::set_new_handler(nullptr);
}

// The platform heap is asked twice (the compaction hook between the tries
// does nothing here).
void* AskHeap(void* block, std::size_t size) {
    MemoryState& s = State();
    for (int attempt = 0; attempt < 2; ++attempt) {
        void* result = block ? s.heap.reallocate(block, size) : s.heap.allocate(size);
        if (result) {
            return result;
        }
    }
    return nullptr;
}

void* AllocateOrFail(void* block, std::size_t size) {
    if (size == 0) {
        size = 1;
    }
    MemoryState& s = State();
    std::size_t oldSize = block ? s.heap.blockSize(block) : 0;
    void* result = AskHeap(block, size);
    if (!result) {
        RunOutOfMemoryPath();
        return nullptr;
    }
    s.total += static_cast<std::int64_t>(size) - static_cast<std::int64_t>(oldSize);
    KeepCushion();
    return result;
}

JList* TempPool() {
    MemoryState& s = State();
    if (!s.tempPool) {
        s.tempPool = JListNew();
    }
    return s.tempPool;
}

}  // namespace

void* JAlloc(std::size_t size) {
    return AllocateOrFail(nullptr, size);
}

void* JRealloc(void* block, std::size_t size) {
    return AllocateOrFail(block, size);
}

void JFree(void* block) {
    if (!block) {
        return;
    }
    MemoryState& s = State();
    s.total -= static_cast<std::int64_t>(s.heap.blockSize(block));
    s.heap.release(block);
    KeepCushion();
}

void JSetReserve(std::size_t size) {
    MemoryState& s = State();
    if (s.reserve) {
        JFree(s.reserve);
        s.reserve = nullptr;
    }
    s.reserve = JAlloc(size);
}

void JSetFatalHandler(JFatalHandler handler, std::uintptr_t context) {
    State().fatalHandler = handler;
    State().fatalContext = context;
}

void JSetLowMemoryHandler(JLowMemoryHandler handler, std::uintptr_t context) {
    State().lowMemoryHandler = handler;
    State().lowMemoryContext = context;
}

void* JTempAlloc(std::size_t size) {
    void* block = JAlloc(size);
    JTempAdopt(block);
    return block;
}

void JTempAdopt(void* block) {
    JListAppend(TempPool(), reinterpret_cast<JListValue>(block));
}

void JTempMark() {
    JListAppend(TempPool(), kReleaseMark);
}

void JTempRelease() {
    JList* pool = TempPool();
    // Walked by count: the pool may hold empty entries, which read as 0.
    while (JListCount(pool) > 0) {
        JListValue value = JListLast(pool);
        JListRemoveCurrent(pool);
        if (value == kReleaseMark) {
            return;
        }
        JFree(reinterpret_cast<void*>(value));
    }
}

void JBlockMove(void* destination, const void* source, std::size_t count) {
    std::memmove(destination, source, count);
}

bool JBlockEqual(const void* a, const void* b, std::size_t count) {
    return std::memcmp(a, b, count) == 0;
}

std::int64_t JHeapTotal() {
    return State().total;
}

void JMemoryStartup() {
    std::set_new_handler(OperatorNewFailed);
}

void JSetPlatformHeap(const JPlatformHeap& heap) {
    State().heap = heap;
}

const JPlatformHeap& JDefaultPlatformHeap() {
    return kDefaultHeap;
}
