#include "methodfile/methodfile.hpp"
#include "support/temp_files.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ordimet {
namespace {

constexpr const char* kEuler = "1 1 -1 1 1 0";
constexpr const char* kTwoStep = "2 1 0 -1 1 -0.5 1.5 0";
const std::string kLargest = [] {
    std::string content = std::to_string(MAX_STEP_COUNT) + " 1";
    for (int i = 0; i < 2 * MAX_STEP_COUNT + 2; ++i) {
        content += " 1";
    }
    return content;
}();

struct LoadCase {
    const char* what;
    std::vector<const char*> files; // contents; null for a file that doesn't exist
    int code;
    int failing_index;
    int k;
    int m;
};

class Loading : public ::testing::TestWithParam<LoadCase> {};

TEST_P(Loading, StopsAtTheRightFileWithItsCode) {
    const LoadCase& test = GetParam();
    const testing::TempDir dir;
    std::vector<std::string> names{"ordimet", "CI"};
    for (std::size_t i = 0; i < test.files.size(); ++i) {
        const std::string name = "file" + std::to_string(i);
        names.push_back(test.files[i] != nullptr ? dir.write(name, test.files[i]) : dir.path(name));
    }
    std::vector<const char*> argv;
    for (const auto& name : names) {
        argv.push_back(name.c_str());
    }
    const int argc = static_cast<int>(argv.size());
    OwnedRows table(alloc_pointer_table(argc - 2), argc - 2);
    int k = 0, m = 0, failing_index = 0;
    EXPECT_EQ(load_method_files(argc, argv.data(), k, m, failing_index, table.get()), test.code)
        << test.what;
    EXPECT_EQ(failing_index, test.failing_index) << test.what;
    EXPECT_EQ(k, test.k) << test.what;
    EXPECT_EQ(m, test.m) << test.what;
}

INSTANTIATE_TEST_SUITE_P(
    Loader, Loading,
    ::testing::Values(
        LoadCase{"one file", {kEuler}, 0, 3, 1, 1},
        LoadCase{"three agreeing files", {kEuler, kEuler, kEuler}, 0, 5, 1, 1},
        LoadCase{"steps 2 and 3", {kTwoStep, "3 1 0 0 -1 1 0 -0.5 1.5 0"}, -4, 3, 2, 1},
        LoadCase{"orders 1 and 2", {kTwoStep, "2 2 1 -2 1 0 1 0"}, -4, 3, 2, 1},
        LoadCase{
            "second file malformed before mismatch", {kTwoStep, "3 1 1 2 3 4 5 6"}, -1, 3, 2, 1},
        LoadCase{"third file never opened", {kEuler, kTwoStep, nullptr}, -4, 3, 1, 1},
        LoadCase{"second file missing", {kEuler, nullptr}, -2, 3, 1, 1},
        LoadCase{"first file missing", {nullptr, kEuler}, -2, 2, 0, 0},
        LoadCase{"step 0 everywhere", {"0 1 1 1", "0 1 2 2"}, -6, 4, 0, 1},
        LoadCase{"order 0", {"2 0 1 -2 1 0 1 0"}, -5, 3, 2, 0},
        LoadCase{"step and order 0: step judged first", {"0 0 1 1"}, -6, 3, 0, 0},
        LoadCase{"step 0, then a missing file", {"0 1 1 1", nullptr}, -2, 3, 0, 1},
        LoadCase{"steps -3 and 2", {"-3 1", kTwoStep}, -4, 3, -3, 1},
        LoadCase{"step -3 everywhere", {"-3 1 x", "-3 1 y"}, -6, 4, -3, 1},
        LoadCase{"step above the limit", {"20000 1"}, -3, 2, 0, 0},
        LoadCase{"sets beyond the total", std::vector<const char*>(13, kLargest.c_str()), 0, 15,
                 MAX_STEP_COUNT, 1},
        LoadCase{"sets beyond the total",
                 [] {
                     std::vector<const char*> files(13, kLargest.c_str());
                     files.push_back("never read");
                     return files;
                 }(),
                 -3, 15, MAX_STEP_COUNT, 1}));

} // namespace
} // namespace ordimet
