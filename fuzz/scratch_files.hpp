#pragma once

// A private scratch directory for the files a fuzz input is written to, on a
// memory file system where there is one.

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace ordimet::fuzz {

class ScratchDir {
  public:
    ScratchDir() {
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                               ? "/dev/shm"
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "ordimet-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        path_ = pattern;
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    // Writes the bytes into the named file of the directory; returns its path.
    std::string write(const std::string& name, const void* data, std::size_t size) const {
        const std::string file = path_ + "/" + name;
        std::FILE* out = std::fopen(file.c_str(), "wb");
        if (out == nullptr || std::fwrite(data, 1, size, out) != size || std::fclose(out) != 0) {
            std::abort();
        }
        return file;
    }

  private:
    std::string path_;
};

} // namespace ordimet::fuzz
