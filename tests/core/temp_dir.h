#pragma once
#include "util/platform_file.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace meshforge::test {

// A new folder "<prefix><random>" under the system's temporary folder (mkdtemp is POSIX only).
inline std::filesystem::path MakeTempFolder(const std::string& prefix) {
    std::random_device random;
    for (;;) {
        auto candidate = std::filesystem::temp_directory_path() /
                         platform::PathFromUtf8(prefix + std::to_string(random()));
        if (std::filesystem::create_directory(candidate))
            return candidate;
    }
}

// A fresh folder under the system's temporary folder, removed with everything in it.
struct TempDir {
    std::filesystem::path path = MakeTempFolder("mf-");
    TempDir() = default;
    ~TempDir() { std::filesystem::remove_all(path); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // Paths in and out as the program's UTF-8 text.
    std::string operator/(const std::string& name) const {
        return platform::Utf8FromPath(path / platform::PathFromUtf8(name));
    }
    // The folder with a trailing separator, as the program folder is kept.
    std::string Folder() const {
        return platform::Utf8FromPath(path) +
               std::string(1, std::filesystem::path::preferred_separator);
    }
    std::string Touch(const std::string& name, const std::string& content = "BM") const {
        const std::filesystem::path file = path / platform::PathFromUtf8(name);
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
        return platform::Utf8FromPath(file);
    }
};

} // namespace meshforge::test
