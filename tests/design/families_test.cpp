// The methods ordimet-design makes, checked three ways: against the
// textbooks (the classical error constants, and for every step the
// backward-difference series of the Adams, Stormer and Cowell formulas,
// computed here on their own), against the analysis of ordimet-analyse run on
// the method file written (fractions and decimals), and against the example
// files, which a script of their own derived.

#include "analyse/analysis/analysis.hpp"
#include "design/families/families.hpp"
#include "design/families/polynomial_text.hpp"
#include "design/output/method_files.hpp"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>

namespace ordimet::design {
namespace {

namespace fs = std::filesystem;

Rational fraction(const char* text) {
    Rational value;
    EXPECT_TRUE(parse_number(text, value)) << text;
    return value;
}

// The request for a family by its name; m = 0 for the family's own m.
DesignRequest request_for(const char* family, int k, int m = 0, const char* rho = nullptr,
                          bool by_roots = false) {
    const FamilyRule* rule = family_rule(family);
    EXPECT_NE(rule, nullptr) << family;
    DesignRequest request;
    request.family = rule->family;
    request.k = k;
    request.m = m == 0 ? rule->m : m;
    std::string bad;
    if (rho != nullptr) {
        EXPECT_TRUE(by_roots ? parse_roots(rho, request.polynomial, bad)
                             : parse_coefficients(rho, request.polynomial, bad))
            << rho;
    }
    return request;
}

DesignedMethod made(const DesignRequest& request) {
    DesignedMethod method = design_method(request);
    EXPECT_EQ(method.status, DesignStatus::MADE)
        << family_rule(request.family).name << " " << request.k;
    return method;
}

// A scratch folder of the test, removed with it.
class Scratch {
  public:
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "design-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : "";
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    std::string file(const std::string& name) const { return (fs::path(path_) / name).string(); }

