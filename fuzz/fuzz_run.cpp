// Fuzz target: a whole run. The input's first line is the method kind; the
// rest, split at each 0x1e byte, gives the method files (at most 16).
#include "driver/run.hpp"
#include "support/temp_files.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ordimet::scratch::TempDir dir;
    // The run's report is of no interest here.
    static std::FILE* const out = std::freopen("/dev/null", "w", stdout);
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t line_end = std::min(input.find('\n'), size);
    std::vector<std::string> args{"ordimet", input.substr(0, line_end)};
    for (std::size_t start = std::min(line_end + 1, size);;) {
        const std::size_t end = std::min(input.find('\x1e', start), size);
        std::string name(1, 'f'); // not "f" + ...: GCC 12 warns wrongly of an overlap
        name += std::to_string(args.size());
        args.push_back(dir.write(name, input.substr(start, end - start)));
        if (end == size || args.size() == 18) {
            break;
        }
        start = end + 1;
    }
    std::vector<const char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    ordimet::run(static_cast<int>(argv.size()), argv.data());
    std::fflush(out);
    return 0;
}
