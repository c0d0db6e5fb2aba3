// STAND-IN (deleted before merging): a minimal version of the output room,
// enough for the search; the real one comes from the families branch.
#include "design/output/method_files.hpp"

#include "analyse/exact/numbers.hpp"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace ordimet::design {

std::string method_file_text(int k, int m, std::span<const Rational> coefficients,
                             bool decimals) {
    std::string text = std::to_string(k) + " " + std::to_string(m) + "\n";
    const std::size_t n = static_cast<std::size_t>(k) + 1;
    for (std::size_t i = 0; i < coefficients.size(); ++i) {
        if (decimals) {
            char buffer[40];
            std::snprintf(buffer, sizeof buffer, "%.17g", analyse::nearest_double(coefficients[i]));
            text += buffer;
        } else {
            text += coefficients[i].text();
        }
        text += (i + 1) % n == 0 ? "\n" : " ";
    }
    return text;
}

FileWrite write_new_file(const std::string& path, std::string_view text, bool force) {
    (void)force;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0666);
    if (fd < 0) {
        return errno == EEXIST ? FileWrite::EXISTS : FileWrite::FAILED;
    }
    const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    return (::close(fd) == 0 && ok) ? FileWrite::WRITTEN : FileWrite::FAILED;
}

bool prepare_output_folder(const std::string& path, std::string& error) {
    // The messages of the families branch's output room, word for word.
    std::error_code code;
    const std::filesystem::path folder(path);
    const auto status = std::filesystem::symlink_status(folder, code);
    if (status.type() == std::filesystem::file_type::not_found) {
        if (std::filesystem::create_directory(folder, code)) {
            return true;
        }
        error = "nao foi possivel criar o diretorio " + path + ".";
        return false;
    }
    if (status.type() != std::filesystem::file_type::directory) {
        error = path + " existe e nao e' um diretorio.";
        return false;
    }
    if (!std::filesystem::is_empty(folder, code)) {
        error = "o diretorio " + path + " nao esta' vazio.";
        return false;
    }
    return true;
}

} // namespace ordimet::design
