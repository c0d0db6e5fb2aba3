#include "analyse/report/json_values.hpp"

#include <cstdio>
#include <cstdlib>

namespace ordimet::analyse {

double significant(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.6g", value);
    return std::strtod(text, nullptr);
}

double two_decimals(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.2f", value);
    return std::strtod(text, nullptr);
}

nlohmann::ordered_json end_value(const IntervalEnd& end) {
    switch (end.kind) {
    case IntervalEnd::Kind::NONE:
        return nullptr;
    case IntervalEnd::Kind::INFINITE:
        return "inf";
    case IntervalEnd::Kind::FINITE:
        return significant(end.value);
    }
    return nullptr;
}

nlohmann::ordered_json end_exact(const IntervalEnd& end) {
    return end.kind == IntervalEnd::Kind::FINITE && !end.exact.empty()
               ? nlohmann::ordered_json(end.exact)
               : nlohmann::ordered_json(nullptr);
}

} // namespace ordimet::analyse
