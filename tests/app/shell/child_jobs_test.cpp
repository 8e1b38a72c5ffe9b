#include "app/shell/child_jobs.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

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

TEST(ChildJobs, BatchesHoldAboutTheSameNumberOfBytes) {
    constexpr std::uint64_t kMegabyte = 1 << 20;
    // 16 MB over 2 jobs: batches of about 2 MB, in order.
    const std::vector<std::uint64_t> sizes{kMegabyte, kMegabyte, 4 * kMegabyte, kMegabyte,
                                           kMegabyte, kMegabyte, 7 * kMegabyte};
    EXPECT_EQ(BatchStarts(sizes, 2), (std::vector<std::size_t>{0, 2, 3, 5}));
    // Small files share one batch: a process would cost more than they do.
    EXPECT_EQ(BatchStarts({1000, 2000, 3000}, 8), (std::vector<std::size_t>{0}));
    EXPECT_EQ(BatchStarts({}, 2), (std::vector<std::size_t>{0}));
}

// A progress line reaches the terminal while its child is the earliest
// one running; one at a time, every child is.
TEST(ChildJobs, StatusOfTheEarliestChildIsPassedOnAtOnce) {
    EXPECT_EQ(ChildStatusFd(), -1);
    testing::internal::CaptureStderr();
    RunInChildren(
        3, 1,
        [](std::size_t index) {
            const std::string status = "S" + std::to_string(index);
            EXPECT_EQ(write(ChildStatusFd(), status.data(), status.size()), ssize_t(status.size()));
            std::fprintf(stderr, "err %zu\n", index);
            return 0;
        },
        true);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "S0err 0\nS1err 1\nS2err 2\n");
}

TEST(ChildJobs, ThereIsAlwaysAProcessor) {
    EXPECT_GE(ProcessorCount(), 1u);
}

}  // namespace
