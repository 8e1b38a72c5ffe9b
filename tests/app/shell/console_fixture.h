// Runs the console front end as a shell would, with its output captured, on
// files in a test directory of its own.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/shell/console.h"
#include "framework/ui/alerts.h"
#include "tests/test_directory.h"

class ConsoleRun : public testing::Test {
protected:
    void TearDown() override { JSetAlertDriver(nullptr); }

    // "pindle" followed by the arguments; the exit status.
    int Run(std::initializer_list<std::string> arguments) {
        std::vector<std::string> words{"pindle"};
        words.insert(words.end(), arguments);
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int status = RunConsole(int(argv.size()), argv.data());
        out_ = testing::internal::GetCapturedStdout();
        err_ = testing::internal::GetCapturedStderr();
        return status;
    }

    // A copy of the bundled sample, ball.gif, in the test directory.
    std::string Sample() {
        std::filesystem::copy_file(PINDLE_SOURCE_DIR "/samples/bouncing-ball.gif",
                                   dir_.File("ball.gif"),
                                   std::filesystem::copy_options::overwrite_existing);
        return dir_.File("ball.gif");
    }

    TestDirectory dir_;
    std::string out_;
    std::string err_;
};
