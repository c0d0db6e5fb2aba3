// A one-line bar redrawn in place with a carriage return.

#include "design/search/progress.hpp"

#include "analyse/report/text_out.hpp"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace ordimet::design {

Progress::Progress(analyse::Language language)
    : language_(language), terminal_(::isatty(STDERR_FILENO) == 1),
      started_(std::chrono::steady_clock::now()), last_(started_) {}

Progress::~Progress() {
    clear();
}

void Progress::start_pass(std::uint64_t total) {
    total_ = total;
}

void Progress::show(std::uint64_t done) {
    using namespace std::chrono_literals;
    const auto now = std::chrono::steady_clock::now();
    if (!terminal_ || now - started_ < 1s || (drawn_ && now - last_ < 200ms) || total_ == 0) {
        return;
    }
    last_ = now;
    constexpr int WIDTH = 30;
    const double part = static_cast<double>(done) / static_cast<double>(total_);
    const int filled = static_cast<int>(part * WIDTH);
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(WIDTH - filled), '.');
    std::string line;
    analyse::TextOut text{line, language_};
    text.putf("\rbusca [%s] %3d%% (%llu de %llu pontos)", bar.c_str(),
              static_cast<int>(part * 100.0), static_cast<unsigned long long>(done),
              static_cast<unsigned long long>(total_));
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    drawn_ = true;
}

void Progress::clear() {
    if (drawn_) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
        drawn_ = false;
    }
}

} // namespace ordimet::design
