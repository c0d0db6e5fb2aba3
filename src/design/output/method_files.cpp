#include "design/output/method_files.hpp"

#include "analyse/exact/flint_handles.hpp"
#include "analyse/exact/numbers.hpp"
#include "analyse/files/replace_file.hpp"
#include "analyse/report/file_names.hpp"
#include "analyse/report/text_out.hpp"
#include "platform/posix/retry.hpp"

#include <cmath>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <pthread.h>
#include <system_error>

namespace ordimet::design {
namespace {

using analyse::Fmpz;

// The exact decimal of a value whose denominator is 2^a 5^b, when it has at
// most 17 significant digits: the integer N = value x 10^e, e = max(a, b),
// with a point e places from its right. In lowest terms N ends in a digit
// other than 0 whenever e > 0, so no trailing zero is written.
bool short_exact_decimal(const Rational& value, std::string& text) {
    Fmpz rest;
    fmpz_set(rest.get(), fmpq_denref(value.get()));
    Fmpz prime;
    fmpz_set_ui(prime.get(), 2);
    const long twos = fmpz_remove(rest.get(), rest.get(), prime.get());
    fmpz_set_ui(prime.get(), 5);
    const long fives = fmpz_remove(rest.get(), rest.get(), prime.get());
    if (!fmpz_is_one(rest.get())) {
        return false;
    }
    const long e = std::max(twos, fives);
    Fmpz scaled;
    fmpz_ui_pow_ui(scaled.get(), 10, static_cast<unsigned long>(e));
    fmpz_divexact(scaled.get(), scaled.get(), fmpq_denref(value.get()));
    fmpz_mul(scaled.get(), scaled.get(), fmpq_numref(value.get()));
    const bool negative = fmpz_sgn(scaled.get()) < 0;
    fmpz_abs(scaled.get(), scaled.get());
    if (fmpz_sizeinbase(scaled.get(), 10) > 18) {
        return false;
    }
    char digits[24];
    fmpz_get_str(digits, 10, scaled.get());
    std::string written(digits);
    if (written.size() > 17) {
        return false;
    }
    if (e > 0) {
        const auto point = static_cast<std::size_t>(e);
        if (written.size() <= point) {
            written.insert(0, point + 1 - written.size(), '0');
        }
        written.insert(written.size() - point, 1, '.');
    }
    text = negative ? "-" + written : written;
    return true;
}

void append_line(std::string& out, std::span<const Rational> values, bool decimals) {
    for (std::size_t j = 0; j < values.size(); ++j) {
        out += j == 0 ? "" : " ";
        out += decimals ? decimal_text(values[j]) : values[j].text();
    }
    out += '\n';
}

// The signals that end a process at once are held while a file is written,
// so that an interruption comes after the rename (or the clean-up), never
// between the temporary file's making and its end.
class HeldSignals {
  public:
    HeldSignals() {
        sigset_t held;
        sigemptyset(&held);
        for (const int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
            sigaddset(&held, sig);
        }
        pthread_sigmask(SIG_BLOCK, &held, &before_);
    }
    ~HeldSignals() { pthread_sigmask(SIG_SETMASK, &before_, nullptr); }
    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;

  private:
    sigset_t before_{};
};

} // namespace

std::string decimal_text(const Rational& value) {
    std::string text;
    if (value.is_zero()) {
        return "0";
    }
    if (short_exact_decimal(value, text)) {
        return text;
    }
    char nearest[40];
    std::snprintf(nearest, sizeof nearest, "%.17g", analyse::nearest_double(value));
    return nearest;
}

bool fits_doubles(std::span<const Rational> values) {
    for (const Rational& value : values) {
        const double nearest = analyse::nearest_double(value);
        if (!std::isfinite(nearest) || (nearest == 0.0 && !value.is_zero())) {
            return false;
        }
    }
    return true;
}

std::string method_file_text(int k, int m, std::span<const Rational> coefficients, bool decimals) {
    std::string text = std::to_string(k) + " " + std::to_string(m) + "\n";
    const std::size_t half = coefficients.size() / 2;
    append_line(text, coefficients.first(half), decimals);
    append_line(text, coefficients.subspan(half), decimals);
    return text;
}

FileWrite write_new_file(const std::string& path, std::string_view text, bool force) {
    const std::filesystem::path whole(path);
    const std::string name = whole.filename().string();
    std::error_code error;
    if (name.empty() || name == "." || name == "..") {
        // A folder's name (a path ending in '/'): no file goes there.
        return std::filesystem::exists(whole, error) ? FileWrite::EXISTS : FileWrite::FAILED;
    }
    const std::string folder = whole.has_parent_path() ? whole.parent_path().string() : ".";
    // Made and renamed relative to the folder opened once, so that the folder
    // can't be swapped for another between the two.
    const analyse::OwnedDescriptor directory(platform::retry_interrupted(
        [&] { return ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC); }));
    if (directory.get() < 0) {
        return FileWrite::FAILED;
    }
    const HeldSignals held;
    switch (analyse::replace_file(directory.get(), name, text,
                                  force ? analyse::ExistingFile::REPLACE_REGULAR
                                        : analyse::ExistingFile::KEEP)) {
    case analyse::FileReplace::WRITTEN:
        return FileWrite::WRITTEN;
    case analyse::FileReplace::EXISTS:
    case analyse::FileReplace::NOT_A_REGULAR_FILE:
        return FileWrite::EXISTS;
    case analyse::FileReplace::FAILED:
        break;
    }
    return FileWrite::FAILED;
}

bool prepare_output_folder(const std::string& path, std::string& error,
                           analyse::Language language) {
    const std::filesystem::path folder(path);
    const std::string shown = analyse::printable_name(path);
    error.clear();
    analyse::TextOut out{error, language};
    std::error_code code;
    const std::filesystem::file_status status = std::filesystem::symlink_status(folder, code);
    if (status.type() == std::filesystem::file_type::not_found) {
        // Left to us: one level is made, as --plot makes its folder; a
        // missing parent is more likely a slip than a wish for a tree.
        if (std::filesystem::create_directory(folder, code)) {
            return true;
        }
        out.putf("nao foi possivel criar o diretorio %s.", shown.c_str());
        return false;
    }
    if (code) {
        out.putf("nao foi possivel examinar %s.", shown.c_str());
        return false;
    }
    // A link is not followed: the files of a search go where they are named.
    if (status.type() != std::filesystem::file_type::directory) {
        out.putf("%s existe e nao e' um diretorio.", shown.c_str());
        return false;
    }
    const bool empty = std::filesystem::is_empty(folder, code);
    if (code) {
        out.putf("nao foi possivel ler o diretorio %s.", shown.c_str());
        return false;
    }
    if (!empty) {
        out.putf("o diretorio %s nao esta' vazio.", shown.c_str());
        return false;
    }
    return true;
}

} // namespace ordimet::design
