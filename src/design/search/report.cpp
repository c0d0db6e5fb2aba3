// The text and JSON Lines reports of a search.

#include "design/search/report.hpp"

#include "analyse/exact/numbers.hpp"
#include "analyse/report/file_names.hpp"
#include "analyse/report/format.hpp"
#include "analyse/report/text_out.hpp"
#include "design/search/objective.hpp"

#include <algorithm>
#include <cstdio>

namespace ordimet::design {
namespace {

using analyse::Language;
using analyse::TextOut;
using ull = unsigned long long;

const char* polynomial_name(Varied varied) {
    return varied == Varied::RHO ? "rho" : "sigma";
}

std::string joined(const std::vector<std::string>& words, const char* separator) {
    std::string out;
    for (std::size_t i = 0; i < words.size(); ++i) {
        out += (i > 0 ? separator : "") + words[i];
    }
    return out;
}

// What the space is: its conditions, its grid and its free coefficients.
void space_lines(const ReportInput& input, TextOut& text) {
    const Space& space = input.space;
    const SpaceRequest& request = input.request.space;
    text.putf("Espaco: k = %d, m = %d, A[%d] = 1, ordem %d ou mais", space.k, space.m, space.k,
              space.order);
    if (request.explicit_method) {
        text.put(", explicito");
    }
    if (request.symmetric) {
        text.put(", simetrico");
    }
    for (const int position : request.zeros) {
        text.rawf(", %s = 0", coefficient_name(space.k, position).c_str());
    }
    text.raw(".\n");
    text.putf("Grade de %s: de %s a %s, passo %s.\n", polynomial_name(space.varied),
              analyse::rational_text(request.low).c_str(),
              analyse::rational_text(request.high).c_str(),
              analyse::rational_text(request.step).c_str());
    std::vector<std::string> free;
    std::vector<std::string> other;
    for (const int position : space.parameters) {
        (in_varied(space, position) ? free : other).push_back(coefficient_name(space.k, position));
    }
    if (space.parameters.empty()) {
        text.put("Nenhum coeficiente livre: o espaco tem um so' metodo.\n");
    } else {
        free.insert(free.end(), other.begin(), other.end());
        text.putf("Coeficientes livres na grade: %s.\n", joined(free, ", ").c_str());
    }
    if (!other.empty()) {
        text.putf("De %s, livres porque as condicoes nao os determinam: %s.\n",
                  polynomial_name(space.varied == Varied::RHO ? Varied::SIGMA : Varied::RHO),
                  joined(other, ", ").c_str());
    }
    std::vector<std::string> ranged;
    for (const int position : space.ranged) {
        ranged.push_back(coefficient_name(space.k, position));
    }
    if (!ranged.empty()) {
        text.putf("Determinados pelos livres, tambem no intervalo: %s.\n",
                  joined(ranged, ", ").c_str());
    }
}

const char* objective_description(Objective objective) {
    switch (objective) {
    case Objective::REAL_INTERVAL:
        return "o intervalo real de estabilidade (-a, 0), a maior";
    case Objective::ALPHA:
        return "o angulo alfa da A(alfa)-estabilidade, o maior";
    case Objective::ERROR_CONSTANT:
        return "|constante de erro| na ordem pedida, a menor";
    case Objective::SSP:
        return "o coeficiente SSP, o maior";
    case Objective::PERIODICITY:
        return "o intervalo de periodicidade (0, Hp^2), Hp^2 maior";
    case Objective::ABSOLUTE_STABILITY:
        return "o intervalo de estabilidade absoluta (0, Ha^2), Ha^2 maior";
    case Objective::PHASE_LAG:
        return "o atraso de fase, de ordem maior e depois de |constante| menor";
    }
    return "";
}

void request_lines(const ReportInput& input, TextOut& text) {
    const Constraints& c = input.request.constraints;
    std::vector<std::string> names;
    if (c.zero_stable) {
        names.emplace_back(text.words("zero-estavel"));
    }
    if (c.irreducible) {
        names.emplace_back(text.words("irredutivel"));
    }
    if (c.a_stable) {
        names.emplace_back(text.words("A-estavel"));
    }
    if (c.p_stable) {
        names.emplace_back(text.words("P-estavel"));
    }
    if (names.empty()) {
        text.put("Restricoes: nenhuma.\n");
    } else {
        text.putf("Restricoes: %s.\n", joined(names, ", ").c_str());
    }
    text.putf("Objetivo: %s.\n", text.words(objective_description(input.request.objective)));
}

std::array<std::uint64_t, DROP_REASONS> all_dropped(const SearchOutcome& outcome) {
    std::array<std::uint64_t, DROP_REASONS> total{};
    for (std::size_t d = 0; d < total.size(); ++d) {
        total[d] = outcome.counts.dropped[d] + outcome.dropped_certified[d];
    }
    return total;
}

void dropped_text(Drop drop, std::uint64_t count, TextOut& text) {
    const auto n = static_cast<ull>(count);
    switch (drop) {
    case Drop::ZERO_STABILITY:
        text.putf("%llu nao zero-estaveis", n);
        break;
    case Drop::IRREDUCIBLE:
        text.putf("%llu redutiveis", n);
        break;
    case Drop::A_STABILITY:
        text.putf("%llu nao A-estaveis", n);
        break;
    case Drop::P_STABILITY:
        text.putf("%llu nao P-estaveis", n);
        break;
    case Drop::NONE:
        break;
    }
}

// What became of the candidates.
void count_lines(const ReportInput& input, TextOut& text) {
    const SearchOutcome& outcome = input.outcome;
    text.putf("Pontos da grade: %llu; candidatos (determinados no intervalo): %llu.\n",
              static_cast<ull>(input.space.grid_points),
              static_cast<ull>(outcome.counts.candidates));
    if (outcome.counts.examined < input.space.grid_points) {
        text.putf("Busca interrompida: %llu de %llu pontos examinados.\n",
                  static_cast<ull>(outcome.counts.examined),
                  static_cast<ull>(input.space.grid_points));
    }
    const std::array<std::uint64_t, DROP_REASONS> dropped = all_dropped(outcome);
    std::string list;
    TextOut parts{list, text.language};
    for (std::size_t d = 1; d < dropped.size(); ++d) {
        if (dropped[d] > 0) {
            parts.raw(list.empty() ? "" : ", ");
            dropped_text(static_cast<Drop>(d), dropped[d], parts);
        }
    }
    if (list.empty()) {
        text.put("Descartados com certeza: nenhum.\n");
    } else {
        text.putf("Descartados com certeza: %s.\n", list.c_str());
    }
    text.putf("Mantidos pela triagem: %llu; certificados: %llu.\n",
              static_cast<ull>(outcome.counts.kept), static_cast<ull>(outcome.certified));
    if (outcome.undecided > 0) {
        text.putf("Nao decididos pelas analises exatas: %llu.\n",
                  static_cast<ull>(outcome.undecided));
    }
}

const char* value_header(Objective objective) {
    switch (objective) {
    case Objective::REAL_INTERVAL:
        return "a";
    case Objective::ALPHA:
        return "alfa";
    case Objective::ERROR_CONSTANT:
        return "|C|";
    case Objective::SSP:
        return "SSP";
    case Objective::PERIODICITY:
        return "Hp^2";
    case Objective::ABSOLUTE_STABILITY:
        return "Ha^2";
    case Objective::PHASE_LAG:
        return "atraso de fase";
    }
    return "";
}

// The certified value of the objective as the table shows it.
std::string value_text(Objective objective, const Certificate& c, Language language) {
    std::string out;
    TextOut text{out, language};
    switch (objective) {
    case Objective::REAL_INTERVAL:
    case Objective::PERIODICITY:
    case Objective::ABSOLUTE_STABILITY: {
        const analyse::IntervalEnd& end =
            objective == Objective::REAL_INTERVAL ? c.absolute.real_interval
            : objective == Objective::PERIODICITY ? c.periodicity.periodicity
                                                  : c.periodicity.absolute;
        out = analyse::interval_end_text(end);
        if (out.empty()) {
            text.put("sem intervalo");
        }
        break;
    }
    case Objective::ALPHA:
        text.rawf("%.2f", c.absolute.alpha_degrees);
        break;
    case Objective::PHASE_LAG:
        if (c.exact.phase_lag_vanishes) {
            text.putf("nulo ate' a ordem %d", analyse::MAX_PHASE_LAG_ORDER);
        } else {
            text.putf("ordem %d, %s", c.exact.phase_lag_order,
                      analyse::rational_text(c.exact.value).c_str());
        }
        break;
    default:
        out = analyse::rational_text(c.exact.value);
    }
    return out;
}

std::string coefficients_text(std::span<const Rational> values) {
    std::vector<std::string> words;
    for (const Rational& value : values) {
        words.push_back(analyse::rational_text(value));
    }
    return joined(words, " ");
}

// The methods found, one row each, in columns as wide as their widest cell.
void table(const ReportInput& input, TextOut& text) {
    const Objective objective = input.request.objective;
    const std::size_t n = analyse::as_index(input.space.k) + 1;
    std::vector<std::vector<std::string>> rows;
    rows.push_back({"n", text.words(value_header(objective)), text.words("ordem"),
                    text.words("constante de erro"), "rho", "sigma"});
    int rank = 0;
    for (const Certificate& c : input.outcome.winners) {
        const std::span<const Rational> all = c.coefficients;
        const std::string constant = c.order.outcome == analyse::OrderOutcome::FOUND
                                         ? analyse::rational_text(c.order.error_constant)
                                         : "-";
        rows.push_back({std::to_string(++rank), value_text(objective, c, text.language),
                        std::to_string(c.order.order), constant, coefficients_text(all.first(n)),
                        coefficients_text(all.subspan(n))});
    }
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) {
                line += std::string(widths[i] - row[i].size() + 2, ' ');
            }
        }
        text.raw(line + "\n");
    }
}

