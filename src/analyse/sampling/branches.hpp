#pragma once

// The samples of an algorithm for y'' = f that follow its roots as H^2
// grows: the root branches of rho + H^2 sigma over the window of the
// branches picture, and the phase error of the principal root. Parts of
// sample_algorithm (sampling.hpp), which says what they hold.

#include "analyse/model/method.hpp"
#include "analyse/sampling/sampling.hpp"

#include <vector>

namespace ordimet::analyse {

// The coefficients of rho + h2 sigma up to the generic degree, into `c`.
void pencil_at(const AlgorithmSamples& samples, double h2, std::vector<double>& c);

// branch_h2 and branches, over the x range of samples.window; needs rho,
// sigma and degree.
void sample_branches(AlgorithmSamples& samples);

// phase_h, phase_error and phase_reference, when the periodicity was
// analysed (the principal roots exist); needs rho, sigma and degree.
void sample_phase(const AlgorithmAnalysis& algorithm, AlgorithmSamples& samples);

} // namespace ordimet::analyse
