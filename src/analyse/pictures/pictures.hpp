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
#include "analyse/sampling/sampling.hpp"

#include <cstddef>
#include <set>
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

// The names of the pictures written in one run, so that no two get the
// same one.
struct PictureNames {
    std::set<std::string> used;
};

// Writes the pictures of an analysed method into `directory`: for every
// algorithm the roots of rho and, for m = 1 or 2, its region or its
// periodicity picture; for a cyclic method whose cycle was decided, the
// cycle. `samples` holds one entry per algorithm. On a failure to write,
// `failed` names the file and the remaining pictures are still written;
// returns false then.
bool write_pictures(const MethodAnalysis& method, std::span<const AlgorithmSamples> samples,
                    const std::string& directory, PictureNames& names, std::string& failed);

} // namespace ordimet::analyse
