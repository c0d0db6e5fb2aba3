#pragma once

// The LaTeX form of an analysed method, for papers: each algorithm as an
// equation, and a row of a table of its exact results.

#include "analyse/model/method.hpp"
#include "analyse/report/words.hpp"

#include <string>

namespace ordimet::analyse {

// Appends, for every algorithm, a comment naming its file, its formula
// sum A[j] y_{n+j} = h^m sum B[j] f_{n+j} in an equation environment, and a
// table row "file & k & order & error constant & zero-stability & linear
// stability \\"; then a comment with the method's convergence order.
void write_latex_report(const MethodAnalysis& method, Language language, std::string& out);

} // namespace ordimet::analyse
