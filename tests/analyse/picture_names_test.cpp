// The names of the pictures of --plot: numbered apart in linear time, and
// never a name that leads to one of the run's input files.
#include "analyse/pictures/picture_files.hpp"
#include "support/temp_files.hpp"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace ordimet::analyse {
namespace {

const char* const M1[] = {"-raizes.svg", "-regiao.svg"};
const char* const CYCLE[] = {"-ciclo.svg"};

// 10 000 methods of one base name from several folders: each stem is tried
// once, and the one whose region picture is an input file (by a hard link,
// under another name) is passed over. Counting the stems tried keeps the test
// free of timing: numbering from 1 again for each method would try some 5e7.
TEST(PictureNames, OneBaseNameManyTimesTriesEachStemOnce) {
    const scratch::TempDir dir;
    const std::string input = dir.write("input.txt", "1 1 -1 1 1 0");
    ASSERT_EQ(::link(input.c_str(), dir.path("metodo-2-regiao.svg").c_str()), 0);
    PictureFolder folder;
    const std::vector<std::string> inputs = {input, dir.path("missing.txt")};
    ASSERT_TRUE(open_picture_folder(dir.path(""), inputs, folder));
    constexpr std::size_t N = 10000;
    std::set<std::string> stems;
    for (std::size_t i = 0; i < N; ++i) {
        stems.insert(unique_stem("pasta" + std::to_string(i % 7) + "/metodo.txt", M1, folder));
    }
    EXPECT_EQ(stems.size(), N);
    EXPECT_EQ(stems.count("metodo"), 1u);
    EXPECT_EQ(stems.count("metodo-2"), 0u);
    EXPECT_EQ(stems.count("metodo-" + std::to_string(N + 1)), 1u);
    EXPECT_EQ(folder.probes, N + 1);
    // Other suffixes share no name with these; a base name that is one of
    // the numbered stems is numbered past it.
    EXPECT_EQ(unique_stem("metodo.txt", CYCLE, folder), "metodo");
    EXPECT_EQ(unique_stem("outra/metodo-3.txt", M1, folder), "metodo-3-2");
}

} // namespace
} // namespace ordimet::analyse
