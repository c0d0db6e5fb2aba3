#pragma once

// A picture of points of the complex plane with the unit circle, each
// marked by where it lies and with its multiplicity: the roots of rho and
// the eigenvalues of a cycle are drawn by it.

#include "analyse/pictures/pictures.hpp"

#include <span>
#include <string>
#include <string_view>

namespace ordimet::analyse {

struct PlotRoot {
    double re = 0.0;
    double im = 0.0;
    int multiplicity = 1;
    Location location = Location::INSIDE;
};

// The document: `title` for its <title>, `heading` and `subtitle` shown
// above; `empty_note` is written when there are no roots. The window is
// square, at least 1.5 and at most 4 on either side of the origin; roots
// beyond it are listed below the legend.
std::string plane_picture(const std::string& title, const std::string& heading,
                          const std::string& subtitle, std::span<const PlotRoot> roots,
                          std::string_view empty_note, const PictureOptions& options);

} // namespace ordimet::analyse