  private:
    std::string path_;
};

// The algorithm as ordimet-analyse's analysis finds it in the method file
// `text`.
analyse::AlgorithmAnalysis analysed(const std::string& text) {
    const Scratch scratch;
    const std::string path = scratch.file("method.txt");
    std::ofstream(path) << text;
    analyse::AnalysisWorkspace workspace;
    analyse::MethodAnalysis method;
    const std::string names[] = {path};
    const analyse::AnalysisOutcome outcome = analyse::analyse_method(
        analyse::MethodKind::SIMPLE, names, {false, false}, workspace, method);
    EXPECT_FALSE(outcome.failed()) << text;
    return outcome.failed() ? analyse::AlgorithmAnalysis{} : method.algorithms.at(0);
}

// The order and error constant of the method made, against the analysis of
// its file: as fractions always, as decimals where their fraction reading
// recovers the fractions (small steps).
void expect_analysis_agrees(const DesignedMethod& method, const std::string& what) {
    for (const bool decimals : {false, true}) {
        if (decimals && method.k > 8) {
            continue;
        }
        const analyse::AlgorithmAnalysis algorithm =
            analysed(method_file_text(method.k, method.m, method.coefficients, decimals));
        EXPECT_EQ(algorithm.order, method.order.order) << what << (decimals ? " decimals" : "");
        ASSERT_TRUE(algorithm.error_constant.has_value()) << what;
        EXPECT_EQ(algorithm.error_constant->text(), method.order.error_constant.text())
            << what << (decimals ? " decimals" : "");
    }
}

// --- The textbooks ------------------------------------------------------------

struct TextbookRow {
    const char* family;
    int k;
    int m; // 0: the family's own
    std::int64_t order;
    const char* error_constant; // nullptr: the analysis alone decides it
    bool zero_stable;
};

constexpr TextbookRow TEXTBOOK[] = {
    {"adams-bashforth", 1, 0, 1, "1/2", true},
    {"adams-bashforth", 2, 0, 2, "5/12", true},
    {"adams-bashforth", 3, 0, 3, "3/8", true},
    {"adams-bashforth", 4, 0, 4, "251/720", true},
    {"adams-bashforth", 5, 0, 5, "95/288", true},
    {"adams-bashforth", 6, 0, 6, "19087/60480", true},
    {"adams-bashforth", 8, 0, 8, "1070017/3628800", true},
    {"adams-moulton", 1, 0, 2, "-1/12", true},
    {"adams-moulton", 2, 0, 3, "-1/24", true},
    {"adams-moulton", 3, 0, 4, "-19/720", true},
    {"adams-moulton", 4, 0, 5, "-3/160", true},
    {"adams-moulton", 5, 0, 6, "-863/60480", true},
    {"adams-moulton", 8, 0, 9, "-8183/1036800", true},
    {"bdf", 1, 0, 1, "-1/2", true},
    {"bdf", 2, 0, 2, "-1/3", true},
    {"bdf", 5, 0, 5, "-1/6", true},
    {"bdf", 6, 0, 6, "-1/7", true},
    {"bdf", 7, 0, 7, "-1/8", false}, // beyond 6 no BDF is zero-stable
    {"bdf", 12, 0, 12, "-1/13", false},
    {"nystrom", 2, 0, 2, "1/6", true},
    {"nystrom", 3, 0, 3, "1/6", true},
    {"nystrom", 4, 0, 4, "29/180", true},
    {"nystrom", 5, 0, 5, "7/45", true},
    {"nystrom", 6, 0, 6, "1139/7560", true},
    {"milne-simpson", 2, 0, 4, "-1/180", true},
    {"milne-simpson", 3, 0, 4, "-1/180", true},
    {"milne-simpson", 4, 0, 5, "-1/180", true},
    {"milne-simpson", 5, 0, 6, "-37/7560", true},
    {"milne-simpson", 6, 0, 7, "-4/945", true},
    {"stormer", 2, 0, 2, "1/12", true},
    {"stormer", 3, 0, 3, "1/12", true},
    {"stormer", 4, 0, 4, "19/240", true},
    {"stormer", 5, 0, 5, "3/40", true},
    {"stormer", 6, 0, 6, "863/12096", true},
    {"cowell", 2, 0, 4, "-1/240", true},
    {"cowell", 3, 0, 4, "-1/240", true},
    {"cowell", 4, 0, 5, "-1/240", true},
    {"cowell", 5, 0, 6, "-221/60480", true},
    {"cowell", 6, 0, 7, "-19/6048", true},
    // For m = 1 Stormer and Cowell are Adams-Bashforth and Adams-Moulton.
    {"stormer", 4, 1, 4, "251/720", true},
    {"cowell", 4, 1, 5, "-3/160", true},
    // Other m: the analysis decides the error constant.
    {"stormer", 3, 3, 4, nullptr, true},
    {"stormer", 6, 3, 6, nullptr, true},
    {"cowell", 6, 3, 7, nullptr, true},
    {"stormer", 8, 4, 8, nullptr, true},
    {"cowell", 8, 4, 9, nullptr, true},
    {"cowell", 12, 10, 13, nullptr, true},
};

TEST(Families, TextbookOrdersErrorConstantsAndZeroStabilityAgreeWithTheAnalysis) {
    for (const TextbookRow& row : TEXTBOOK) {
        const std::string what =
            std::string(row.family) + " " + std::to_string(row.k) + " m = " + std::to_string(row.m);
        const DesignedMethod method = made(request_for(row.family, row.k, row.m));
        EXPECT_EQ(method.order.order, row.order) << what;
        if (row.error_constant != nullptr) {
            EXPECT_EQ(method.order.error_constant.text(), row.error_constant) << what;
        }
        expect_analysis_agrees(method, what);
        EXPECT_EQ(
            analysed(method_file_text(method.k, method.m, method.coefficients, false)).zero_stable,
            row.zero_stable)
            << what;
    }
}

// The backward-difference series of the textbooks, computed on their own:
// 1 / L(t) with L(t) = -ln(1 - t) / t = sum t^j / (j + 1) gives the
// Adams-Moulton constants, its square the Cowell ones, and both divided by
// 1 - t (partial sums) the Adams-Bashforth and Stormer ones.
struct Series {
    std::vector<Rational> adams_moulton, adams_bashforth, cowell, stormer;
};

Series textbook_series(int n) {
    Series s;
    s.adams_moulton.assign(static_cast<std::size_t>(n), Rational());
    for (int j = 0; j < n; ++j) {
        Rational& c = s.adams_moulton[static_cast<std::size_t>(j)];
        fmpq_set_si(c.get(), j == 0 ? 1 : 0, 1);
        for (int i = 0; i < j; ++i) { // c_j = -sum_{i<j} c_i / (j - i + 1)
            Rational term(1, static_cast<unsigned long>(j - i + 1));
            fmpq_submul(c.get(), s.adams_moulton[static_cast<std::size_t>(i)].get(), term.get());
        }
    }
    s.cowell.assign(static_cast<std::size_t>(n), Rational());
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i <= j; ++i) {
            fmpq_addmul(s.cowell[static_cast<std::size_t>(j)].get(),
                        s.adams_moulton[static_cast<std::size_t>(i)].get(),
                        s.adams_moulton[static_cast<std::size_t>(j - i)].get());
        }
    }
    const auto partial_sums = [](const std::vector<Rational>& series) {
        std::vector<Rational> sums(series.size());
        for (std::size_t j = 0; j < series.size(); ++j) {
            fmpq_add(sums[j].get(), j == 0 ? sums[j].get() : sums[j - 1].get(), series[j].get());
        }
        return sums;
    };
    s.adams_bashforth = partial_sums(s.adams_moulton);
    s.stormer = partial_sums(s.cowell);
    return s;
}

