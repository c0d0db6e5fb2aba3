#include "analyse/report/words.hpp"

#include <string_view>
#include <unordered_map>

namespace ordimet::analyse {
namespace {

struct Words {
    const char* portuguese;
    const char* english;
};

// Each text in Portuguese and in English.
constexpr Words WORDS[] = {
    {"O metodo dado e' simples.\n", "The method is simple.\n"},
};

// The table by its Portuguese texts, made once and never changed.
const std::unordered_map<std::string_view, const char*>& translations() {
    static const std::unordered_map<std::string_view, const char*> table = [] {
        std::unordered_map<std::string_view, const char*> made;
        for (const Words& words : WORDS) {
            made.emplace(words.portuguese, words.english);
        }
        return made;
    }();
    return table;
}

} // namespace

const char* say(const char* portuguese, Language language) {
    if (language == Language::PORTUGUESE) {
        return portuguese;
    }
    const auto found = translations().find(portuguese);
    return found != translations().end() ? found->second : portuguese;
}

bool has_translation(const char* portuguese) {
    return translations().contains(portuguese);
}

} // namespace ordimet::analyse
