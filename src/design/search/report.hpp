#pragma once

// The report of a search: a text table of the methods found with their
// certified values, or JSON Lines (one object per method, then one with
// the counts). Both say what the space was and what every candidate came
// to: dropped by a constraint (exactly), kept by the screening, certified.

#include "analyse/report/words.hpp"
#include "design/search/search.hpp"

#include <string>
#include <vector>

namespace ordimet::design {

struct ReportInput {
    const Space& space;
    const SearchRequest& request;
    const SearchOutcome& outcome;
    analyse::Language language;
    // The folder of the methods' files and each winner's file name in it
    // (empty without --output).
    std::string folder;
    std::vector<std::string> files;
};

std::string search_text(const ReportInput& input);
std::string search_json_lines(const ReportInput& input);

// The file name of the method of a rank: its number with as many digits as
// the largest rank asked for, at least 2 ("01.txt").
std::string rank_file_name(int rank, int top);

} // namespace ordimet::design