// The error constant of the formula that keeps the terms of the series up to
// index `last`: the first non-zero term after it, and its index, the order.
std::pair<std::int64_t, std::string> next_term(const std::vector<Rational>& series, int last) {
    for (auto j = static_cast<std::size_t>(last) + 1; j < series.size(); ++j) {
        if (!series[j].is_zero()) {
            return {static_cast<std::int64_t>(j), series[j].text()};
        }
    }
    return {-1, ""};
}

TEST(Families, EveryStepHasTheConstantOfTheBackwardDifferenceSeries) {
    const Series series = textbook_series(MAX_DESIGN_STEP + 4);
    ASSERT_EQ(series.adams_bashforth[3].text(), "3/8");
    ASSERT_EQ(series.cowell[4].text(), "-1/240");
    for (int k = 1; k <= MAX_DESIGN_STEP; ++k) {
        const auto expect = [&](const char* family, const std::vector<Rational>& terms, int last,
                                int order_offset) {
            const FamilyRule& rule = *family_rule(family);
            if (k < std::max(rule.least_step, rule.m)) {
                return;
            }
            const DesignedMethod method = made(request_for(family, k));
            const auto [index, constant] = next_term(terms, last);
            EXPECT_EQ(method.order.order, index - order_offset) << family << " " << k;
            EXPECT_EQ(method.order.error_constant.text(), constant) << family << " " << k;
        };
        expect("adams-bashforth", series.adams_bashforth, k - 1, 0);
        expect("adams-moulton", series.adams_moulton, k, 0);
        expect("stormer", series.stormer, k - 1, 0);
        expect("cowell", series.cowell, k, 0);
        // BDF k: order k, error constant -1/(k + 1).
        const DesignedMethod bdf = made(request_for("bdf", k));
        EXPECT_EQ(bdf.order.order, k);
        EXPECT_EQ(bdf.order.error_constant, Rational(-1, static_cast<unsigned long>(k + 1)));
    }
}

// --- The example files ----------------------------------------------------------

struct ExampleRow {
    const char* family;
    int k;
    const char* file;
    bool same_text; // derived with 17 digits: --decimals writes it byte for byte
    const char* roots = nullptr;
};

constexpr ExampleRow EXAMPLES[] = {
    {"adams-bashforth", 1, "euler-forward", true},
    {"adams-bashforth", 2, "adams-bashforth-2", false},
    {"adams-bashforth", 5, "adams-bashforth-5", false},
    {"adams-bashforth", 6, "adams-bashforth-6", true},
    {"adams-bashforth", 7, "adams-bashforth-7", true},
    {"adams-bashforth", 8, "adams-bashforth-8", true},
    {"adams-moulton", 1, "trapezoidal-rule", true},
    {"adams-moulton", 4, "adams-moulton-4", false},
    {"adams-moulton", 5, "adams-moulton-5", true},
    {"adams-moulton", 8, "adams-moulton-8", true},
    {"bdf", 1, "euler-backward", true},
    {"bdf", 2, "bdf-2", false},
    {"bdf", 6, "bdf-6", false},
    {"nystrom", 2, "nystrom-2", true},
    {"nystrom", 4, "nystrom-4", true},
    {"nystrom", 6, "nystrom-6", true},
    {"milne-simpson", 2, "milne-simpson", true},
    {"stormer", 2, "stormer", true},
    {"stormer", 4, "stormer-4", false},
    {"stormer", 6, "stormer-6", true},
    {"cowell", 2, "numerov", false},
    {"cowell", 3, "cowell-3", true},
    {"cowell", 4, "cowell-4", false},
    {"cowell", 6, "cowell-6", true},
    {"symmetric", 4, "symmetric-4-step", true, "1 1 (0,1)"},
};

