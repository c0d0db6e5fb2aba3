// The text report's sections on roots and stability: the roots of rho and
// the zero-stability of an algorithm, its linear stability, and the cycle.

#include "analyse/report/format.hpp"
#include "analyse/report/text_sections.hpp"

#include <cstdio>

namespace ordimet::analyse {
namespace {

const char* location_text(Location location) {
    switch (location) {
    case Location::INSIDE:
        return "dentro do circulo unitario";
    case Location::ON:
        return "sobre o circulo unitario";
    case Location::OUTSIDE:
        return "fora do circulo unitario";
    }
    return "";
}

// Roots and eigenvalues with 15 significant digits: what matters of them is
// their place against the unit circle, which is certified apart from these
// digits, and the two members of a conjugate pair come from two enclosures
// whose midpoints may differ in the 17th digit. Left to us; 15 digits print
// both alike and still tell every root of the examples apart.
std::string root_text(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", value == 0.0 ? 0.0 : value);
    return text;
}

void append_complex(double re, double im, TextOut& text) {
    text.raw("  ");
    text.raw(root_text(re));
    if (im != 0.0) {
        text.raw(im < 0.0 ? " - " : " + ");
        text.raw(root_text(im < 0.0 ? -im : im));
        text.raw("i");
    }
}

void append_roots(const AlgorithmAnalysis& algorithm, TextOut& text) {
    if (algorithm.rho_zero) {
        text.put("rho e' identicamente nulo: nao ha' recorrencia.\n");
        return;
    }
    if (algorithm.degree_below_step) {
        text.put("A[ k ] = 0: rho tem grau menor que k e y(n+k) nao e' determinado.\n");
    }
    text.put(algorithm.roots.empty() ? "rho e' constante: nao tem raizes.\n" : "Raizes de rho:\n");
    for (const Root& root : algorithm.roots) {
        append_complex(root.re, root.im, text);
        text.putf(", multiplicidade %d, %s\n", root.multiplicity,
                  text.words(location_text(root.location)));
    }
}

void append_not_zero_stable(const AlgorithmAnalysis& algorithm, int m, TextOut& text) {
    if (algorithm.rho_zero || algorithm.degree_below_step) {
        text.put("O algoritmo nao e' zero-estavel.\n");
        return;
    }
    bool outside = false;
    for (const Root& root : algorithm.roots) {
        outside = outside || root.location == Location::OUTSIDE;
    }
    if (outside) {
        text.put("O algoritmo nao e' zero-estavel: ha' raiz fora do circulo unitario.\n");
    } else {
        text.putf("O algoritmo nao e' zero-estavel: ha' raiz sobre o circulo com multiplicidade\n"
                  "maior que m = %d.\n",
                  m);
    }
}

void append_absolute_stability(const AbsoluteStability& result, TextOut& text);
void append_periodicity(const Periodicity& result, TextOut& text);

} // namespace

void append_roots_and_stability(const AlgorithmAnalysis& algorithm, int m, TextOut& text) {
    append_roots(algorithm, text);
    if (!algorithm.zero_stable) {
        append_not_zero_stable(algorithm, m, text);
    } else if (algorithm.strongly_stable) {
        text.put("O algoritmo e' zero-estavel, fortemente estavel.\n");
    } else if (algorithm.weakly_stable) {
        text.put("O algoritmo e' zero-estavel, fracamente estavel (raizes sobre o circulo\n"
                 "alem de 1).\n");
    } else {
        text.putf("O algoritmo e' zero-estavel, mas nem fortemente nem fracamente estavel:\n"
                  "1 nao e' raiz de rho de multiplicidade m = %d.\n",
                  m);
    }
    text.put(algorithm.convergent ? "O algoritmo e' convergente (consistente e zero-estavel).\n"
                                  : "O algoritmo nao e' convergente.\n");
    if (algorithm.ssp_coefficient) {
        text.putf("Coeficiente SSP (fator de limiar): %s.\n",
                  rational_text(*algorithm.ssp_coefficient).c_str());
    }
}

void append_linear_stability(const AlgorithmAnalysis& algorithm, int m, TextOut& text) {
    if (m == 1) {
        append_absolute_stability(algorithm.absolute, text);
    } else if (m == 2) {
        append_periodicity(algorithm.periodicity, text);
    }
}

void append_cycle(const CycleAnalysis& cycle, TextOut& text) {
    text.put("Ciclo: matriz de amplificacao, o produto das matrizes companheiras dos\n"
             "algoritmos em h = 0, na ordem em que sao aplicados.\n");
    for (const int number : cycle.without_companion) {
        text.putf("O algoritmo %d tem A[ k ] = 0 e nao tem matriz companheira.\n", number);
    }
    if (!cycle.decided) {
        text.put(cycle.refused && cycle.without_companion.empty()
                     ? "O ciclo passa dos limites da analise exata (passo e coeficientes grandes\n"
                       "demais): a sua estabilidade nao e' decidida.\n"
                     : "A estabilidade do ciclo nao e' decidida.\n");
        return;
    }
    text.put("Autovalores:\n");
    for (const Eigenvalue& value : cycle.eigenvalues) {
        append_complex(value.re, value.im, text);
        text.putf(", multiplicidade %d, %s", value.multiplicity,
                  text.words(location_text(value.location)));
        if (value.location == Location::ON) {
            text.put(value.minimal_multiplicity == 1 ? ", semissimples" : ", nao semissimples");
        }
        text.raw("\n");
    }
    text.put(cycle.zero_stable ? "O ciclo e' zero-estavel.\n" : "O ciclo nao e' zero-estavel.\n");
}

namespace {

// What the report says of a region analysis beyond its limits.
void append_refused(TextOut& text) {
    text.putf("  nao calculado (passo acima de %d ou coeficientes grandes demais).\n",
              MAX_REGION_STEP);
}

void append_absolute_stability(const AbsoluteStability& result, TextOut& text) {
    text.put("Estabilidade absoluta em y' = lambda y, z = h lambda:\n");
    if (result.status != RegionStatus::DECIDED) {
        result.status == RegionStatus::NOT_APPLICABLE ? text.put("  nao se aplica: rho e' nulo.\n")
                                                      : append_refused(text);
        return;
    }
    const IntervalEnd& end = result.real_interval;
    if (end.kind == IntervalEnd::Kind::FINITE) {
        text.putf("  intervalo real de estabilidade: (-a, 0), a = %s.\n",
                  interval_end_text(end).c_str());
    } else {
        text.put(end.kind == IntervalEnd::Kind::NONE
                     ? "  intervalo real de estabilidade: nenhum.\n"
                     : "  intervalo real de estabilidade: (-inf, 0).\n");
    }
    text.put(result.a_stable ? "  A-estavel: sim.\n" : "  A-estavel: nao.\n");
    if (result.alpha_degrees > 0.0) {
        text.putf("  A(alfa)-estavel com alfa = %.2f graus.\n", result.alpha_degrees);
    } else {
        text.put("  A(alfa)-estavel: para nenhum alfa > 0.\n");
    }
}

void append_interval(const char* name, const IntervalEnd& end, TextOut& text) {
    switch (end.kind) {
    case IntervalEnd::Kind::NONE:
        text.putf("  %s: nenhum.\n", text.words(name));
        break;
    case IntervalEnd::Kind::INFINITE:
        text.putf("  %s: H^2 em (0, inf).\n", text.words(name));
        break;
    case IntervalEnd::Kind::FINITE:
        text.putf("  %s: H^2 em (0, %s).\n", text.words(name), interval_end_text(end).c_str());
        break;
    }
}

void append_periodicity(const Periodicity& result, TextOut& text) {
    text.put("Periodicidade em y'' = -omega^2 y, H = h omega:\n");
    if (result.status != RegionStatus::DECIDED) {
        result.status == RegionStatus::NOT_APPLICABLE
            ? text.put("  nao se aplica: 1 nao e' raiz dupla de rho, ou sigma(1) = 0.\n")
            : append_refused(text);
        return;
    }
    append_interval("intervalo de periodicidade", result.periodicity, text);
    append_interval("intervalo de estabilidade absoluta", result.absolute, text);
    text.put(result.p_stable ? "  P-estavel: sim.\n" : "  P-estavel: nao.\n");
    if (result.phase_lag_known) {
        text.putf("  atraso de fase: ordem %d, constante %s = %.6g.\n", result.phase_lag_order,
                  rational_text(result.phase_lag_constant).c_str(), result.phase_lag_decimal);
    } else if (result.phase_lag_consistent) {
        text.putf("  atraso de fase: nulo ate' a ordem %d.\n", MAX_PHASE_LAG_ORDER);
    } else {
        text.put("  atraso de fase: nao calculado, o algoritmo nao e' consistente\n"
                 "  (rho''(1) diferente de 2 sigma(1)).\n");
    }
}

} // namespace

} // namespace ordimet::analyse
