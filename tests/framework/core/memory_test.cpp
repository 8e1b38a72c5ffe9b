#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "framework/core/memory.h"

namespace {

// A heap that refuses requests of one particular size, counting the refusals.
constexpr std::size_t kRefusedSize = 12345;
int gRefusals = 0;

void* RefusingAllocate(std::size_t size) {
    if (size == kRefusedSize) {
        ++gRefusals;
        return nullptr;
    }
    return JDefaultPlatformHeap().allocate(size);
}

void* RefusingReallocate(void* block, std::size_t size) {
    if (size == kRefusedSize) {
        ++gRefusals;
        return nullptr;
    }
    return JDefaultPlatformHeap().reallocate(block, size);
}

void UseRefusingHeap() {
    const JPlatformHeap& real = JDefaultPlatformHeap();
    JSetPlatformHeap({RefusingAllocate, RefusingReallocate, real.release, real.blockSize});
}

TEST(MemoryDeathTest, RefusedRequestTellsTheUserAndExitsWithZero) {
    EXPECT_EXIT(
        {
            UseRefusingHeap();
            JAlloc(kRefusedSize);
            std::fputs("returned", stderr);
        },
        testing::ExitedWithCode(0), "Out\u00A0of\u00A0memory\\..*Pindle cannot operate");
}

void FatalHandler(std::uintptr_t context, std::uint32_t count) {
    // The reserve has been given back, the heap was asked twice, and a
    // second failure during the report returns no block instead of recursing.
    void* again = JAlloc(kRefusedSize);
    std::fprintf(stderr, "handler context=%lu count=%u asked=%d again=%s",
                 static_cast<unsigned long>(context), count, gRefusals, again ? "block" : "none");
}

TEST(MemoryDeathTest, FatalHandlerRunsOnceThenTheProcessEnds) {
    EXPECT_EXIT(
        {
            JSetReserve(16384);
            JSetFatalHandler(FatalHandler, 42);
            UseRefusingHeap();
            JRealloc(JAlloc(10), kRefusedSize);
        },
        testing::ExitedWithCode(0), "handler context=42 count=1 asked=4 again=none");
}

TEST(MemoryDeathTest, OperatorNewFailureTakesTheSamePath) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reports oversized requests itself";
#else
    EXPECT_EXIT(
        {
            JMemoryStartup();
            std::size_t huge = std::size_t{1} << 60;
            std::vector<char> tooLarge(huge);
            std::fprintf(stderr, "returned %zu", tooLarge.size());
        },
        testing::ExitedWithCode(0), "Out\u00A0of\u00A0memory");
#endif
}

TEST(MemoryTest, RunningTotalGrowsByRequestsAndShrinksByActualSizes) {
    void* warmUp = JAlloc(1);  // makes sure the cushion is already held
    JFree(warmUp);
    std::int64_t before = JHeapTotal();
    void* block = JAlloc(100);
    EXPECT_EQ(JHeapTotal(), before + 100);
    std::int64_t actual100 = static_cast<std::int64_t>(malloc_usable_size(block));
    block = JRealloc(block, 40);
    EXPECT_EQ(JHeapTotal(), before + 100 - actual100 + 40);
    std::int64_t actual40 = static_cast<std::int64_t>(malloc_usable_size(block));
    JFree(block);
    EXPECT_EQ(JHeapTotal(), before + 100 - actual100 + 40 - actual40);
}

TEST(MemoryTest, ResizeKeepsContents) {
    auto* block = static_cast<char*>(JAlloc(4));
    std::memcpy(block, "abcd", 4);
    block = static_cast<char*>(JRealloc(block, 100000));
    EXPECT_EQ(std::memcmp(block, "abcd", 4), 0);
    JFree(block);
}

// A heap that notes every block it releases.
std::vector<void*> gReleased;
void RecordingRelease(void* block) {
    gReleased.push_back(block);
    JDefaultPlatformHeap().release(block);
}

bool WasReleased(void* block) {
    for (void* released : gReleased) {
        if (released == block) {
            return true;
        }
    }
    return false;
}

TEST(MemoryTest, TemporaryBlocksLiveUntilTheirOwnStepEnds) {
    JPlatformHeap recording = JDefaultPlatformHeap();
    recording.release = RecordingRelease;
    JSetPlatformHeap(recording);
    gReleased.clear();

    JTempMark();  // an event-loop step
    void* handlerBlock = JTempAlloc(64);
    JTempMark();  // a modal loop's step run by the handler
    void* modalBlock = JTempAlloc(64);
    void* adopted = JAlloc(32);
    JTempAdopt(adopted);
    JTempAdopt(nullptr);  // empty entries are allowed and skipped
    JTempRelease();

    EXPECT_TRUE(WasReleased(modalBlock));
    EXPECT_TRUE(WasReleased(adopted));
    EXPECT_FALSE(WasReleased(handlerBlock));
    JTempRelease();
    EXPECT_TRUE(WasReleased(handlerBlock));
    JSetPlatformHeap(JDefaultPlatformHeap());
}

TEST(MemoryTest, BlockMoveHandlesOverlapLikeASeparateBuffer) {
    char text[] = "0123456789";
    JBlockMove(text + 1, text, 9);
    EXPECT_STREQ(text, "0012345678");
    char back[] = "0123456789";
    JBlockMove(back, back + 1, 9);
    EXPECT_STREQ(back, "1234567899");
    EXPECT_TRUE(JBlockEqual("abc", "abd", 2));
    EXPECT_FALSE(JBlockEqual("abc", "abd", 3));
}

}  // namespace
