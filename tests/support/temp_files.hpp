#pragma once

// Scratch files for tests: a directory that is removed with everything in it
// when the test ends.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace ordimet::testing {

class TempDir {
  public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "ordimet-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
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
