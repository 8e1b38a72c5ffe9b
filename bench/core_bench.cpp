// Speed of the framework core's hot paths: message formatting, scanning and
// the allocator with its temporary pool.
#include <benchmark/benchmark.h>

#include "framework/core/format.h"
#include "framework/core/memory.h"
#include "framework/core/strings.h"

namespace {

void FormatTimeText(benchmark::State& state) {
    for (auto _ : state) {
        char* text = JFormat("%d%:%d02,2%.%d03,3%", 1, 5, 1234);
        benchmark::DoNotOptimize(text);
        JStrFree(text);
    }
}
BENCHMARK(FormatTimeText);

void FormatReal(benchmark::State& state) {
    for (auto _ : state) {
        char* text = JFormat("%f1.2,2%%%%", 12.3456);
        benchmark::DoNotOptimize(text);
        JStrFree(text);
    }
}
BENCHMARK(FormatReal);

void ScanColour(benchmark::State& state) {
    std::uint8_t r = 0, g = 0, b = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(JScan("FF0010", "%xbl2%%xbl2%%xbl2%", &r, &g, &b));
    }
}
BENCHMARK(ScanColour);

void TemporaryPoolStep(benchmark::State& state) {
    for (auto _ : state) {
        JTempMark();
        for (int i = 0; i < 64; ++i) {
            benchmark::DoNotOptimize(JTempAlloc(32));
        }
        JTempRelease();
    }
}
BENCHMARK(TemporaryPoolStep);

}  // namespace
