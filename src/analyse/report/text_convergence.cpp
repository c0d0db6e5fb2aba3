// The text report's sections on convergence: the convergence order of the
// method and the errors measured by integration.

#include "analyse/report/format.hpp"
#include "analyse/report/text_sections.hpp"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <string>

namespace ordimet::analyse {
namespace {

// How far a measured order may be from the convergence order before the
// report points at it; the step sizes are too few for closer agreement on
// every method (a method whose errors settle late, like Nystrom's of 6
// steps, is within it).
constexpr double MEASURED_ORDER_SLACK = 0.3;

const char* missing_order_text(NoConvergenceOrder why) {
    switch (why) {
    case NoConvergenceOrder::NOT_ZERO_STABLE:
        return "Ordem de convergencia: nenhuma, o metodo nao e' zero-estavel.\n";
    case NoConvergenceOrder::NOT_DECIDED:
        return "Ordem de convergencia: nao decidida, a estabilidade do ciclo nao e' decidida.\n";
    case NoConvergenceOrder::NO_ORDER:
        return "Ordem de convergencia: nenhuma, um algoritmo nao tem ordem.\n";
    case NoConvergenceOrder::NONE:
        break;
    }
    return "";
}

const char* disagreement_text(OrderDisagreement disagreement) {
    switch (disagreement) {
    case OrderDisagreement::FALSE_RAISE:
        return "A ordem de convergencia e' menor que a do teste do posto: os erros locais\n"
               "principais dos algoritmos, levados ao fim do ciclo, nao se anulam no\n"
               "autoespaco do autovalor 1 da matriz do ciclo, e acumulam-se.\n";
    case OrderDisagreement::MISSED_RAISE:
        return "A ordem de convergencia e' maior que a do teste do posto: os erros locais\n"
               "principais dos algoritmos, levados ao fim do ciclo, se anulam no autoespaco\n"
               "do autovalor 1 da matriz do ciclo, e nao se acumulam.\n";
    case OrderDisagreement::NONE:
        break;
    }
    return "";
}

void append_run(const ConvergenceRun& run, TextOut& text) {
    text.rawf("  %s\n", run.problem.c_str());
    text.putf("    %-12s %-14s %s\n", text.words("h"), text.words("erro"),
              text.words("ordem observada"));
    for (std::size_t i = 0; i < run.steps.size(); ++i) {
        const std::string error = table_number(run.errors[i], true);
        if (i == 0) {
            text.rawf("    %-12.6g %s\n", run.steps[i], error.c_str());
        } else {
            text.rawf("    %-12.6g %-14s %s\n", run.steps[i], error.c_str(),
                      table_number(run.observed_orders[i - 1], false).c_str());
        }
    }
    text.putf("    ordem medida: %s\n", table_number(run.measured_order, false).c_str());
}

} // namespace

void append_convergence_order(const MethodAnalysis& method, TextOut& text) {
    if (!method.convergence_order_known) {
        text.put(missing_order_text(method.no_convergence_order));
        return;
    }
    text.putf("Ordem de convergencia (do erro global): %" PRId64 ".\n", method.convergence_order);
    text.put(disagreement_text(method.order_disagreement));
}

void append_measured_convergence(const std::vector<ConvergenceRun>& runs, bool order_known,
                                 std::int64_t order, TextOut& text) {
    text.put("Convergencia medida por integracao, com valores iniciais exatos (erro: o maior\n"
             "|y_n - y(x_n)| na malha):\n");
    // The method's measured order is its weakest problem's: on a given
    // problem a term of the error may vanish, and the order seen is higher.
    double weakest = INFINITY;
    for (const ConvergenceRun& run : runs) {
        append_run(run, text);
        weakest = std::isnan(run.measured_order) ? NAN : std::min(weakest, run.measured_order);
    }
    if (order_known && !(std::fabs(weakest - static_cast<double>(order)) <= MEASURED_ORDER_SLACK)) {
        text.putf("A ordem medida, %s, difere da ordem de convergencia, %" PRId64
                  ", em mais de %.1f.\n",
                  table_number(weakest, false).c_str(), order, MEASURED_ORDER_SLACK);
    }
}

} // namespace ordimet::analyse