std::string read_text(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Families, ExampleFilesAreReproduced) {
    for (const ExampleRow& row : EXAMPLES) {
        const std::string path = std::string(EXAMPLES_DIR) + "/" + row.file + ".txt";
        const DesignedMethod method = made(request_for(row.family, row.k, 0, row.roots, true));
        const std::string text = method_file_text(method.k, method.m, method.coefficients, true);
        if (row.same_text) {
            EXPECT_EQ(text, read_text(path)) << row.file;
            continue;
        }
        // The oldest files have 10 decimals: each within 1e-10 of the exact value.
        std::istringstream words(read_text(path));
        int k = 0;
        int m = 0;
        words >> k >> m;
        EXPECT_EQ(k, method.k) << row.file;
        EXPECT_EQ(m, method.m) << row.file;
        std::string word;
        for (const Rational& exact : method.coefficients) {
            ASSERT_TRUE(words >> word) << row.file;
            Rational difference = fraction(word.c_str());
            fmpq_sub(difference.get(), difference.get(), exact.get());
            fmpq_abs(difference.get(), difference.get());
            EXPECT_LE(fmpq_cmp(difference.get(), fraction("1e-10").get()), 0)
                << row.file << ": " << word << " for " << exact.text();
        }
    }
}

// --- Prescribed polynomials ---------------------------------------------------------

std::string rho_text(const DesignedMethod& method) {
    std::string text;
    for (int j = 0; j <= method.k; ++j) {
        text += method.coefficients[static_cast<std::size_t>(j)].text() + " ";
    }
    return text;
}

std::string sigma_text(const DesignedMethod& method) {
    std::string text;
    for (int j = 0; j <= method.k; ++j) {
        text += method.coefficients[static_cast<std::size_t>(method.k + 1 + j)].text() + " ";
    }
    return text;
}

TEST(Prescribed, FromRhoGivesTheAdamsStormerAndCowellFormulas) {
    for (int k = 1; k <= 12; ++k) {
        for (const bool explicit_sigma : {false, true}) {
            const DesignedMethod adams =
                made(request_for(explicit_sigma ? "adams-bashforth" : "adams-moulton", k));
            DesignRequest from_rho = request_for("from-rho", k, 1, rho_text(adams).c_str());
            from_rho.explicit_sigma = explicit_sigma;
            EXPECT_EQ(made(from_rho).coefficients, adams.coefficients) << "Adams " << k;
            if (k < 2) {
                continue;
            }
            const DesignedMethod cowell =
                made(request_for(explicit_sigma ? "stormer" : "cowell", k));
            from_rho = request_for("from-rho", k, 2, rho_text(cowell).c_str());
            from_rho.explicit_sigma = explicit_sigma;
            EXPECT_EQ(made(from_rho).coefficients, cowell.coefficients) << "Cowell " << k;
        }
    }
}

TEST(Prescribed, FromSigmaGivesTheBackwardDifferentiationFormulas) {
    for (int k = 1; k <= 12; ++k) {
        const DesignedMethod bdf = made(request_for("bdf", k));
        // sigma as BDF k has it: BDF k itself.
        EXPECT_EQ(made(request_for("from-sigma", k, 1, sigma_text(bdf).c_str())).coefficients,
                  bdf.coefficients)
            << k;
        // sigma = z^k, by its k roots 0: BDF k divided by its B[k].
        std::string zeros;
        for (int j = 0; j < k; ++j) {
            zeros += "0 ";
        }
        DesignedMethod monic = made(request_for("from-sigma", k, 1, zeros.c_str(), true));
        for (Rational& c : monic.coefficients) {
            fmpq_mul(c.get(), c.get(), bdf.coefficients.back().get());
        }
        EXPECT_EQ(monic.coefficients, bdf.coefficients) << k;
    }
}

