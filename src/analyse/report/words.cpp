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

    // --- The pictures' texts (src/analyse/pictures) ---------------------------
    // Titles and headings.
    {"Regiao de estabilidade absoluta: %s", "Region of absolute stability: %s"},
    {"Regiao de estabilidade absoluta (y' = λy, z = hλ)",
     "Region of absolute stability (y' = λy, z = hλ)"},
    {"Modulos das raizes de rho + H² sigma: %s", "Moduli of the roots of rho + H² sigma: %s"},
    {"Ramos das raizes de rho(ζ) + H² sigma(ζ): |ζ| (y'' = -ω²y, H = hω)",
     "Branches of the roots of rho(ζ) + H² sigma(ζ): |ζ| (y'' = -ω²y, H = hω)"},
    {"Erro de fase: %s", "Phase error: %s"},
    {"Erro de fase da raiz principal (y'' = -ω²y, H = hω)",
     "Phase error of the principal root (y'' = -ω²y, H = hω)"},
    {"Raizes de rho: %s", "Roots of rho: %s"},
    {"Raizes de rho(ζ)", "Roots of rho(ζ)"},
    {"Autovalores do ciclo: %s", "Eigenvalues of the cycle: %s"},
    {"Autovalores da matriz do ciclo", "Eigenvalues of the cycle's matrix"},
    {"Convergencia: %s", "Convergence: %s"},
    {"Erro global contra o passo h, nos problemas de teste",
     "Global error against the step h, on the test problems"},
    {"erro global", "global error"},
    // The region.
    {"regiao S de estabilidade absoluta:", "region S of absolute stability:"},
    {"as raizes de rho(ζ) - z sigma(ζ) em |ζ| ≤ 1, simples em |ζ| = 1",
     "the roots of rho(ζ) - z sigma(ζ) in |ζ| ≤ 1, simple on |ζ| = 1"},
    {"fronteira z(θ) = rho(e^iθ) / sigma(e^iθ)", "boundary locus z(θ) = rho(e^iθ) / sigma(e^iθ)"},
    {"intervalo real: nao decidido", "real interval: not decided"},
    {"sem intervalo real de estabilidade", "no real stability interval"},
    {"intervalo real (-a, 0), a = %s", "real interval (-a, 0), a = %s"},
    {"intervalo real: todo o semieixo negativo", "real interval: the whole negative axis"},
    {"cunha A(α): nao decidida", "A(α) wedge: not decided"},
    {"A-estavel: S contem o semiplano Re z < 0", "A-stable: S contains the half-plane Re z < 0"},
    {"cunha A(α), α = %s", "A(α) wedge, α = %s"},
    {"sem cunha A(α) (α = 0)", "no A(α) wedge (α = 0)"},
    {"S nao tem interior visivel nesta janela", "S has no visible interior in this window"},
    // The branches.
    {"intervalo de periodicidade: nao decidido", "interval of periodicity: not decided"},
    {"intervalo de periodicidade (0, %s)%s:", "interval of periodicity (0, %s)%s:"},
    {", P-estavel", ", P-stable"},
    {"sem intervalo de periodicidade", "no interval of periodicity"},
    {"as raizes principais em |ζ| = 1, as outras em |ζ| ≤ 1, simples em |ζ| = 1",
     "the principal roots on |ζ| = 1, the others in |ζ| ≤ 1, simple on |ζ| = 1"},
    {"intervalo de estabilidade absoluta: nao decidido",
     "interval of absolute stability: not decided"},
    {"intervalo de estabilidade absoluta (0, %s):", "interval of absolute stability (0, %s):"},
    {"sem intervalo de estabilidade absoluta", "no interval of absolute stability"},
    {"todas as raizes em |ζ| < 1", "every root in |ζ| < 1"},
    {"par conjugado ζ, ζ̄", "conjugate pair ζ, ζ̄"},
    {"raiz real", "real root"},
    {"ζ%s, de %s", "ζ%s, from %s"},
    {"ζ%s, de %s: conjugada de ζ%s", "ζ%s, from %s: conjugate of ζ%s"},
    // The phase error.
    {"θ(H) - H, com e^iθ(H) a raiz principal (a que sai de 1 com Im ζ > 0)",
     "θ(H) - H, e^iθ(H) the principal root (the one leaving 1 with Im ζ > 0)"},
    {"termo principal do atraso de fase: c H^(q+1) = %s",
     "leading term of the phase lag: c H^(q+1) = %s"},
    {"termo principal do atraso de fase: nao conhecido",
     "leading term of the phase lag: not known"},
    {"H de 0 ao fim do intervalo de periodicidade, Hp = %s",
     "H from 0 to the end of the interval of periodicity, Hp = %s"},
    {"H de 0 a π: nao ha intervalo de periodicidade",
     "H from 0 to π: there is no interval of periodicity"},
    {"H de 0 a π: o intervalo de periodicidade nao tem fim",
     "H from 0 to π: the interval of periodicity has no end"},
    // Roots and eigenvalues.
    {"circulo unitario |ζ| = 1", "unit circle |ζ| = 1"},
    {"dentro do circulo", "inside the circle"},
    {"sobre o circulo", "on the circle"},
    {"fora do circulo", "outside the circle"},
    {"×n: multiplicidade n", "×n: multiplicity n"},
    {"fora da janela: %s%s", "outside the window: %s%s"},
    {", multiplicidade %s", ", multiplicity %s"},
    {"rho e' o polinomio nulo.", "rho is the zero polynomial."},
    {"rho e' constante: nao tem raizes.", "rho is constant: it has no roots."},
    {"O ciclo nao tem autovalores.", "The cycle has no eigenvalues."},
    // Convergence.
    {"%s: ordem medida %s", "%s: measured order %s"},
    {"inclinacao %s, a ordem de convergencia, pelo erro do menor h",
     "slope %s, the convergence order, through the error at the smallest h"},
    {"sem reta de referencia: a ordem de convergencia nao e' conhecida",
     "no reference line: the convergence order is not known"},
    {"erros indefinidos, nulos ou alem dos doubles ficam de fora",
     "errors undefined, zero or beyond the doubles are left out"},
    // --- End of the pictures' texts --------------------------------------------
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
