#pragma once

// Pictures of an analysed method, as SVG files:
// - m = 1: the region of absolute stability S in the complex z plane, with
//   its boundary locus, the real stability interval and the A(alpha) wedge;
// - m = 2: the moduli of the roots of rho + H^2 sigma against H^2, with the
//   intervals of periodicity and of absolute stability;
// - every m: the roots of rho with the unit circle;
// - a cyclic method: the eigenvalues of its cycle with the unit circle.
// The sampled curves are kept apart from the drawing so that the JSON
// report carries the same numbers the pictures show. Everything here
// computes in doubles: a picture needs no more.

#include "analyse/model/method.hpp"
#include "analyse/pictures/picture_files.hpp"
#include "analyse/sampling/sampling.hpp"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace ordimet::analyse {

// The SVG documents themselves.
std::string region_picture(const AlgorithmAnalysis& algorithm, const AlgorithmSamples& samples);
std::string periodicity_picture(const AlgorithmAnalysis& algorithm,
                                const AlgorithmSamples& samples);
std::string roots_picture(const AlgorithmAnalysis& algorithm);
std::string cycle_picture(const MethodAnalysis& method);

// A picture that could not be written: its path (the folder as given, then
// the name) and why.
struct PictureFailure {
    std::string path;
    PictureWrite why = PictureWrite::FAILED;
};

// Writes the pictures of an analysed method into the folder: for every
// algorithm the roots of rho and, for m = 1 or 2, its region or its
// periodicity picture; for a cyclic method whose cycle was decided, the
// cycle. `samples` holds one entry per algorithm. A picture that can't be
// written is added to `failures` and the others are still written.
void write_pictures(const MethodAnalysis& method, std::span<const AlgorithmSamples> samples,
                    PictureFolder& folder, std::vector<PictureFailure>& failures);

} // namespace ordimet::analyse
