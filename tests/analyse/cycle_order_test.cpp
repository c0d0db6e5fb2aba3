// The order of the global error of cyclic methods against the orders found
// by integrating them in high precision (tests/analyse/reference, computed
// by a route of its own): every zero-stable cycle of the reference table.

#include "analyse/cycle/cycle.hpp"
#include "analyse/order/order.hpp"
#include "analyse/reading/reading.hpp"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace ordimet::analyse {
namespace {

struct ReferenceCycle {
    std::vector<std::string> files;
    std::int64_t integrated_order = 0;
};

// The rows of cycles.txt: "file1 file2 [file3] | order | ...".
std::vector<ReferenceCycle> reference_cycles() {
    std::ifstream table(REFERENCE_DIR "/cycles.txt");
    std::vector<ReferenceCycle> cycles;
    std::string line;
    while (std::getline(table, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        ReferenceCycle cycle;
        std::string word;
        while (fields >> word && word != "|") {
            cycle.files.push_back(REFERENCE_DIR "/" + word);
        }
        fields >> cycle.integrated_order;
        cycles.push_back(cycle);
    }
    return cycles;
}

TEST(CycleOrder, AgreesWithIntegrationOnEveryReferenceCycle) {
    const std::vector<ReferenceCycle> cycles = reference_cycles();
    ASSERT_GE(cycles.size(), 80u);
    int raised = 0;
    for (const ReferenceCycle& cycle : cycles) {
        std::vector<Coefficients> algorithms;
        std::vector<ExactOrder> orders;
        int k = 0;
        for (const std::string& name : cycle.files) {
            ExactMethodFile file;
            ASSERT_EQ(read_exact_method_file(name.c_str(), file), Failure::NONE) << name;
            Coefficients& set = algorithms.emplace_back();
            for (const CoefficientReading& reading : file.coefficients) {
                set.push_back(reading.as_written);
            }
            k = file.k;
            orders.push_back(exact_order(k, file.m, set));
        }
        ASSERT_TRUE(cycle_stability(k, algorithms).zero_stable) << cycle.files[0];
        const CycleOrder order = cycle_order(k, algorithms, orders);
        EXPECT_EQ(order.order, cycle.integrated_order) << cycle.files[0];
        raised += order.raised ? 1 : 0;
    }
    // The table holds cycles of both kinds.
    EXPECT_GE(raised, 40);
    EXPECT_LE(raised, static_cast<int>(cycles.size()) - 40);
}

} // namespace
} // namespace ordimet::analyse