// The published explicit symmetric 8-step method for y'' = f: sigma fixed by
// order 8 once B[0] = B[8] = 0; and the symmetric methods made from roots.
TEST(Prescribed, SymmetricMethods) {
    DesignRequest eight = request_for("symmetric", 8, 0, "1 -2 2 -1 0 -1 2 -2 1");
    eight.explicit_sigma = true;
    const DesignedMethod explicit8 = made(eight);
    EXPECT_EQ(sigma_text(explicit8),
              "0 17671/12096 -3937/2016 20483/4032 -12629/3024 20483/4032 -3937/2016 "
              "17671/12096 0 ");
    EXPECT_EQ(explicit8.order.order, 8);
    expect_analysis_agrees(explicit8, "symmetric 8 explicit");
    // rho = (z - 1)^2 (z^2 + z + 1)(z^2 - z + 1): the double root 1 and four
    // sixth roots of unity; order k + 2, as symmetric methods reach.
    const DesignedMethod six = made(request_for("symmetric", 6, 0, "1 1 (-1/2,1) (1/2,1)", true));
    EXPECT_EQ(rho_text(six), "1 -2 2 -2 2 -2 1 ");
    EXPECT_EQ(six.order.order, 8);
    expect_analysis_agrees(six, "symmetric 6");
    // from-rho finds the same sigma without being told it is symmetric.
    EXPECT_EQ(made(request_for("from-rho", 6, 2, "1 1 (-1/2,1) (1/2,1)", true)).coefficients,
              six.coefficients);
}

struct RefusalRow {
    const char* family;
    int k;
    int m; // 0: the family's own
    const char* polynomial;
    bool by_roots;
    DesignStatus status;
};

constexpr RefusalRow REFUSALS[] = {
    {"symmetric", 4, 0, "1 -2 2 -3 2", false, DesignStatus::RHO_NOT_SYMMETRIC},
    {"symmetric", 4, 0, "1 1 2 1/2", true, DesignStatus::RHO_ROOTS_OFF_CIRCLE},
    {"symmetric", 4, 0, "1 1 (0,1/4)", true, DesignStatus::RHO_NOT_SYMMETRIC},
    {"symmetric", 4, 0, "1 -4 6 -4 1", false, DesignStatus::RHO_ROOTS_OFF_CIRCLE}, // 1 fourfold
    {"symmetric", 2, 0, "1 0 1", false, DesignStatus::NO_ROOT_ONE},
    {"symmetric", 4, 0, "0 1 -2 1 0", false, DesignStatus::RHO_DEGREE_BELOW_K},
    {"symmetric", 2, 0, "0 0 0", false, DesignStatus::ZERO_POLYNOMIAL},
    {"from-rho", 2, 3, "1 -2 1", false, DesignStatus::NO_ROOT_ONE},
    {"from-rho", 1, 1, "1 1", false, DesignStatus::NO_ROOT_ONE},
    {"from-rho", 2, 1, "1 -2 1", false, DesignStatus::NO_ERROR_CONSTANT},
    {"from-rho", 2, 1, "-1 1 0", false, DesignStatus::RHO_DEGREE_BELOW_K},
    {"from-rho", 2, 1, "0 0 0", false, DesignStatus::ZERO_POLYNOMIAL},
    {"from-sigma", 1, 1, "1 -1", false, DesignStatus::NO_ERROR_CONSTANT},
    {"from-sigma", 1, 1, "0 0", false, DesignStatus::ZERO_POLYNOMIAL},
    {"from-sigma", 1, 2, "0 1", false, DesignStatus::NO_ORDER},
    // Outside the family's rule: never built, whoever asks.
    {"cowell", 1, 2, nullptr, false, DesignStatus::REFUSED},
    {"bdf", MAX_DESIGN_STEP + 1, 0, nullptr, false, DesignStatus::REFUSED},
    {"symmetric", 3, 0, "1 -1 -1 1", false, DesignStatus::REFUSED},
    {"from-rho", 3, 1, "-1 1", false, DesignStatus::REFUSED},
};

TEST(Prescribed, PolynomialsWithoutAMethodAreRefused) {
    for (const RefusalRow& row : REFUSALS) {
        const DesignRequest request =
            request_for(row.family, row.k, row.m, row.polynomial, row.by_roots);
        EXPECT_EQ(design_method(request).status, row.status)
            << row.family << " " << row.k << " " << (row.polynomial ? row.polynomial : "");
    }
}

} // namespace
} // namespace ordimet::design
