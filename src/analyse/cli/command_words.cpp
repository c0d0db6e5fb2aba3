#include "analyse/cli/command_words.hpp"

#include "analyse/report/file_names.hpp"
#include "analyse/report/text_out.hpp"

#include <cstdio>
#include <string_view>

namespace ordimet::analyse {

Language language_asked(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") {
            break;
        }
        if (argument == "--lang=en" ||
            (argument == "--lang" && i + 1 < argc && std::string_view(argv[i + 1]) == "en")) {
            return Language::ENGLISH;
        }
    }
    return Language::PORTUGUESE;
}

// CLI11 names the argument after ": " in most messages, before it in that of
// an option without its value ("--plot: 1 required DIR missing"), and
// first in that of a missing positional ("K is required").
std::string parse_error_text(const CLI::ParseError& error, Language language) {
    const std::string what = error.what();
    const std::size_t colon = what.find(": ");
    const std::string after =
        printable_name(colon == std::string::npos ? what : what.substr(colon + 2));
    const std::string before = printable_name(what.substr(0, std::min(colon, what.size())));
    std::string text;
    TextOut out{text, language};
    if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
        out.putf("falta %s.", printable_name(what.substr(0, what.find(' '))).c_str());
    } else if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
        out.putf("argumento nao esperado: %s.", after.c_str());
    } else if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
        out.putf("falta o valor de %s.", before.c_str());
    } else if (dynamic_cast<const CLI::ConversionError*>(&error) != nullptr) {
        out.putf("valor que nao e' um inteiro: %s.", after.c_str());
    } else {
        out.putf("linha de comando invalida: %s", printable_name(what).c_str());
    }
    return text;
}

HelpFormatter::HelpFormatter(const char* usage, Language language)
    : usage_(usage), language_(language) {
    label("Options", say("Opcoes", language));
    label("Positionals", say("Argumentos", language));
    label("TEXT", say("TEXTO", language));
    label("INT", say("INTEIRO", language));
    label("REQUIRED", say("OBRIGATORIO", language));
}

std::string HelpFormatter::make_usage(const CLI::App*, std::string) const {
    return say(usage_, language_);
}

void print_error(const char* program, const char* usage, Language language, const char* portuguese,
                 va_list arguments) {
    std::string text = std::string(program) + ": ";
    TextOut out{text, language};
    out.vputf(portuguese, arguments);
    out.raw("\n");
    if (usage != nullptr) {
        out.put(usage);
    }
    std::fputs(text.c_str(), stderr);
}

} // namespace ordimet::analyse
