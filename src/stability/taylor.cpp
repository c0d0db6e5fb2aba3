#include "stability/stability.hpp"

namespace ordimet {

double taylor_exp_step(double v, double h, int n) {
    double sum = v;
    double term = v;
    // Each term h^i/i! * v comes from the previous one; h is divided by i
    // before it multiplies, and every term is added, however small.
    for (int i = 1; i <= n; ++i) {
        term = (h / static_cast<double>(i)) * term;
        sum = sum + term;
    }
    return sum;
}

void fill_starting_values(double h, int p, int k, std::span<double> window) {
    window[0] = 1.0;
    // Each value is one Taylor step on from the previous one, so the
    // truncation error of every step carries into the next.
    for (int i = 1; i < k; ++i) {
        const auto at = static_cast<std::size_t>(i);
        window[at] = taylor_exp_step(window[at - 1], h, p);
    }
}

} // namespace ordimet
