// ordimet-design: linear multistep methods built exactly, by family or from
// a prescribed polynomial, written as method files for ordimet and
// ordimet-analyse; and searches for the best ones (search).

#include "analyse/cli/command_words.hpp"
#include "analyse/report/file_names.hpp"
#include "analyse/report/text_out.hpp"
#include "design/cli/cli.hpp"
#include "design/output/method_files.hpp"
#include "design/search/search_command.hpp"
#include "platform/output_signals.hpp"

#include <cstdarg>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace {

using namespace ordimet::design;
using ordimet::analyse::printable_name;
using ordimet::analyse::say;
using ordimet::analyse::TextOut;

// The method in JSON, on one line: what was asked, the coefficients as
// exact fractions and the order reached.
std::string json_text(const DesignCommand& command, const DesignedMethod& method) {
    nlohmann::ordered_json json;
    const auto fractions = [](std::span<const Rational> values) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const Rational& value : values) {
            list.push_back(value.text());
        }
        return list;
    };
    const std::span<const Rational> all(method.coefficients);
    const auto n = static_cast<std::size_t>(method.k) + 1;
    json["schema"] = 1;
    json["family"] = family_rule(command.request.family).name;
    json["k"] = method.k;
    json["m"] = method.m;
    json["explicit"] = method.coefficients.back().is_zero();
    json["rho"] = fractions(all.first(n));
    json["sigma"] = fractions(all.subspan(n));
    json["order"] = method.order.order;
    json["error_index"] = method.order.error_index;
    json["error_coefficient"] = method.order.error_coefficient.text();
    json["error_constant"] = method.order.error_constant.text();
    json["error_constant_decimal"] = method.order.error_constant_decimal;
    return json.dump() + "\n";
}

// "ordem 5, constante de erro -3/160 = -0.01875" on standard error.
void print_order(const DesignedMethod& method, Language language) {
    std::string text;
    TextOut{text, language}.putf("ordem %lld, constante de erro %s = %s\n",
                                 static_cast<long long>(method.order.order),
                                 method.order.error_constant.text().c_str(),
                                 decimal_text(method.order.error_constant).c_str());
    std::fputs(text.c_str(), stderr);
}

__attribute__((format(printf, 2, 3))) void fail(Language language, const char* portuguese, ...) {
    std::string text = "ordimet-design: ";
    va_list arguments;
    va_start(arguments, portuguese);
    TextOut{text, language}.vputf(portuguese, arguments);
    va_end(arguments);
    std::fputs(text.c_str(), stderr);
}

// Writes the method file given by --output; false, with the reason said,
// when it could not be.
bool write_output(const DesignCommand& command, const std::string& text) {
    const std::string name = printable_name(command.output);
    switch (write_new_file(command.output, text, command.force)) {
    case FileWrite::WRITTEN:
        return true;
    case FileWrite::EXISTS: {
        struct stat found {};
        const bool regular = ::lstat(command.output.c_str(), &found) == 0 && S_ISREG(found.st_mode);
        if (regular && !command.force) {
            fail(command.language, "%s ja' existe; --force o substitui.\n", name.c_str());
        } else {
            fail(command.language, "%s existe e nao e' um arquivo comum; nada foi escrito.\n",
                 name.c_str());
        }
        return false;
    }
    case FileWrite::FAILED:
        break;
    }
    fail(command.language, "nao foi possivel escrever %s.\n", name.c_str());
    return false;
}

// Makes the method and writes it where the command line says: the method
// file to --output or standard output, the JSON to standard output, the
// order to standard error. Nothing is written when the method can't be made.
int design_and_write(const DesignCommand& command) {
    const DesignedMethod method = design_method(command.request);
    if (method.status != DesignStatus::MADE) {
        const std::string message = design_failure_message(method, command.language);
        std::fputs(("ordimet-design: " + message).c_str(), stderr);
        return EXIT_IMPOSSIBLE;
    }
    if (command.decimals && !fits_doubles(method.coefficients)) {
        fail(command.language,
             "um coeficiente nao cabe num double (ou se arredonda a 0); escreva sem --decimals.\n");
        return EXIT_IMPOSSIBLE;
    }
    const std::string file =
        method_file_text(method.k, method.m, method.coefficients, command.decimals);
    if (!command.output.empty() && !write_output(command, file)) {
        return EXIT_IMPOSSIBLE;
    }
    if (command.json) {
        std::fputs(json_text(command, method).c_str(), stdout);
    } else if (command.output.empty()) {
        std::fputs(file.c_str(), stdout);
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        fail(command.language, "erro ao escrever a saida.\n");
        return EXIT_IMPOSSIBLE;
    }
    if (!command.json) {
        print_order(method, command.language);
    }
    return EXIT_MADE;
}

} // namespace

int main(int argc, char** argv) {
    // A write that fails (a pipe whose reader has gone, a file at its size
    // limit) is an error reported like any other, not a signal that ends the
    // process without a word.
    ordimet::platform::keep_running_when_output_fails();
    if (argc > 1 && std::string_view(argv[1]) == "search") {
        return run_search_command(argc, argv, ordimet::analyse::language_asked(argc, argv));
    }
    DesignCommand command;
    const int parsed = parse_command_line(argc, argv, command);
    if (parsed != RUN_DESIGN) {
        return parsed;
    }
    return design_and_write(command);
}
