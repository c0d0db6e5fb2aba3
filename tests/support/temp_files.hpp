#pragma once

// A scratch directory for tests and fuzz targets, on a memory file system
// where there is one, removed with everything in it at the end of its scope.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace ordimet::scratch {

class TempDir {
  public:
    TempDir() {
        namespace fs = std::filesystem;
        std::error_code error;
        const fs::path base =
            fs::is_directory("/dev/shm", error) ? "/dev/shm" : fs::temp_directory_path(error);
        std::random_device random;
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const fs::path candidate = base / ("ordimet-" + std::to_string(random()));
            if (fs::create_directory(candidate, error)) {
                path_ = candidate.string();
            }
        }
        if (path_.empty()) {
            std::abort(); // nowhere to write the test's files
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    // The path of a file in the directory, whether it exists or not.
    std::string path(const std::string& name) const { return path_ + "/" + name; }

    // Writes `content` byte for byte into the named file; returns its path.
    std::string write(const std::string& name, std::string_view content) const {
        const std::string file = path(name);
        std::ofstream(file, std::ios::binary)
            .write(content.data(), static_cast<std::streamsize>(content.size()));
        return file;
    }

  private:
    std::string path_;
};

} // namespace ordimet::scratch
