// What ordimet-design writes: the decimals of coefficients and their reading
// back, the text of a method file, files written without replacing what
// must stay, and the folder of a search.

#include "analyse/exact/numbers.hpp"
#include "design/families/families.hpp"
#include "design/families/polynomial_text.hpp"
#include "design/output/method_files.hpp"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace ordimet::design {
namespace {

namespace fs = std::filesystem;

Rational number(const char* text) {
    Rational value;
    EXPECT_TRUE(parse_number(text, value)) << text;
    return value;
}

struct DecimalRow {
    const char* value;
    const char* decimal;
};

constexpr DecimalRow DECIMALS[] = {
    {"0", "0"},
    {"-1", "-1"},
    {"3/8", "0.375"},
    {"3/40", "0.075"},
    {"-1/80", "-0.0125"},
    {"1/1024", "0.0009765625"},
    {"12345678901234567", "12345678901234567"},       // 17 digits: exact
    {"123456789012345678", "1.2345678901234568e+17"}, // 18: the nearest double
    {"1e20", "1e+20"},                                // 21 digits as written
    {"1/3", "0.33333333333333331"},
    {"-251/720", "-0.34861111111111109"},
    {"1/1180591620717411303424", "8.4703294725430034e-22"}, // 2^-70: 70 digits
};

TEST(MethodFiles, DecimalsAreExactWhenShortAndTheNearestDoubleOtherwise) {
    for (const DecimalRow& row : DECIMALS) {
        const Rational value = number(row.value);
        const std::string text = decimal_text(value);
        EXPECT_EQ(text, row.decimal) << row.value;
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), analyse::nearest_double(value)) << row.value;
    }
}

TEST(MethodFiles, EveryCoefficientOfTheFamiliesReadsBackAsItsNearestDouble) {
    for (const FamilyRule& rule : named_families()) {
        if (rule.family == Family::SYMMETRIC) {
            continue;
        }
        DesignRequest request;
        request.family = rule.family;
        request.m = rule.m;
        request.k = MAX_DESIGN_STEP;
        const DesignedMethod method = design_method(request);
        ASSERT_EQ(method.status, DesignStatus::MADE) << rule.name;
        ASSERT_TRUE(fits_doubles(method.coefficients));
        std::istringstream words(method_file_text(method.k, method.m, method.coefficients, true));
        std::string word;
        words >> word >> word;
        for (const Rational& value : method.coefficients) {
            ASSERT_TRUE(words >> word);
            EXPECT_EQ(std::strtod(word.c_str(), nullptr), analyse::nearest_double(value))
                << rule.name << ": " << word << " for " << value.text();
        }
    }
}

TEST(MethodFiles, TextOfAMethod) {
    const Rational ab2[] = {Rational(),      Rational(-1, 1), Rational(1, 1),
                            Rational(-1, 2), Rational(3, 2),  Rational()};
    EXPECT_EQ(method_file_text(2, 1, ab2, false), "2 1\n0 -1 1\n-1/2 3/2 0\n");
    EXPECT_EQ(method_file_text(2, 1, ab2, true), "2 1\n0 -1 1\n-0.5 1.5 0\n");
}

TEST(MethodFiles, ValuesBeyondDoublesAreFound) {
    EXPECT_TRUE(fits_doubles(std::vector<Rational>{number("0"), number("1e300")}));
    EXPECT_FALSE(fits_doubles(std::vector<Rational>{number("1e400")}));
    EXPECT_FALSE(fits_doubles(std::vector<Rational>{number("-1e-400")}));
}

// A scratch folder, the current folder during the test.
class InScratch : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "design-files-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        before_ = fs::current_path();
        fs::current_path(folder_);
    }
    void TearDown() override {
        fs::current_path(before_);
        fs::remove_all(folder_);
    }
    static std::string content(const std::string& path) {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Every entry of the folder and its subfolders, hidden ones included.
    static std::string entries() {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(".")) {
            names.push_back(entry.path().string());
        }
        std::sort(names.begin(), names.end());
        std::string list;
        for (const std::string& name : names) {
            list += name + " ";
        }
        return list;
    }

  private:
    fs::path folder_;
    fs::path before_;
};

struct WriteRow {
    const char* name;
    std::function<void()> setup;
    const char* path;
    bool force;
    FileWrite outcome;
    const char* file_afterwards; // the content of "file" after the write
    const char* entries;         // what the folder holds afterwards
};

TEST_F(InScratch, FilesAreWrittenWithoutReplacingWhatMustStay) {
    const auto make_file = [] { std::ofstream("file") << "old\n"; };
    const WriteRow rows[] = {
        {"new", [] {}, "file", false, FileWrite::WRITTEN, "new\n", "./file "},
        {"exists", make_file, "file", false, FileWrite::EXISTS, "old\n", "./file "},
        {"forced", make_file, "file", true, FileWrite::WRITTEN, "new\n", "./file "},
        {"link",
         [&] {
             make_file();
             fs::create_symlink("file", "link");
         },
         "link", true, FileWrite::EXISTS, "old\n", "./file ./link "},
        {"dangling link", [] { fs::create_symlink("file", "link"); }, "link", false,
         FileWrite::EXISTS, "", "./link "},
        {"folder", [] { fs::create_directory("file"); }, "file", true, FileWrite::EXISTS, "",
         "./file "},
        {"folder's name", [] { fs::create_directory("d"); }, "d/", false, FileWrite::EXISTS, "",
         "./d "},
        {"into a folder", [] { fs::create_directory("d"); }, "d/file", false, FileWrite::WRITTEN,
         "", "./d ./d/file "},
        {"no folder", [] {}, "missing/file", false, FileWrite::FAILED, "", ""},
    };
    for (const WriteRow& row : rows) {
        for (const auto& entry : fs::directory_iterator(".")) {
            fs::remove_all(entry.path());
        }
        row.setup();
        EXPECT_EQ(write_new_file(row.path, "new\n", row.force), row.outcome) << row.name;
        EXPECT_EQ(content("file"), row.file_afterwards) << row.name;
        EXPECT_EQ(entries(), row.entries) << row.name;
    }
}

TEST_F(InScratch, OutputFolders) {
    std::string error;
    EXPECT_TRUE(prepare_output_folder("new", error));
    EXPECT_TRUE(fs::is_directory("new"));
    EXPECT_TRUE(prepare_output_folder("new", error)) << "an empty folder";
    std::ofstream("new/x") << "x";
    EXPECT_FALSE(prepare_output_folder("new", error));
    EXPECT_EQ(error, "o diretorio new nao esta' vazio.");
    EXPECT_FALSE(prepare_output_folder("new/x", error));
    EXPECT_EQ(error, "new/x existe e nao e' um diretorio.");
    fs::create_directory("empty");
    fs::create_directory_symlink("empty", "link");
    EXPECT_FALSE(prepare_output_folder("link", error));
    EXPECT_EQ(error, "link existe e nao e' um diretorio.");
    EXPECT_FALSE(prepare_output_folder("missing/new", error));
    EXPECT_EQ(error, "nao foi possivel criar o diretorio missing/new.");
    EXPECT_FALSE(fs::exists("missing"));
}

} // namespace
} // namespace ordimet::design
