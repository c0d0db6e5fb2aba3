#pragma once

// The progress of a long search on standard error: shown once the search
// has run for a second, and only when standard error is a terminal.

#include "analyse/report/words.hpp"

#include <chrono>
#include <cstdint>

namespace ordimet::design {

class Progress {
  public:
    explicit Progress(analyse::Language language);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // A new pass over the grid, of `total` points.
    void start_pass(std::uint64_t total);
    // `done` points of the pass screened so far.
    void show(std::uint64_t done);
    // Clears the bar, if one was drawn.
    void clear();

  private:
    analyse::Language language_;
    bool terminal_;
    bool drawn_ = false;
    std::uint64_t total_ = 0;
    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::time_point last_;
};

} // namespace ordimet::design
