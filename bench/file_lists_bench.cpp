// Filling the file dialogs' lists for a folder of 5,000 files, as the Open
// dialog does when it starts and again when a pattern is typed.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "framework/ui/file_lists.h"

namespace {

class ThousandsOfFiles {
public:
    ThousandsOfFiles() {
        std::string pattern = (std::filesystem::temp_directory_path() / "pindle-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern + "/" : std::string();
        for (int i = 0; i < 5000; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "frame-%04d.%s", i, i % 5 == 0 ? "png" : "gif");
            std::ofstream(path_ + name) << "x";
        }
        for (int i = 0; i < 50; ++i) {
            std::filesystem::create_directory(path_ + "folder-" + std::to_string(i));
        }
    }
    ~ThousandsOfFiles() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

void BM_FillListsOf5000Files(benchmark::State& state) {
    static const ThousandsOfFiles folder;
    const char* pattern = state.range(0) == 0 ? "*.gif" : "*.png";
    for (auto _ : state) {
        JFileListing listing;
        benchmark::DoNotOptimize(JFillFileListing(folder.path(), pattern, &listing));
        benchmark::DoNotOptimize(listing.files.size());
    }
}
BENCHMARK(BM_FillListsOf5000Files)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
