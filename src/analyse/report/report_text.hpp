#pragma once

// The text report of ordimet-analyse: Portuguese or English, plain ASCII, one section per
// algorithm, then the method.

#include "analyse/model/method.hpp"
#include "analyse/order/order.hpp"
#include "analyse/report/format.hpp"
#include "analyse/report/words.hpp"

#include <string>

namespace ordimet::analyse {

// Appends the report of one analysed method to `out`, in the language asked
// for: plain ASCII, one section per algorithm, then the method.
void write_text_report(const MethodAnalysis& method, Language language, std::string& out);

} // namespace ordimet::analyse
