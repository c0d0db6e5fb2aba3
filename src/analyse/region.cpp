#include "analyse/region.hpp"

namespace ordimet::analyse {

AbsoluteStability absolute_stability(std::span<const Rational>, std::span<const Rational>) {
    return AbsoluteStability{};
}

Periodicity periodicity(std::span<const Rational>, std::span<const Rational>) {
    return Periodicity{};
}

} // namespace ordimet::analyse
