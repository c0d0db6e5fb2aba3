// Replays stored fuzz inputs through a fuzz target without the fuzzing
// engine, so that every build checks every input that once mattered.
// Usage: replay DIRECTORY...
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
            const std::string bytes =
                (std::ostringstream() << std::ifstream(entry.path(), std::ios::binary).rdbuf())
                    .str();
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
            ++replayed;
        }
    }
    return replayed > 0 ? 0 : 1;
}
