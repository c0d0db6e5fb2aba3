// Fuzz target: one method file read by the reader, whatever its bytes.
#include "methodfile/methodfile.hpp"
#include "support/temp_files.hpp"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ordimet::scratch::TempDir dir;
    const std::string name = dir.write("method", {reinterpret_cast<const char*>(data), size});
    int k = 0;
    int m = 0;
    ordimet::CoefficientSet slot = nullptr;
    ordimet::read_method_file(name.c_str(), k, m, slot);
    ordimet::release_block(slot);
    return 0;
}
