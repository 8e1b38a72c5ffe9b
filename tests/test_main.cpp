#include <gtest/gtest.h>

#include "framework/core/core_startup.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Death tests fork; the thread-safe style re-runs the test program instead.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    JCoreStartup();
    return RUN_ALL_TESTS();
}
