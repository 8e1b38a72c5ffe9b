// The GIF files of the shared corpus that tests read (../shared/corpus).
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

// Every *.gif below a corpus folder, in name order; none when it is absent.
inline std::vector<std::filesystem::path> CorpusGifFiles(const std::string& folder) {
    std::vector<std::filesystem::path> files;
    const std::filesystem::path root = std::filesystem::path(PINDLE_CORPUS_DIR) / folder;
    if (!std::filesystem::is_directory(root)) {
        return files;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_regular_file() && entry.path().extension() == ".gif") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}
