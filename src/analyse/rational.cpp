#include "analyse/rational.hpp"

namespace ordimet::analyse {

std::string Rational::text() const {
    char* s = fmpq_get_str(nullptr, 10, value_);
    std::string result(s);
    flint_free(s);
    return result;
}

} // namespace ordimet::analyse
