#pragma once

// A folder of its own for a test that writes files, removed with all it holds
// when the test ends.

#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>

#include <stdlib.h>

struct TempFolder {
    explicit TempFolder(const std::string& prefix = "test") {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        path = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string File(const std::string& name) const { return (path / name).string(); }
    // The names in the folder, or in its subfolder `sub`.
    std::set<std::string> Files(const std::string& sub = "") const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path / sub))
            names.insert(entry.path().filename().string());
        return names;
    }
    std::filesystem::path path;
};
