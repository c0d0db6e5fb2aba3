#include "support/format.hpp"

#include <cmath>
#include <cstdio>

namespace ordimet {

FixedText fixed(double value, int width) {
    FixedText out{};
    if (std::isnan(value)) {
        std::snprintf(out.text, sizeof out.text, "%*s", width, "nan");
    } else if (std::isinf(value)) {
        std::snprintf(out.text, sizeof out.text, "%*s", width, value < 0 ? "-inf" : "inf");
    } else {
        std::snprintf(out.text, sizeof out.text, "%*.6f", width, value);
    }
    return out;
}

} // namespace ordimet
