// Fuzz target: a whole run. The input's first line is the method kind; the
// rest, split at each 0x1e byte, gives the method files (at most 16).
#include "driver/run.hpp"
#include "scratch_files.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The run's report is of no interest here; standard output goes nowhere.
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    ::close(null);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ordimet::fuzz::ScratchDir dir;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t line_end = input.find('\n');
    const std::string kind = input.substr(0, line_end);
    std::vector<std::string> names;
    std::size_t start = line_end == std::string::npos ? size : line_end + 1;
    while (names.size() < 16) {
        const std::size_t end = std::min(input.find('\x1e', start), size);
        const std::string part = input.substr(start, end - start);
        std::string name(1, 'f');
        name += std::to_string(names.size());
        names.push_back(dir.write(name, part.data(), part.size()));
        if (end == size) {
            break;
        }
        start = end + 1;
    }
    std::vector<const char*> argv{"ordimet", kind.c_str()};
    for (const std::string& name : names) {
        argv.push_back(name.c_str());
    }
    ordimet::run(static_cast<int>(argv.size()), argv.data());
    std::fflush(stdout);
    return 0;
}
