#include "analyse/report/report_text.hpp"

#include "analyse/report/file_names.hpp"
#include "analyse/report/text_sections.hpp"
#include "consistency/consistency.hpp"

#include <cinttypes>
#include <cmath>
#include <cstdio>

namespace ordimet::analyse {
namespace {

void append_listing(const char* letter, const std::vector<Rational>& values, TextOut& text) {
    std::string value;
    for (std::size_t j = 0; j < values.size(); ++j) {
        rational_text(values[j], value);
        text.rawf("%s%s[ %zu ] = %s", j == 0 ? "" : "  ", letter, j, value.c_str());
    }
    text.raw("\n");
}

// The name of a reading as the list of the other readings gives it.
const char* reading_name(const ReadingTried& reading) {
    switch (reading.reading) {
    case Reading::AS_WRITTEN:
        return "como escritos";
    case Reading::FRACTIONS:
        return "lidos como fracoes";
    case Reading::SOLVED:
        return "resolvidos";
    }
    return "";
}

// What the leading reading is, in the words of the report.
const char* leading_reading(const AlgorithmAnalysis& algorithm) {
    switch (algorithm.reading) {
    case Reading::AS_WRITTEN:
        return "Coeficientes exatos, como escritos";
    case Reading::FRACTIONS:
        return "Coeficientes lidos como as fracoes mais simples que os decimais escritos\n"
               "representam";
    case Reading::SOLVED:
        switch (algorithm.solved) {
        case SolvedPart::SIGMA:
            return "Coeficientes de sigma resolvidos para a maior ordem, dentro dos digitos\n"
                   "escritos, e os de rho lidos como fracoes";
        case SolvedPart::RHO:
            return "Coeficientes de rho resolvidos para a maior ordem, dentro dos digitos\n"
                   "escritos, e os de sigma lidos como fracoes";
        case SolvedPart::UNDETERMINED:
            return "Coeficientes que os digitos escritos nao determinam resolvidos para a maior\n"
                   "ordem, dentro desses digitos, e os outros lidos como fracoes";
        }
    }
    return "";
}

// The reading that leads and the orders of the others.
void append_reading(const AlgorithmAnalysis& algorithm, TextOut& text) {
    text.put(leading_reading(algorithm));
    bool first = true;
    for (const ReadingTried& reading : algorithm.readings) {
        if (reading.reading == algorithm.reading) {
            continue;
        }
        text.raw(first ? " (" : "; ");
        first = false;
        text.put(reading_name(reading));
        if (reading.error_index == algorithm.error_index) {
            text.put(", a mesma ordem");
        } else if (reading.error_index < 0) {
            text.put(": nenhuma ordem (todos os coeficientes nulos)");
        } else {
            text.putf(": ordem %" PRId64, reading.order);
        }
    }
    text.raw(first ? ":\n" : "):\n");
}

void append_order(const AlgorithmAnalysis& algorithm, TextOut& text) {
    if (algorithm.error_index < 0) {
        text.put("Todos os coeficientes do algoritmo sao nulos: os coeficientes de erro tambem,\n"
                 "e a ordem nao e' calculavel.\n");
    } else {
        text.putf("Coeficiente de erro: C[ %" PRId64 " ] = %s, o primeiro nao nulo.\n",
                  algorithm.error_index, rational_text(*algorithm.error_coefficient).c_str());
        if (!algorithm.error_constant) {
            text.put("Constante de erro: nao definida, a soma dos B e' zero.\n");
        } else {
            text.putf("Constante de erro: %s = %s\n",
                      rational_text(*algorithm.error_constant).c_str(),
                      decimal_text(algorithm.error_constant_decimal).c_str());
        }
        text.putf(algorithm.order >= 1 ? "Ordem de consistencia exata: %" PRId64 ".\n"
                                       : "Ordem de consistencia exata: %" PRId64
                                         " (o algoritmo nao e' consistente).\n",
                  algorithm.order);
    }
    if (algorithm.tolerance_order_known) {
        text.putf("Ordem de consistencia do ordimet (tolerancia %s): %" PRId64 ".\n",
                  short_number(ZERO_TOLERANCE).c_str(), algorithm.tolerance_order);
    } else {
        text.putf("Ordem de consistencia do ordimet (tolerancia %s): nao calculavel.\n",
                  short_number(ZERO_TOLERANCE).c_str());
    }
    if (algorithm.fractions_needed) {
        text.put("A ordem do ordimet passa da exata em toda leitura dos coeficientes: os\n"
                 "decimais nao identificam as fracoes; escreva-as como p/q.\n");
    }
}

void append_polynomials(const AlgorithmAnalysis& algorithm, TextOut& text) {
    text.raw("rho(z) = ");
    append_polynomial(algorithm.rho, text.out);
    text.raw("\nsigma(z) = ");
    append_polynomial(algorithm.sigma, text.out);
    text.raw("\n");
    if (algorithm.reducible) {
        std::string factor;
        append_polynomial(algorithm.common_factor, factor);
        text.putf("rho e sigma tem o fator comum %s: o algoritmo e' redutivel.\n", factor.c_str());
    } else {
        text.put("rho e sigma nao tem fator comum.\n");
    }
}

void append_algorithm(const AlgorithmAnalysis& algorithm, std::size_t number, int m,
                      TextOut& text) {
    // The report is plain ASCII: the name's other bytes are shown as \xHH.
    text.putf("\nAlgoritmo %zu: %s\n", number, printable_name(algorithm.file).c_str());
    text.put(algorithm.is_explicit ? "O algoritmo e' explicito.\n" : "O algoritmo e' implicito.\n");
    append_reading(algorithm, text);
    append_listing("A", algorithm.rho, text);
    append_listing("B", algorithm.sigma, text);
    append_polynomials(algorithm, text);
    append_order(algorithm, text);
    append_roots_and_stability(algorithm, m, text);
    if (algorithm.stability_analysed) {
        append_linear_stability(algorithm, m, text);
    }
    if (!algorithm.convergence.empty()) {
        append_measured_convergence(algorithm.convergence, true, algorithm.order, text);
    }
}

const char* disagreement_text(Disagreement disagreement) {
    switch (disagreement) {
    case Disagreement::NONE:
        return nullptr;
    case Disagreement::ROUND_OFF:
        return "Os dois erros estao no nivel do arredondamento, e compara-los nao decide nada.\n";
    case Disagreement::WEAK_ROOT:
        return "O metodo e' so' fracamente estavel: uma raiz de modulo 1 alem de 1 sai do\n"
               "circulo para h > 0 e faz o erro crescer.\n";
    case Disagreement::DIVERGED_OTHERWISE:
    case Disagreement::CONVERGED_OTHERWISE:
        return "O teste so' compara dois passos, 0.1 e 0.01, e isso nao decide a "
               "estabilidade.\n";
    case Disagreement::UNREACHED_ROOT:
        return "Ha' uma raiz parasita fora do circulo unitario que o teste nao alcancou nos\n"
               "seus poucos passos.\n";
    case Disagreement::UNREACHED_MULTIPLE_ROOT:
        return "O que falha e' uma raiz sobre o circulo com multiplicidade grande demais, e o\n"
               "seu crescimento lento nao aparece nos poucos passos do teste.\n";
    }
    return nullptr;
}

void append_test_not_run(const MethodAnalysis& method, TextOut& text) {
    if (method.kind == MethodKind::COMPOSITE) {
        text.put("Teste da exponencial do ordimet: nao feito\n"
                 "(o ordimet nao o faz em metodos compostos).\n");
    } else if (!method.tolerance_order_known || method.tolerance_order <= 0) {
        text.put("Teste da exponencial do ordimet: nao feito\n"
                 "(o ordimet so' o faz quando a sua ordem e' positiva).\n");
    } else if (method.raise_refused) {
        text.put("Teste da exponencial do ordimet: nao feito\n"
                 "(o ordimet nao monta a matriz aumentada, e sem ela nao faz o teste).\n");
    } else {
        text.put("Teste da exponencial do ordimet: nao feito (faltou memoria).\n");
    }
}

void append_test(const MethodAnalysis& method, TextOut& text) {
    const ExponentialTest& test = method.test;
    if (test.verdict == TestVerdict::NOT_RUN) {
        append_test_not_run(method, text);
        return;
    }
    text.putf("Teste da exponencial do ordimet (grau de Taylor %d):\n", test.degree);
    text.putf("y( 1 ) = %s para h = 0.1\n", decimal_text(test.larger_step_value).c_str());
    text.putf("y( 1 ) = %s para h = 0.01\n", decimal_text(test.smaller_step_value).c_str());
    text.putf("exp( 1 ) = %s\n", decimal_text(std::exp(1.0)).c_str());
    text.put(test.verdict == TestVerdict::CONVERGED ? "O teste convergiu.\n"
                                                    : "O teste divergiu.\n");
    if (const char* why = disagreement_text(test.disagreement); why != nullptr) {
        text.put("O teste discorda da condicao das raizes.\n");
        text.put(why);
    }
}

// The order as ordimet defines it: exact for SI and CO; for CI the rank
// test's, which is not always the order of the global error.
void append_method_order(const MethodAnalysis& method, TextOut& text) {
    const bool cyclic = method.kind == MethodKind::CYCLIC;
    if (method.order_known) {
        text.putf(cyclic              ? (method.order >= 1
                                             ? "A ordem do metodo pelo teste do posto (como o ordimet a define) "
                                               "e' %" PRId64 ".\n"
                                             : "A ordem do metodo pelo teste do posto (como o ordimet a define) "
                                               "e' %" PRId64 ": o metodo nao e' consistente.\n")
                  : method.order >= 1 ? "A ordem de consistencia exata do metodo e' %" PRId64 ".\n"
                                      : "A ordem de consistencia exata do metodo e' %" PRId64
                                        ": o metodo nao e' consistente.\n",
                  method.order);
    } else {
        text.put(cyclic ? "A ordem do metodo pelo teste do posto nao e' calculavel.\n"
                        : "A ordem de consistencia exata do metodo nao e' calculavel.\n");
    }
    if (method.tolerance_order_known) {
        text.putf("A ordem do metodo pelo ordimet (tolerancia %s) e' %" PRId64 ".\n",
                  short_number(ZERO_TOLERANCE).c_str(), method.tolerance_order);
    } else {
        text.putf("A ordem do metodo pelo ordimet (tolerancia %s) nao e' calculavel.\n",
                  short_number(ZERO_TOLERANCE).c_str());
    }
}

void append_method(const MethodAnalysis& method, TextOut& text) {
    text.put("\nMetodo\n");
    if (method.raise_refused) {
        text.putf("Matriz aumentada de dimensao %d, acima de %d: o aumento da consistencia\n"
                  "nao e' calculado.\n",
                  method.dimension, MAX_RAISE_DIMENSION);
    }
    if (method.raise_computed) {
        text.putf("Matriz aumentada de dimensao %d: posto exato %d.\n", method.dimension,
                  method.rank);
        if (method.raised) {
            text.put("A consistencia real do metodo e' maior!\n");
        }
    }
    append_method_order(method, text);
    if (method.kind == MethodKind::CYCLIC) {
        append_cycle(method.cycle, text);
    } else if (method.kind == MethodKind::COMPOSITE) {
        text.put(method.zero_stable ? "O metodo e' zero-estavel: todos os algoritmos o sao.\n"
                                    : "O metodo nao e' zero-estavel: nem todos os algoritmos o "
                                      "sao.\n");
    } else {
        text.put(method.zero_stable ? "O metodo e' zero-estavel.\n"
                                    : "O metodo nao e' zero-estavel.\n");
    }
    append_convergence_order(method, text);
    text.put(method.convergent ? "O metodo e' convergente.\n" : "O metodo nao e' convergente.\n");
    if (method.kind != MethodKind::COMPOSITE && !method.convergence.empty()) {
        append_measured_convergence(method.convergence, method.convergence_order_known,
                                    method.convergence_order, text);
    }
    append_test(method, text);
}

} // namespace

void write_text_report(const MethodAnalysis& method, Language language, std::string& out) {
    TextOut text{out, language};
    switch (method.kind) {
    case MethodKind::SIMPLE:
        text.put("O metodo dado e' simples.\n");
        break;
    case MethodKind::COMPOSITE:
        text.put("O metodo dado e' composto.\n");
        break;
    case MethodKind::CYCLIC:
        text.put("O metodo dado e' ciclico.\n");
        break;
    }
    text.putf("O metodo tem passo especificado como sendo %d.\n", method.written_k);
    text.putf("O passo real do metodo e' %d.\n", method.k);
    text.putf("A equacao diferencial especial tem ordem %d.\n", method.m);
    for (std::size_t a = 0; a < method.algorithms.size(); ++a) {
        append_algorithm(method.algorithms[a], a + 1, method.m, text);
    }
    append_method(method, text);
}

} // namespace ordimet::analyse
