#pragma once

// Scratch files for tests: a directory that is removed with everything in it
// when the test ends.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace ordimet::testing {

class TempDir {
  public:
    // A new directory of a random name, readable by its owner only; the path
    // stays empty when none can be made.
    TempDir() {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::temp_directory_path(error);
        std::random_device random;
        for (int attempt = 0; attempt < 100 && path_.empty() && !error; ++attempt) {
            const std::filesystem::path candidate = base / ("ordimet-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate, error)) {
                std::filesystem::permissions(candidate, std::filesystem::perms::owner_all, error);
                path_ = candidate.string();
            }
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    // Writes `content` byte for byte into the named file; returns its path.
    std::string write(const std::string& name, std::string_view content) const {
        const std::string file = path(name);
        std::ofstream(file, std::ios::binary)
            .write(content.data(), static_cast<std::streamsize>(content.size()));
        return file;
    }
    std::string path(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

} // namespace ordimet::testing
