#include "app/shell/child_jobs.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// Later pieces finish first, so output arrives out of order.
int SlowFirst(std::size_t index) {
    usleep(useconds_t(20000 * (5 - index)));
    std::printf("out %zu\n", index);
    std::fprintf(stderr, "err %zu\n", index);
    return index % 2 == 1 ? 1 : 0;
}

TEST(ChildJobs, OutputComesInTheOrderOfTheWorkAndFailuresAreCounted) {
    for (unsigned jobs : {1u, 3u, 8u}) {
        SCOPED_TRACE(jobs);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int failures = RunInChildren(5, jobs, SlowFirst);
        std::fflush(stdout);
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(failures, 2);
        EXPECT_EQ(out, "out 0\nout 1\nout 2\nout 3\nout 4\n");
        EXPECT_EQ(err, "err 0\nerr 1\nerr 2\nerr 3\nerr 4\n");
    }
}

TEST(ChildJobs, LongOutputIsPassedOnWhole) {
    testing::internal::CaptureStdout();
    RunInChildren(2, 2, [](std::size_t index) {
        for (int line = 0; line < 20000; ++line) {
            std::printf("%zu:%d\n", index, line);
        }
        return 0;
    });
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("1:0\n"), out.find("0:19999\n") + 8);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 40000);
}

TEST(ChildJobs, ThereIsAlwaysAProcessor) {
    EXPECT_GE(ProcessorCount(), 1u);
}

}  // namespace