// When there is no method: why, as certain as the search could make it.
void no_method_line(const ReportInput& input, TextOut& text) {
    const SearchOutcome& outcome = input.outcome;
    if (outcome.counts.examined < input.space.grid_points) {
        text.put("Nenhum metodo encontrado antes da interrupcao.\n");
    } else if (outcome.counts.candidates == 0) {
        text.put("Nenhum ponto da grade e' candidato: os coeficientes determinados saem do "
                 "intervalo.\n");
    } else if (outcome.undecided > 0) {
        text.putf("Nenhum metodo certificado: %llu candidatos nao puderam ser decididos.\n",
                  static_cast<ull>(outcome.undecided));
    } else {
        text.put("Nenhum metodo satisfaz as restricoes: cada candidato foi descartado com "
                 "certeza.\n");
    }
}

} // namespace

std::string rank_file_name(int rank, int top) {
    const int digits = std::max(2, static_cast<int>(std::to_string(top).size()));
    char name[32];
    std::snprintf(name, sizeof name, "%0*d.txt", digits, rank);
    return name;
}

std::string search_text(const ReportInput& input) {
    std::string out;
    TextOut text{out, input.language};
    space_lines(input, text);
    request_lines(input, text);
    count_lines(input, text);
    text.raw("\n");
    if (input.outcome.winners.empty()) {
        no_method_line(input, text);
        return out;
    }
    table(input, text);
    const std::string folder = analyse::printable_name(input.folder);
    if (input.files.size() == 1) {
        text.putf("\nArquivo do metodo em %s: %s.\n", folder.c_str(), input.files.front().c_str());
    } else if (!input.files.empty()) {
        text.putf("\nArquivos dos metodos em %s: %s a %s.\n", folder.c_str(),
                  input.files.front().c_str(), input.files.back().c_str());
    }
    return out;
}

} // namespace ordimet::design
