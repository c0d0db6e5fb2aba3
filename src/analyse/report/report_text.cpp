#include "analyse/report/report_text.hpp"

#include "analyse/report/file_names.hpp"

#include <cinttypes>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace ordimet::analyse {
namespace {

__attribute__((format(printf, 2, 3))) void appendf(std::string& out, const char* format, ...) {
    char buffer[512];
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    if (length < 0) {
        return;
    }
    if (static_cast<std::size_t>(length) < sizeof buffer) {
        out.append(buffer, static_cast<std::size_t>(length));
        return;
    }
    // Only file names make a line this long.
    std::string long_line(static_cast<std::size_t>(length) + 1, '\0');
    va_start(arguments, format);
    std::vsnprintf(long_line.data(), long_line.size(), format, arguments);
    va_end(arguments);
    long_line.pop_back();
    out += long_line;
}

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

void append_complex(double re, double im, std::string& out) {
    out += root_text(re);
    if (im != 0.0) {
        out += im < 0.0 ? " - " : " + ";
        out += root_text(im < 0.0 ? -im : im);
        out += 'i';
    }
}

void append_root(const Root& root, std::string& out) {
    out += "  ";
    append_complex(root.re, root.im, out);
    appendf(out, ", multiplicidade %d, %s\n", root.multiplicity, location_text(root.location));
}

void append_eigenvalue(const Eigenvalue& value, std::string& out) {
    out += "  ";
    append_complex(value.re, value.im, out);
    appendf(out, ", multiplicidade %d, %s", value.multiplicity, location_text(value.location));
    if (value.location == Location::ON) {
        out += value.minimal_multiplicity == 1 ? ", semissimples" : ", nao semissimples";
    }
    out += '\n';
}

void append_listing(const char* letter, const std::vector<Rational>& values, std::string& out) {
    std::string text;
    for (std::size_t j = 0; j < values.size(); ++j) {
        rational_text(values[j], text);
        appendf(out, "%s%s[ %zu ] = %s", j == 0 ? "" : "  ", letter, j, text.c_str());
    }
    out += '\n';
}

// "ordem 2", or what stands for an order when every coefficient is zero.
std::string order_phrase(std::int64_t error_index, std::int64_t order) {
    if (error_index < 0) {
        return "nenhuma ordem (todos os coeficientes nulos)";
    }
    char text[64];
    std::snprintf(text, sizeof text, "ordem %" PRId64, order);
    return text;
}

void append_reading(const AlgorithmAnalysis& algorithm, std::string& out) {
    if (!algorithm.two_readings) {
        out += "Coeficientes exatos, como escritos:\n";
        return;
    }
    const bool same = algorithm.other_error_index == algorithm.error_index;
    const std::string other = order_phrase(algorithm.other_error_index, algorithm.other_order);
    if (algorithm.reading == Reading::FRACTIONS) {
        appendf(out,
                "Coeficientes lidos como as fracoes mais simples que os decimais escritos\n"
                "representam (com os decimais exatos, como escritos: %s):\n",
                other.c_str());
        return;
    }
    if (same) {
        out += "Coeficientes exatos, como escritos (lidos como fracoes, a mesma ordem):\n";
    } else {
        appendf(out, "Coeficientes exatos, como escritos (lidos como fracoes: %s):\n",
                other.c_str());
    }
}

void append_order(const AlgorithmAnalysis& algorithm, std::string& out) {
    if (algorithm.error_index < 0) {
        out += "Todos os coeficientes do algoritmo sao nulos: os coeficientes de erro tambem,\n"
               "e a ordem nao e' calculavel.\n";
    } else {
        appendf(out, "Coeficiente de erro: C[ %" PRId64 " ] = %s, o primeiro nao nulo.\n",
                algorithm.error_index, rational_text(*algorithm.error_coefficient).c_str());
        if (!algorithm.error_constant) {
            out += "Constante de erro: nao definida, a soma dos B e' zero.\n";
        } else {
            appendf(out, "Constante de erro: %s = %s\n",
                    rational_text(*algorithm.error_constant).c_str(),
                    decimal_text(algorithm.error_constant_decimal).c_str());
        }
        appendf(out, "Ordem de consistencia exata: %" PRId64 "%s\n", algorithm.order,
                algorithm.order >= 1 ? "." : " (o algoritmo nao e' consistente).");
    }
    if (algorithm.tolerance_order_known) {
        appendf(out, "Ordem de consistencia do ordimet (tolerancia 1e-6): %" PRId64 ".\n",
                algorithm.tolerance_order);
    } else {
        out += "Ordem de consistencia do ordimet (tolerancia 1e-6): nao calculavel.\n";
    }
    if (algorithm.fractions_needed) {
        out += "A ordem do ordimet passa da exata em toda leitura dos coeficientes: os\n"
               "decimais nao identificam as fracoes; escreva-as como p/q.\n";
    }
}

void append_stability(const AlgorithmAnalysis& algorithm, int m, std::string& out) {
    if (algorithm.rho_zero) {
        out += "rho e' identicamente nulo: nao ha' recorrencia.\n";
    } else {
        if (algorithm.degree_below_step) {
            out += "A[ k ] = 0: rho tem grau menor que k e y(n+k) nao e' determinado.\n";
        }
        if (algorithm.roots.empty()) {
            out += "rho e' constante: nao tem raizes.\n";
        } else {
            out += "Raizes de rho:\n";
        }
        for (const Root& root : algorithm.roots) {
            append_root(root, out);
        }
    }
    if (algorithm.zero_stable) {
        out += algorithm.strongly_stable ? "O algoritmo e' zero-estavel, fortemente estavel.\n"
               : algorithm.weakly_stable
                   ? "O algoritmo e' zero-estavel, fracamente estavel (raizes sobre o circulo\n"
                     "alem de 1).\n"
                   : "O algoritmo e' zero-estavel, mas nem fortemente nem fracamente estavel:\n"
                     "1 nao e' raiz de rho de multiplicidade m = " +
                         std::to_string(m) + ".\n";
    } else if (algorithm.rho_zero || algorithm.degree_below_step) {
        out += "O algoritmo nao e' zero-estavel.\n";
    } else {
        bool outside = false;
        for (const Root& root : algorithm.roots) {
            outside = outside || root.location == Location::OUTSIDE;
        }
        if (outside) {
            out += "O algoritmo nao e' zero-estavel: ha' raiz fora do circulo unitario.\n";
        } else {
            appendf(out,
                    "O algoritmo nao e' zero-estavel: ha' raiz sobre o circulo com multiplicidade\n"
                    "maior que m = %d.\n",
                    m);
        }
    }
    out += algorithm.convergent ? "O algoritmo e' convergente (consistente e zero-estavel).\n"
                                : "O algoritmo nao e' convergente.\n";
}

const char* const REGION_REFUSED =
    "nao calculado (passo acima de 16 ou coeficientes grandes demais)";

void append_absolute_stability(const AbsoluteStability& result, std::string& out) {
    out += "Estabilidade absoluta em y' = lambda y, z = h lambda:\n";
    if (result.status == RegionStatus::NOT_APPLICABLE) {
        out += "  nao se aplica: rho e' nulo.\n";
        return;
    }
    if (result.status == RegionStatus::REFUSED) {
        appendf(out, "  %s.\n", REGION_REFUSED);
        return;
    }
    const IntervalEnd& end = result.real_interval;
    switch (end.kind) {
    case IntervalEnd::Kind::NONE:
        out += "  intervalo real de estabilidade: nenhum.\n";
        break;
    case IntervalEnd::Kind::INFINITE:
        out += "  intervalo real de estabilidade: (-inf, 0).\n";
        break;
    case IntervalEnd::Kind::FINITE:
        appendf(out, "  intervalo real de estabilidade: (-a, 0), a = %s.\n",
                interval_end_text(end).c_str());
        break;
    }
    out += result.a_stable ? "  A-estavel: sim.\n" : "  A-estavel: nao.\n";
    if (result.alpha_degrees > 0.0) {
        appendf(out, "  A(alfa)-estavel com alfa = %.2f graus.\n", result.alpha_degrees);
    } else {
        out += "  A(alfa)-estavel: para nenhum alfa > 0.\n";
    }
}

void append_interval(const char* name, const IntervalEnd& end, std::string& out) {
    switch (end.kind) {
    case IntervalEnd::Kind::NONE:
        appendf(out, "  %s: nenhum.\n", name);
        break;
    case IntervalEnd::Kind::INFINITE:
        appendf(out, "  %s: H^2 em (0, inf).\n", name);
        break;
    case IntervalEnd::Kind::FINITE:
        appendf(out, "  %s: H^2 em (0, %s).\n", name, interval_end_text(end).c_str());
        break;
    }
}

void append_periodicity(const Periodicity& result, std::string& out) {
    out += "Periodicidade em y'' = -omega^2 y, H = h omega:\n";
    if (result.status == RegionStatus::NOT_APPLICABLE) {
        out += "  nao se aplica: 1 nao e' raiz dupla de rho, ou sigma(1) = 0.\n";
        return;
    }
    if (result.status == RegionStatus::REFUSED) {
        appendf(out, "  %s.\n", REGION_REFUSED);
        return;
    }
    append_interval("intervalo de periodicidade", result.periodicity, out);
    append_interval("intervalo de estabilidade absoluta", result.absolute, out);
    out += result.p_stable ? "  P-estavel: sim.\n" : "  P-estavel: nao.\n";
    if (result.phase_lag_known) {
        appendf(out, "  atraso de fase: ordem %d, constante %s = %.6g.\n", result.phase_lag_order,
                result.phase_lag_constant.text().c_str(), result.phase_lag_decimal);
    } else if (result.phase_lag_consistent) {
        appendf(out, "  atraso de fase: nulo ate' a ordem %d.\n", MAX_PHASE_LAG_ORDER);
    } else {
        out += "  atraso de fase: nao calculado, o algoritmo nao e' consistente\n"
               "  (rho''(1) diferente de 2 sigma(1)).\n";
    }
}

void append_algorithm(const AlgorithmAnalysis& algorithm, std::size_t number, int m,
                      std::string& out) {
    // The report is plain ASCII: the name's other bytes are shown as \xHH.
    appendf(out, "\nAlgoritmo %zu: %s\n", number, printable_name(algorithm.file).c_str());
    out += algorithm.is_explicit ? "O algoritmo e' explicito.\n" : "O algoritmo e' implicito.\n";
    append_reading(algorithm, out);
    append_listing("A", algorithm.rho, out);
    append_listing("B", algorithm.sigma, out);
    out += "rho(z) = ";
    append_polynomial(algorithm.rho, out);
    out += "\nsigma(z) = ";
    append_polynomial(algorithm.sigma, out);
    out += '\n';
    if (algorithm.reducible) {
        out += "rho e sigma tem o fator comum ";
        append_polynomial(algorithm.common_factor, out);
        out += ": o algoritmo e' redutivel.\n";
    } else {
        out += "rho e sigma nao tem fator comum.\n";
    }
    append_order(algorithm, out);
    append_stability(algorithm, m, out);
    if (!algorithm.stability_analysed) {
        return;
    }
    if (m == 1) {
        append_absolute_stability(algorithm.absolute, out);
    } else if (m == 2) {
        append_periodicity(algorithm.periodicity, out);
    }
}

const char* disagreement_text(Disagreement disagreement) {
    switch (disagreement) {
    case Disagreement::NONE:
        return nullptr;
    case Disagreement::ROUND_OFF:
        return "Os dois erros estao no nivel do arredondamento, e compara-los nao decide nada.";
    case Disagreement::WEAK_ROOT:
        return "O metodo e' so' fracamente estavel: uma raiz de modulo 1 alem de 1 sai do\n"
               "circulo para h > 0 e faz o erro crescer.";
    case Disagreement::DIVERGED_OTHERWISE:
    case Disagreement::CONVERGED_OTHERWISE:
        return "O teste so' compara dois passos, 0.1 e 0.01, e isso nao decide a estabilidade.";
    case Disagreement::UNREACHED_ROOT:
        return "Ha' uma raiz parasita fora do circulo unitario que o teste nao alcancou nos\n"
               "seus poucos passos.";
    case Disagreement::UNREACHED_MULTIPLE_ROOT:
        return "O que falha e' uma raiz sobre o circulo com multiplicidade grande demais, e o\n"
               "seu crescimento lento nao aparece nos poucos passos do teste.";
    }
    return nullptr;
}

void append_test(const MethodAnalysis& method, std::string& out) {
    const ExponentialTest& test = method.test;
    if (test.verdict == TestVerdict::NOT_RUN) {
        out += "Teste da exponencial do ordimet: nao feito";
        if (method.kind == MethodKind::COMPOSITE) {
            out += "\n(o ordimet nao o faz em metodos compostos).\n";
        } else if (!method.tolerance_order_known || method.tolerance_order <= 0) {
            out += "\n(o ordimet so' o faz quando a sua ordem e' positiva).\n";
        } else if (method.raise_refused) {
            out += "\n(o ordimet nao monta a matriz aumentada, e sem ela nao faz o teste).\n";
        } else {
            out += " (faltou memoria).\n";
        }
        return;
    }
    appendf(out, "Teste da exponencial do ordimet (grau de Taylor %d):\n", test.degree);
    appendf(out, "y( 1 ) = %s para h = 0.1\n", decimal_text(test.larger_step_value).c_str());
    appendf(out, "y( 1 ) = %s para h = 0.01\n", decimal_text(test.smaller_step_value).c_str());
    appendf(out, "exp( 1 ) = %s\n", decimal_text(std::exp(1.0)).c_str());
    out += test.verdict == TestVerdict::CONVERGED ? "O teste convergiu.\n" : "O teste divergiu.\n";
    const char* why = disagreement_text(test.disagreement);
    if (why != nullptr) {
        appendf(out, "O teste discorda da condicao das raizes.\n%s\n", why);
    }
}

void append_cycle(const MethodAnalysis& method, std::string& out) {
    const CycleAnalysis& cycle = method.cycle;
    out += "Ciclo: matriz de amplificacao, o produto das matrizes companheiras dos\n"
           "algoritmos em h = 0, na ordem em que sao aplicados.\n";
    if (!cycle.without_companion.empty()) {
        for (const int number : cycle.without_companion) {
            appendf(out, "O algoritmo %d tem A[ k ] = 0 e nao tem matriz companheira.\n", number);
        }
        out += "A estabilidade do ciclo nao e' decidida.\n";
        return;
    }
    if (!cycle.decided) {
        out += cycle.refused
                   ? "O ciclo passa dos limites da analise exata (passo e coeficientes grandes\n"
                     "demais): a sua estabilidade nao e' decidida.\n"
                   : "A estabilidade do ciclo nao e' decidida.\n";
        return;
    }
    out += "Autovalores:\n";
    for (const Eigenvalue& value : cycle.eigenvalues) {
        append_eigenvalue(value, out);
    }
    out += cycle.zero_stable ? "O ciclo e' zero-estavel.\n" : "O ciclo nao e' zero-estavel.\n";
}

void append_method(const MethodAnalysis& method, std::string& out) {
    out += "\nMetodo\n";
    if (method.raise_refused) {
        appendf(out,
                "Matriz aumentada de dimensao %d, acima de %d: o aumento da consistencia\n"
                "nao e' calculado.\n",
                method.dimension, MAX_RAISE_DIMENSION);
    }
    if (method.raise_computed) {
        appendf(out, "Matriz aumentada de dimensao %d: posto exato %d.\n", method.dimension,
                method.rank);
        if (method.raised) {
            out += "A consistencia real do metodo e' maior!\n";
        }
    }
    if (method.order_known) {
        appendf(out, "A ordem de consistencia exata do metodo e' %" PRId64 "%s\n", method.order,
                method.order >= 1 ? "." : ": o metodo nao e' consistente.");
    } else {
        out += "A ordem de consistencia exata do metodo nao e' calculavel.\n";
    }
    if (method.tolerance_order_known) {
        appendf(out, "A ordem do metodo pelo ordimet (tolerancia 1e-6) e' %" PRId64 ".\n",
                method.tolerance_order);
    } else {
        out += "A ordem do metodo pelo ordimet (tolerancia 1e-6) nao e' calculavel.\n";
    }
    if (method.kind == MethodKind::CYCLIC) {
        append_cycle(method, out);
    } else if (method.kind == MethodKind::COMPOSITE) {
        out += method.zero_stable ? "O metodo e' zero-estavel: todos os algoritmos o sao.\n"
                                  : "O metodo nao e' zero-estavel: nem todos os algoritmos o "
                                    "sao.\n";
    } else {
        out +=
            method.zero_stable ? "O metodo e' zero-estavel.\n" : "O metodo nao e' zero-estavel.\n";
    }
    out += method.convergent ? "O metodo e' convergente.\n" : "O metodo nao e' convergente.\n";
    append_test(method, out);
}

} // namespace

void write_text_report(const MethodAnalysis& method, std::string& out) {
    switch (method.kind) {
    case MethodKind::SIMPLE:
        out += "O metodo dado e' simples.\n";
        break;
    case MethodKind::COMPOSITE:
        out += "O metodo dado e' composto.\n";
        break;
    case MethodKind::CYCLIC:
        out += "O metodo dado e' ciclico.\n";
        break;
    }
    appendf(out, "O metodo tem passo especificado como sendo %d.\n", method.written_k);
    appendf(out, "O passo real do metodo e' %d.\n", method.k);
    appendf(out, "A equacao diferencial especial tem ordem %d.\n", method.m);
    for (std::size_t a = 0; a < method.algorithms.size(); ++a) {
        append_algorithm(method.algorithms[a], a + 1, method.m, out);
    }
    append_method(method, out);
}

} // namespace ordimet::analyse
