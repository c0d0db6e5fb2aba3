#include "analyse/report/report_latex.hpp"

#include "analyse/report/file_names.hpp"
#include "analyse/report/format.hpp"
#include "analyse/report/text_out.hpp"

#include <cinttypes>
#include <cstdio>
#include <initializer_list>
#include <string_view>

namespace ordimet::analyse {
namespace {

// The pieces one after the other (GCC 12 warns, wrongly, of overlapping
// copies in some chains of operator+ on strings).
std::string joined(std::initializer_list<std::string_view> pieces) {
    std::string out;
    for (const std::string_view piece : pieces) {
        out.append(piece);
    }
    return out;
}

// A rational as LaTeX: "3", "-\frac{3}{2}".
std::string latex_number(const Rational& value) {
    std::string text = rational_text(value);
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos) {
        return text;
    }
    const bool negative = text[0] == '-';
    const std::string numerator = text.substr(negative ? 1 : 0, slash - (negative ? 1 : 0));
    return joined({negative ? "-" : "", "\\frac{", numerator, "}{", text.substr(slash + 1), "}"});
}

// sum_j c[j] x_{n+j}, highest j first: "y_{n+2} - \frac{1}{2} y_{n}".
std::string latex_sum(const std::vector<Rational>& c, const char* x, int& terms) {
    std::string out;
    terms = 0;
    for (std::size_t j = c.size(); j-- > 0;) {
        if (c[j].is_zero()) {
            continue;
        }
        std::string number = latex_number(c[j]);
        const bool negative = number[0] == '-';
        if (negative) {
            number.erase(0, 1);
        }
        out += terms == 0 ? (negative ? "-" : "") : (negative ? " - " : " + ");
        if (number != "1") {
            out += number;
            out += ' ';
        }
        out += joined({x, "_{n", j == 0 ? "" : "+", j == 0 ? "" : std::to_string(j), "}"});
        ++terms;
    }
    return terms == 0 ? "0" : out;
}

void append_equation(const AlgorithmAnalysis& algorithm, int m, std::string& out) {
    int terms = 0;
    const std::string left = latex_sum(algorithm.rho, "y", terms);
    const std::string right = latex_sum(algorithm.sigma, "f", terms);
    const std::string step = m == 1 ? "h" : joined({"h^{", std::to_string(m), "}"});
    out += joined({"\\begin{equation}\n  ", left, " = ", step});
    out += terms > 1 ? joined({" \\left(", right, "\\right)"}) : joined({" \\, ", right});
    out += "\n\\end{equation}\n";
}

// The file's base name with LaTeX's special characters escaped.
std::string latex_name(const std::string& file) {
    const std::string base = printable_name(file.substr(file.find_last_of('/') + 1));
    std::string out;
    for (const char c : base) {
        if (std::string_view("#$%&_{}").find(c) != std::string_view::npos) {
            out += '\\';
        }
        out += c == '\\' ? std::string("\\textbackslash{}") : std::string(1, c);
    }
    return out;
}

// A finite interval end as LaTeX: the exact fraction when the end is
// rational, else its 6 significant digits.
std::string latex_end(const IntervalEnd& end) {
    if (end.exact.empty()) {
        char digits[40];
        std::snprintf(digits, sizeof digits, "%.6g", end.value);
        return digits;
    }
    Rational value;
    fmpq_set_str(value.get(), end.exact.c_str(), 10);
    return latex_number(value);
}

// The A(alpha) angle: "A-stable", the angle, or that no wedge lies in the
// region (alpha 0).
std::string latex_angle(const AbsoluteStability& result, TextOut& text) {
    if (result.a_stable) {
        return text.words("A-estavel");
    }
    if (result.alpha_degrees <= 0.0) {
        return text.words("nenhum $\\alpha > 0$");
    }
    char angle[64];
    std::snprintf(angle, sizeof angle, "$\\alpha = %.2f^\\circ$", result.alpha_degrees);
    return angle;
}

std::string stability_cell(const AlgorithmAnalysis& algorithm, int m, TextOut& text) {
    if (!algorithm.stability_analysed) {
        return "--";
    }
    if (m == 1 && algorithm.absolute.status == RegionStatus::DECIDED) {
        const IntervalEnd& end = algorithm.absolute.real_interval;
        const std::string interval = end.kind == IntervalEnd::Kind::FINITE
                                         ? joined({"$(-", latex_end(end), ", 0)$"})
                                     : end.kind == IntervalEnd::Kind::INFINITE ? "$(-\\infty, 0)$"
                                                                               : "--";
        return joined({interval, ", ", latex_angle(algorithm.absolute, text)});
    }
    if (m == 2 && algorithm.periodicity.status == RegionStatus::DECIDED) {
        const IntervalEnd& end = algorithm.periodicity.periodicity;
        return end.kind == IntervalEnd::Kind::FINITE ? joined({"$H_p^2 = ", latex_end(end), "$"})
               : end.kind == IntervalEnd::Kind::INFINITE ? std::string(text.words("P-estavel"))
                                                         : "--";
    }
    return "--";
}

void append_row(const AlgorithmAnalysis& algorithm, int m, TextOut& text) {
    const char* stability = !algorithm.zero_stable      ? "nao zero-estavel"
                            : algorithm.strongly_stable ? "fortemente estavel"
                            : algorithm.weakly_stable   ? "fracamente estavel"
                                                        : "zero-estavel";
    const std::string order =
        algorithm.error_index >= 0 ? std::to_string(algorithm.order) : std::string("--");
    const std::string constant = algorithm.error_constant
                                     ? joined({"$", latex_number(*algorithm.error_constant), "$"})
                                     : "--";
    text.rawf("%s & %zu & %s & %s & %s & %s \\\\\n", latex_name(algorithm.file).c_str(),
              algorithm.rho.size() - 1, order.c_str(), constant.c_str(), text.words(stability),
              stability_cell(algorithm, m, text).c_str());
}

} // namespace

void write_latex_report(const MethodAnalysis& method, Language language, std::string& out) {
    TextOut text{out, language};
    text.putf("%%%s\n", text.words(" arquivo & k & ordem & constante de erro & estabilidade-zero & "
                                   "estabilidade linear"));
    for (const AlgorithmAnalysis& algorithm : method.algorithms) {
        text.rawf("%% %s\n", printable_name(algorithm.file).c_str());
        append_equation(algorithm, method.m, out);
        append_row(algorithm, method.m, text);
    }
    if (method.convergence_order_known) {
        text.putf("%% ordem de convergencia do metodo: %" PRId64 "\n", method.convergence_order);
    }
    // With --converge, the order measured on each test problem.
    for (const ConvergenceRun& run : method.convergence) {
        text.putf("%% %s: ordem medida %s\n", run.problem.c_str(),
                  table_number(run.measured_order, false).c_str());
    }
}

} // namespace ordimet::analyse
