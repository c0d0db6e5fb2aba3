#include "analyse/report/words.hpp"

#include <cinttypes>
#include <string_view>
#include <unordered_map>

namespace ordimet::analyse {
namespace {

// Each text in Portuguese and in English. The report's texts come first, in
// the order the report prints them, then the messages on standard error.
constexpr Words WORDS[] = {
    // The method as given.
    {"O metodo dado e' simples.\n", "The method is simple.\n"},
    {"O metodo dado e' composto.\n", "The method is composite.\n"},
    {"O metodo dado e' ciclico.\n", "The method is cyclic.\n"},
    {"O metodo tem passo especificado como sendo %d.\n", "The method's step is specified as %d.\n"},
    {"O passo real do metodo e' %d.\n", "The method's actual step is %d.\n"},
    {"A equacao diferencial especial tem ordem %d.\n",
     "The special differential equation has order %d.\n"},
    // An algorithm: its reading and coefficients.
    {"\nAlgoritmo %zu: %s\n", "\nAlgorithm %zu: %s\n"},
    {"O algoritmo e' explicito.\n", "The algorithm is explicit.\n"},
    {"O algoritmo e' implicito.\n", "The algorithm is implicit.\n"},
    {"Coeficientes exatos, como escritos", "Exact coefficients, as written"},
    {"Coeficientes lidos como as fracoes mais simples que os decimais escritos\n"
     "representam",
     "Coefficients read as the simplest fractions that the written decimals\n"
     "stand for"},
    {"Coeficientes de sigma resolvidos para a maior ordem, dentro dos digitos\n"
     "escritos, e os de rho lidos como fracoes",
     "Coefficients of sigma solved for the highest order within the written\n"
     "digits, and those of rho read as fractions"},
    {"Coeficientes de rho resolvidos para a maior ordem, dentro dos digitos\n"
     "escritos, e os de sigma lidos como fracoes",
     "Coefficients of rho solved for the highest order within the written\n"
     "digits, and those of sigma read as fractions"},
    {"Coeficientes que os digitos escritos nao determinam resolvidos para a maior\n"
     "ordem, dentro desses digitos, e os outros lidos como fracoes",
     "Coefficients left undetermined by the written digits, solved for the highest\n"
     "order within those digits, and the others read as fractions"},
    {"como escritos", "as written"},
    {"lidos como fracoes", "read as fractions"},
    {"resolvidos", "solved"},
    {", a mesma ordem", ", the same order"},
    {": nenhuma ordem (todos os coeficientes nulos)", ": no order (every coefficient zero)"},
    {": ordem %" PRId64, ": order %" PRId64},
    {"rho e sigma tem o fator comum %s: o algoritmo e' redutivel.\n",
     "rho and sigma have the common factor %s: the algorithm is reducible.\n"},
    {"rho e sigma nao tem fator comum.\n", "rho and sigma have no common factor.\n"},
    // Its order.
    {"Todos os coeficientes do algoritmo sao nulos: os coeficientes de erro tambem,\n"
     "e a ordem nao e' calculavel.\n",
     "Every coefficient of the algorithm is zero: so is every error coefficient,\n"
     "and the order cannot be computed.\n"},
    {"Coeficiente de erro: C[ %" PRId64 " ] = %s, o primeiro nao nulo.\n",
     "Error coefficient: C[ %" PRId64 " ] = %s, the first non-zero one.\n"},
    {"Constante de erro: nao definida, a soma dos B e' zero.\n",
     "Error constant: undefined, the sum of the B is zero.\n"},
    {"Constante de erro: %s = %s\n", "Error constant: %s = %s\n"},
    {"Ordem de consistencia exata: %" PRId64 ".\n", "Exact consistency order: %" PRId64 ".\n"},
    {"Ordem de consistencia exata: %" PRId64 " (o algoritmo nao e' consistente).\n",
     "Exact consistency order: %" PRId64 " (the algorithm is not consistent).\n"},
    {"Ordem de consistencia do ordimet (tolerancia %s): %" PRId64 ".\n",
     "Consistency order by ordimet (tolerance %s): %" PRId64 ".\n"},
    {"Ordem de consistencia do ordimet (tolerancia %s): nao calculavel.\n",
     "Consistency order by ordimet (tolerance %s): cannot be computed.\n"},
    {"A ordem do ordimet passa da exata em toda leitura dos coeficientes: os\n"
     "decimais nao identificam as fracoes; escreva-as como p/q.\n",
     "ordimet's order is above the exact one under every reading of the coefficients:\n"
     "the decimals do not identify the fractions; write them as p/q.\n"},
    // Its roots and zero-stability.
    {"rho e' identicamente nulo: nao ha' recorrencia.\n",
     "rho is identically zero: there is no recurrence.\n"},
    {"A[ k ] = 0: rho tem grau menor que k e y(n+k) nao e' determinado.\n",
     "A[ k ] = 0: rho has degree below k and y(n+k) is not determined.\n"},
    {"rho e' constante: nao tem raizes.\n", "rho is constant: it has no roots.\n"},
    {"Raizes de rho:\n", "Roots of rho:\n"},
    {", multiplicidade %d, %s\n", ", multiplicity %d, %s\n"},
    {"dentro do circulo unitario", "inside the unit circle"},
    {"sobre o circulo unitario", "on the unit circle"},
    {"fora do circulo unitario", "outside the unit circle"},
    {"O algoritmo nao e' zero-estavel.\n", "The algorithm is not zero-stable.\n"},
    {"O algoritmo nao e' zero-estavel: ha' raiz fora do circulo unitario.\n",
     "The algorithm is not zero-stable: a root lies outside the unit circle.\n"},
    {"O algoritmo nao e' zero-estavel: ha' raiz sobre o circulo com multiplicidade\n"
     "maior que m = %d.\n",
     "The algorithm is not zero-stable: a root on the circle has multiplicity\n"
     "greater than m = %d.\n"},
    {"O algoritmo e' zero-estavel, fortemente estavel.\n",
     "The algorithm is zero-stable, strongly stable.\n"},
    {"O algoritmo e' zero-estavel, fracamente estavel (raizes sobre o circulo\n"
     "alem de 1).\n",
     "The algorithm is zero-stable, weakly stable (roots on the circle other\n"
     "than 1).\n"},
    {"O algoritmo e' zero-estavel, mas nem fortemente nem fracamente estavel:\n"
     "1 nao e' raiz de rho de multiplicidade m = %d.\n",
     "The algorithm is zero-stable, but neither strongly nor weakly stable:\n"
     "1 is not a root of rho of multiplicity m = %d.\n"},
    {"O algoritmo e' convergente (consistente e zero-estavel).\n",
     "The algorithm is convergent (consistent and zero-stable).\n"},
    {"O algoritmo nao e' convergente.\n", "The algorithm is not convergent.\n"},
    // Its linear stability: y' = f.
    {"Estabilidade absoluta em y' = lambda y, z = h lambda:\n",
     "Absolute stability on y' = lambda y, z = h lambda:\n"},
    {"  nao se aplica: rho e' nulo.\n", "  does not apply: rho is zero.\n"},
    {"  nao calculado (passo acima de %d ou coeficientes grandes demais).\n",
     "  not computed (step above %d or coefficients too large).\n"},
    {"  intervalo real de estabilidade: (-a, 0), a = %s.\n",
     "  real stability interval: (-a, 0), a = %s.\n"},
    {"  intervalo real de estabilidade: nenhum.\n", "  real stability interval: none.\n"},
    {"  intervalo real de estabilidade: (-inf, 0).\n", "  real stability interval: (-inf, 0).\n"},
    {"  A-estavel: sim.\n", "  A-stable: yes.\n"},
    {"  A-estavel: nao.\n", "  A-stable: no.\n"},
    {"  A(alfa)-estavel com alfa = %.2f graus.\n",
     "  A(alpha)-stable with alpha = %.2f degrees.\n"},
    {"  A(alfa)-estavel: para nenhum alfa > 0.\n", "  A(alpha)-stable: for no alpha > 0.\n"},
    // y'' = f.
    {"Periodicidade em y'' = -omega^2 y, H = h omega:\n",
     "Periodicity on y'' = -omega^2 y, H = h omega:\n"},
    {"  nao se aplica: 1 nao e' raiz dupla de rho, ou sigma(1) = 0.\n",
     "  does not apply: 1 is not a double root of rho, or sigma(1) = 0.\n"},
    {"intervalo de periodicidade", "interval of periodicity"},
    {"intervalo de estabilidade absoluta", "interval of absolute stability"},
    {"  %s: nenhum.\n", "  %s: none.\n"},
    {"  %s: H^2 em (0, inf).\n", "  %s: H^2 in (0, inf).\n"},
    {"  %s: H^2 em (0, %s).\n", "  %s: H^2 in (0, %s).\n"},
    {"  P-estavel: sim.\n", "  P-stable: yes.\n"},
    {"  P-estavel: nao.\n", "  P-stable: no.\n"},
    {"  atraso de fase: ordem %d, constante %s = %.6g.\n",
     "  phase lag: order %d, constant %s = %.6g.\n"},
    {"  atraso de fase: nulo ate' a ordem %d.\n", "  phase lag: zero up to order %d.\n"},
    {"  atraso de fase: nao calculado, o algoritmo nao e' consistente\n"
     "  (rho''(1) diferente de 2 sigma(1)).\n",
     "  phase lag: not computed, the algorithm is not consistent\n"
     "  (rho''(1) differs from 2 sigma(1)).\n"},
    // The errors measured by --converge (an algorithm's, then the method's).
    {"Convergencia medida por integracao, com valores iniciais exatos (erro: o maior\n"
     "|y_n - y(x_n)| na malha):\n",
     "Convergence measured by integration from exact starting values (error: the largest\n"
     "|y_n - y(x_n)| on the grid):\n"},
    {"    %-12s %-14s %s\n", "    %-12s %-14s %s\n"},
    {"h", "h"},
    {"erro", "error"},
    {"ordem observada", "observed order"},
    {"    ordem medida: %s\n", "    measured order: %s\n"},
    {"A ordem medida, %s, difere da ordem de convergencia, %" PRId64 ", em mais de %.1f.\n",
     "The measured order, %s, differs from the convergence order, %" PRId64
     ", by more than %.1f.\n"},
    // The method.
    {"\nMetodo\n", "\nMethod\n"},
    {"Matriz aumentada de dimensao %d, acima de %d: o aumento da consistencia\n"
     "nao e' calculado.\n",
     "Augmented matrix of dimension %d, above %d: the raise of the consistency\n"
     "is not computed.\n"},
    {"Matriz aumentada de dimensao %d: posto exato %d.\n",
     "Augmented matrix of dimension %d: exact rank %d.\n"},
    {"A consistencia real do metodo e' maior!\n",
     "The method's actual consistency order is higher!\n"},
    {"A ordem do metodo pelo teste do posto (como o ordimet a define) e' %" PRId64 ".\n",
     "The order of the method by the rank test (as ordimet defines it) is %" PRId64 ".\n"},
    {"A ordem do metodo pelo teste do posto (como o ordimet a define) e' %" PRId64
     ": o metodo nao e' consistente.\n",
     "The order of the method by the rank test (as ordimet defines it) is %" PRId64
     ": the method is not consistent.\n"},
    {"A ordem de consistencia exata do metodo e' %" PRId64 ".\n",
     "The exact consistency order of the method is %" PRId64 ".\n"},
    {"A ordem de consistencia exata do metodo e' %" PRId64 ": o metodo nao e' consistente.\n",
     "The exact consistency order of the method is %" PRId64 ": the method is not consistent.\n"},
    {"A ordem do metodo pelo teste do posto nao e' calculavel.\n",
     "The order of the method by the rank test cannot be computed.\n"},
    {"A ordem de consistencia exata do metodo nao e' calculavel.\n",
     "The exact consistency order of the method cannot be computed.\n"},
    {"A ordem do metodo pelo ordimet (tolerancia %s) e' %" PRId64 ".\n",
     "The order of the method by ordimet (tolerance %s) is %" PRId64 ".\n"},
    {"A ordem do metodo pelo ordimet (tolerancia %s) nao e' calculavel.\n",
     "The order of the method by ordimet (tolerance %s) cannot be computed.\n"},
    // The cycle of a cyclic method.
    {"Ciclo: matriz de amplificacao, o produto das matrizes companheiras dos\n"
     "algoritmos em h = 0, na ordem em que sao aplicados.\n",
     "Cycle: amplification matrix, the product of the companion matrices of the\n"
     "algorithms at h = 0, in the order in which they are applied.\n"},
    {"O algoritmo %d tem A[ k ] = 0 e nao tem matriz companheira.\n",
     "Algorithm %d has A[ k ] = 0 and no companion matrix.\n"},
    {"O ciclo passa dos limites da analise exata (passo e coeficientes grandes\n"
     "demais): a sua estabilidade nao e' decidida.\n",
     "The cycle is beyond the limits of the exact analysis (step and coefficients too\n"
     "large): its stability is not decided.\n"},
    {"A estabilidade do ciclo nao e' decidida.\n", "The stability of the cycle is not decided.\n"},
    {"Autovalores:\n", "Eigenvalues:\n"},
    {", multiplicidade %d, %s", ", multiplicity %d, %s"},
    {", semissimples", ", semisimple"},
    {", nao semissimples", ", not semisimple"},
    {"O ciclo e' zero-estavel.\n", "The cycle is zero-stable.\n"},
    {"O ciclo nao e' zero-estavel.\n", "The cycle is not zero-stable.\n"},
    // The method's zero-stability and convergence.
    {"O metodo e' zero-estavel: todos os algoritmos o sao.\n",
     "The method is zero-stable: every algorithm is.\n"},
    {"O metodo nao e' zero-estavel: nem todos os algoritmos o sao.\n",
     "The method is not zero-stable: not every algorithm is.\n"},
    {"O metodo e' zero-estavel.\n", "The method is zero-stable.\n"},
    {"O metodo nao e' zero-estavel.\n", "The method is not zero-stable.\n"},
    {"Ordem de convergencia: nenhuma, o metodo nao e' zero-estavel.\n",
     "Convergence order: none, the method is not zero-stable.\n"},
    {"Ordem de convergencia: nao decidida, a estabilidade do ciclo nao e' decidida.\n",
     "Convergence order: not decided, the stability of the cycle is not decided.\n"},
    {"Ordem de convergencia: nenhuma, um algoritmo nao tem ordem.\n",
     "Convergence order: none, an algorithm has no order.\n"},
    {"Ordem de convergencia (do erro global): %" PRId64 ".\n",
     "Convergence order (of the global error): %" PRId64 ".\n"},
    {"A ordem de convergencia e' menor que a do teste do posto: os erros locais\n"
     "principais dos algoritmos, levados ao fim do ciclo, nao se anulam no\n"
     "autoespaco do autovalor 1 da matriz do ciclo, e acumulam-se.\n",
     "The convergence order is below the rank test's: the principal local errors of\n"
     "the algorithms, carried to the end of the cycle, do not cancel in the\n"
     "eigenspace of the eigenvalue 1 of the cycle's matrix, and they accumulate.\n"},
    {"A ordem de convergencia e' maior que a do teste do posto: os erros locais\n"
     "principais dos algoritmos, levados ao fim do ciclo, se anulam no autoespaco\n"
     "do autovalor 1 da matriz do ciclo, e nao se acumulam.\n",
     "The convergence order is above the rank test's: the principal local errors of\n"
     "the algorithms, carried to the end of the cycle, cancel in the eigenspace\n"
     "of the eigenvalue 1 of the cycle's matrix, and do not accumulate.\n"},
    {"O metodo e' convergente.\n", "The method is convergent.\n"},
    {"O metodo nao e' convergente.\n", "The method is not convergent.\n"},
    // ordimet's exponential test.
    {"Teste da exponencial do ordimet: nao feito\n"
     "(o ordimet nao o faz em metodos compostos).\n",
     "ordimet's exponential test: not run\n"
     "(ordimet does not run it on composite methods).\n"},
    {"Teste da exponencial do ordimet: nao feito\n"
     "(o ordimet so' o faz quando a sua ordem e' positiva).\n",
     "ordimet's exponential test: not run\n"
     "(ordimet runs it only when its order is positive).\n"},
    {"Teste da exponencial do ordimet: nao feito\n"
     "(o ordimet nao monta a matriz aumentada, e sem ela nao faz o teste).\n",
     "ordimet's exponential test: not run\n"
     "(ordimet does not build the augmented matrix, and without it makes no test).\n"},
    {"Teste da exponencial do ordimet: nao feito (faltou memoria).\n",
     "ordimet's exponential test: not run (out of memory).\n"},
    {"Teste da exponencial do ordimet (grau de Taylor %d):\n",
     "ordimet's exponential test (Taylor degree %d):\n"},
    {"y( 1 ) = %s para h = 0.1\n", "y( 1 ) = %s for h = 0.1\n"},
    {"y( 1 ) = %s para h = 0.01\n", "y( 1 ) = %s for h = 0.01\n"},
    {"exp( 1 ) = %s\n", "exp( 1 ) = %s\n"},
    {"O teste convergiu.\n", "The test converged.\n"},
    {"O teste divergiu.\n", "The test diverged.\n"},
    {"O teste discorda da condicao das raizes.\n", "The test disagrees with the root condition.\n"},
    {"Os dois erros estao no nivel do arredondamento, e compara-los nao decide nada.\n",
     "Both errors are at the level of rounding, and comparing them decides nothing.\n"},
    {"O metodo e' so' fracamente estavel: uma raiz de modulo 1 alem de 1 sai do\n"
     "circulo para h > 0 e faz o erro crescer.\n",
     "The method is only weakly stable: a root of modulus 1 other than 1 leaves the\n"
     "circle for h > 0 and makes the error grow.\n"},
    {"O teste so' compara dois passos, 0.1 e 0.01, e isso nao decide a estabilidade.\n",
     "The test only compares two steps, 0.1 and 0.01, and that does not decide stability.\n"},
    {"Ha' uma raiz parasita fora do circulo unitario que o teste nao alcancou nos\n"
     "seus poucos passos.\n",
     "A spurious root lies outside the unit circle, and the test did not reach it in\n"
     "its few steps.\n"},
    {"O que falha e' uma raiz sobre o circulo com multiplicidade grande demais, e o\n"
     "seu crescimento lento nao aparece nos poucos passos do teste.\n",
     "What fails is a root on the circle whose multiplicity is too high, and its slow\n"
     "growth does not show in the few steps of the test.\n"},
    // Messages on standard error.
    {"Arquivo: %s\n", "File: %s\n"},
    {"ordimet-analyse: a figura %s nao foi escrita: o nome existe e nao e' um arquivo "
     "comum.\n",
     "ordimet-analyse: the picture %s was not written: the name exists and is not a "
     "regular file.\n"},
    {"ordimet-analyse: erro ao escrever a figura %s.\n",
     "ordimet-analyse: error writing the picture %s.\n"},
    {"ordimet-analyse: --plot: nao foi possivel abrir o diretorio %s.\n",
     "ordimet-analyse: --plot: could not open the directory %s.\n"},
    {"ordimet-analyse: erro ao ler a entrada padrao.\n",
     "ordimet-analyse: error reading the standard input.\n"},
    // --latex: the table's header, its words and the method's order.
    {" arquivo & k & ordem & constante de erro & estabilidade-zero & estabilidade linear",
     " file & k & order & error constant & zero-stability & linear stability"},
    {"nao zero-estavel", "not zero-stable"},
    {"fortemente estavel", "strongly stable"},
    {"fracamente estavel", "weakly stable"},
    {"Coeficiente SSP (fator de limiar): %s.\n", "SSP coefficient (threshold factor): %s.\n"},
    {"nenhum $\\alpha > 0$", "no $\\alpha > 0$"},
    {"%% %s: ordem medida %s\n", "%% %s: measured order %s\n"},
    {"%% ordem de convergencia do metodo: %" PRId64 "\n",
     "%% convergence order of the method: %" PRId64 "\n"},
    {"ordimet-analyse: erro ao escrever a saida.\n",
     "ordimet-analyse: error writing the output.\n"},

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

    // ordimet-design: the help, the messages of its command line, the
    // methods that can't be made and the order reached.
    {"Uso:\n"
     "  ordimet-design [OPCOES] FAMILIA K\n"
     "  ordimet-design [OPCOES] from-rho \"A0 A1 ... Ak\"\n"
     "  ordimet-design [OPCOES] from-sigma \"B0 B1 ... Bk\"\n"
     "  ordimet-design search [OPCOES DA BUSCA]\n",
     "Usage:\n"
     "  ordimet-design [OPTIONS] FAMILY K\n"
     "  ordimet-design [OPTIONS] from-rho \"A0 A1 ... Ak\"\n"
     "  ordimet-design [OPTIONS] from-sigma \"B0 B1 ... Bk\"\n"
     "  ordimet-design search [SEARCH OPTIONS]\n"},
    {"Metodos lineares de passo multiplo exatos para y^(m) = f(x, y): uma familia\n"
     "pelo nome e o passo K (adams-bashforth, adams-moulton, bdf, nystrom,\n"
     "milne-simpson, stormer, cowell, symmetric), ou o de ordem maxima para rho\n"
     "(from-rho) ou sigma (from-sigma) dados.\n",
     "Exact linear multistep methods for y^(m) = f(x, y): a family by its name\n"
     "and the step K (adams-bashforth, adams-moulton, bdf, nystrom,\n"
     "milne-simpson, stormer, cowell, symmetric), or the one of the highest order\n"
     "for a given rho (from-rho) or sigma (from-sigma).\n"},
    {"O arquivo do metodo vai para a saida padrao (ou --output); a ordem e a\n"
     "constante de erro, para a saida de erro (ou, com --json, no JSON).\n"
     "Codigo de saida: 0 quando o metodo foi feito, 1 quando ele nao existe ou\n"
     "nao pode ser escrito, 2 para uma linha de comando invalida.\n",
     "The method file goes to standard output (or --output); the order and the\n"
     "error constant to standard error (or, with --json, into the JSON).\n"
     "Exit status: 0 when the method was made, 1 when there is no such method or\n"
     "it can't be written, 2 for a wrong command line.\n"},
    {"Opcoes", "Options"},
    {"Argumentos", "Arguments"},
    {"TEXTO", "TEXT"},
    {"COEFICIENTES", "COEFFICIENTS"},
    {"RAIZES", "ROOTS"},
    {"ARQUIVO", "FILE"},
    {"LINGUA", "LANGUAGE"},
    {"mostra esta ajuda e termina", "show this help and exit"},
    {"mostra a versao e termina", "show the version and exit"},
    {"a ordem m de y^(m) = f (stormer, cowell, from-rho, from-sigma)",
     "the order m of y^(m) = f (stormer, cowell, from-rho, from-sigma)"},
    {"symmetric: os coeficientes A0 ... Ak de rho", "symmetric: the coefficients A0 ... Ak of rho"},
    {"rho (sigma com from-sigma) pelas raizes: r ou (re,mod2)",
     "rho (sigma with from-sigma) by its roots: r or (re,mod2)"},
    {"symmetric: B[0] = B[K] = 0; from-rho: B[k] = 0",
     "symmetric: B[0] = B[K] = 0; from-rho: B[k] = 0"},
    {"coeficientes em decimais de 17 algarismos, nao fracoes",
     "coefficients as decimals of 17 digits, not fractions"},
    {"resultados em JSON na saida padrao", "results as JSON on standard output"},
    {"escreve o metodo no arquivo ARQUIVO", "write the method into the file FILE"},
    {"com --output, substitui um arquivo que existe", "with --output, replace a file that exists"},
    {"lingua das mensagens: pt ou en", "language of the messages: pt or en"},
    {"a familia e K, ou from-rho/from-sigma e os coeficientes",
     "the family and K, or from-rho/from-sigma and the coefficients"},
    {"erro ao escrever a saida.\n", "error writing the output.\n"},
    {"--rho vai so' com symmetric (from-rho recebe os coeficientes).\n",
     "--rho goes with symmetric only (from-rho takes the coefficients).\n"},
    {"--roots vai com symmetric, from-rho e from-sigma.\n",
     "--roots goes with symmetric, from-rho and from-sigma.\n"},
    {"--explicit vai com symmetric e from-rho.\n",
     "--explicit goes with symmetric and from-rho.\n"},
    {"--force vai com --output.\n", "--force goes with --output.\n"},
    {"--output precisa de um nome de arquivo.\n", "--output needs a file name.\n"},
    {"--m deve ser um inteiro de 1 a %d: %s.\n", "--m must be a whole number from 1 to %d: %s.\n"},
    {"%s e' para m = %d.\n", "%s is for m = %d.\n"},
    {"o passo K deve ser um inteiro: %s.\n", "the step K must be a whole number: %s.\n"},
    {"%s: K deve estar entre %d e %d.\n", "%s: K must be between %d and %d.\n"},
    {"%s: K deve ser par.\n", "%s: K must be even.\n"},
    {"raiz ilegivel: %s.\n", "unreadable root: %s.\n"},
    {"par de raizes ilegivel: %s (escreva (re,mod2) com re^2 < mod2).\n",
     "unreadable pair of roots: %s (write (re,mod2) with re^2 < mod2).\n"},
    {"ARGUMENTOS", "ARGUMENTS"},
    {"coeficiente ilegivel: %s.\n", "unreadable coefficient: %s.\n"},
    {"symmetric precisa de --rho ou de --roots (um dos dois).\n",
     "symmetric needs --rho or --roots (one of them).\n"},
    {"symmetric: rho tem grau %ld; K = %d pede grau %d.\n",
     "symmetric: rho has degree %ld; K = %d asks for degree %d.\n"},
    {"argumentos demais: %s (os coeficientes vao entre aspas, num so' argumento).\n",
     "too many arguments: %s (the coefficients go in quotes, as one argument).\n"},
    {"%s precisa dos coeficientes ou de --roots (um dos dois).\n",
     "%s needs the coefficients or --roots (one of them).\n"},
    {"%s: o polinomio esta' vazio.\n", "%s: the polynomial is empty.\n"},
    {"%s: o passo k (o grau como escrito) deve estar entre 1 e %d; e' %ld.\n",
     "%s: the step k (the degree as written) must be between 1 and %d; it is %ld.\n"},
    {"falta a familia (ou from-rho, from-sigma ou search).\n",
     "the family (or from-rho, from-sigma or search) is missing.\n"},
    {"familia desconhecida: %s.\n", "unknown family: %s.\n"},
    {"search vem antes de tudo: ordimet-design search [OPCOES DA BUSCA].\n",
     "search comes first: ordimet-design search [SEARCH OPTIONS].\n"},
    {"%s: falta o passo K.\n", "%s: the step K is missing.\n"},
    {"argumentos demais: %s.\n", "too many arguments: %s.\n"},
    {"linha de comando invalida: %s\n", "wrong command line: %s\n"},
    {"--lang: %s nao e' pt nem en.\n", "--lang: %s is neither pt nor en.\n"},
    {"rho nao tem a raiz 1 com multiplicidade %d: nenhum sigma da' ordem 1.\n",
     "rho lacks the root 1 of multiplicity %d: no sigma gives order 1.\n"},
    {"as condicoes de ordem nao determinam um unico metodo de ordem maxima.\n",
     "the order conditions determine no single method of the highest order.\n"},
    {"o metodo de ordem maxima tem ordem %lld: nao chega 'a ordem 1.\n",
     "the method of the highest order has order %lld: it doesn't reach order 1.\n"},
    {"o metodo de ordem maxima tem sigma(1) = 0: nao tem constante de erro.\n",
     "the method of the highest order has sigma(1) = 0: it has no error constant.\n"},
    {"o polinomio dado e' nulo.\n", "the polynomial given is zero.\n"},
    {"rho nao e' simetrico: A[j] deve ser igual a A[k-j].\n",
     "rho is not symmetric: A[j] must equal A[k-j].\n"},
    {"A[k] = 0: rho deve ter grau k.\n", "A[k] = 0: rho must have degree k.\n"},
    {"rho deve ter todas as raizes sobre o circulo unitario, nenhuma de multiplicidade maior "
     "que 2.\n",
     "rho must have every root on the unit circle, none of multiplicity above 2.\n"},
    {"o calculo exato passa dos limites das analises.\n",
     "the exact computation goes beyond the limits of the analyses.\n"},
    {"um coeficiente nao cabe num double (ou se arredonda a 0); escreva sem --decimals.\n",
     "a coefficient doesn't fit a double (or rounds to 0); write it without --decimals.\n"},
    {"%s ja' existe; --force o substitui.\n", "%s exists already; --force replaces it.\n"},
    {"%s existe e nao e' um arquivo comum; nada foi escrito.\n",
     "%s exists and is not a regular file; nothing was written.\n"},
    {"nao foi possivel escrever %s.\n", "%s could not be written.\n"},
    {"ordem %lld, constante de erro %s = %s\n", "order %lld, error constant %s = %s\n"},

    // ordimet-analyse: its help and the messages of its command line.
    {"Uso:\n"
     "  ordimet-analyse [OPCOES] SI ARQUIVO\n"
     "  ordimet-analyse [OPCOES] CO ARQUIVO1 ARQUIVO2 [ARQUIVO3 ...]\n"
     "  ordimet-analyse [OPCOES] CI ARQUIVO1 ARQUIVO2 [ARQUIVO3 ...]\n"
     "  ordimet-analyse [OPCOES] --each ARQUIVO [ARQUIVO ...]\n",
     "Usage:\n"
     "  ordimet-analyse [OPTIONS] SI FILE\n"
     "  ordimet-analyse [OPTIONS] CO FILE1 FILE2 [FILE3 ...]\n"
     "  ordimet-analyse [OPTIONS] CI FILE1 FILE2 [FILE3 ...]\n"
     "  ordimet-analyse [OPTIONS] --each FILE [FILE ...]\n"},
    {"Ordens exatas, condicao das raizes certificada e resultados legiveis por\n"
     "programas para metodos lineares de passo multiplo de y^(m) = f(x, y).\n"
     "SI: metodo simples (um arquivo); CO: composto; CI: ciclico (dois ou mais\n"
     "arquivos, m = 1).\n",
     "Exact orders, a certified root condition and results that programs can\n"
     "read for linear multistep methods of y^(m) = f(x, y).\n"
     "SI: simple method (one file); CO: composite; CI: cyclic (two or more\n"
     "files, m = 1).\n"},
    {"Codigo de saida: 0 quando todos os arquivos foram analisados, 1 quando um\n"
     "arquivo nao pode ser lido ou nao e' um arquivo de metodo valido, ou uma\n"
     "figura ou a saida nao pode ser escrita, 2 para uma linha de comando\n"
     "invalida. SIGINT, SIGTERM e SIGHUP param um lote entre dois metodos.\n",
     "Exit status: 0 when every file was analysed, 1 when a file can't be read\n"
     "or is not a valid method file, or a picture or the output can't be\n"
     "written, 2 for a wrong command line. SIGINT, SIGTERM and SIGHUP stop a\n"
     "batch between two methods.\n"},
    {"resultados em JSON (com --each, um objeto por linha)",
     "results as JSON (with --each, one object a line)"},
    {"o metodo em LaTeX: cada algoritmo como equacao e linha de tabela",
     "the method in LaTeX: each algorithm as an equation and a table row"},
    {"cada arquivo e' um metodo simples por si", "each file is a simple method of its own"},
    {"com --each, tambem a estabilidade linear", "with --each, the linear stability too"},
    {"integra o metodo nos seus problemas de teste e mede a ordem",
     "integrate the method on its test problems and measure the order"},
    {"lingua dos relatorios e figuras: pt ou en", "language of the reports and pictures: pt or en"},
    {"figuras SVG no diretorio DIR, criado se faltar",
     "SVG pictures in the folder DIR, made if missing"},
    {"a parte do plano da figura principal: XMIN,XMAX,YMIN,YMAX",
     "the part of the plane in the main picture: XMIN,XMAX,YMIN,YMAX"},
    {"o tamanho das figuras em pixels: LxA", "the size of the pictures in pixels: WxH"},
    {"SI, CO ou CI e os arquivos; com --each, so' os arquivos",
     "SI, CO or CI and the files; with --each, the files alone"},
    {"JANELA", "WINDOW"},
    {"TAMANHO", "SIZE"},
    {"--each precisa de pelo menos um arquivo.", "--each needs at least one file."},
    {"falta o tipo do metodo (SI, CO ou CI).", "the kind of method (SI, CO or CI) is missing."},
    {"tipo de metodo desconhecido: %s (SI, CO ou CI).",
     "unknown kind of method: %s (SI, CO or CI)."},
    {"SI precisa de exatamente um arquivo.", "SI needs exactly one file."},
    {"%s precisa de pelo menos dois arquivos.", "%s needs at least two files."},
    {"--plot: %s existe e nao e' um diretorio.", "--plot: %s exists and is not a folder."},
    {"--plot: nao foi possivel criar o diretorio %s.", "--plot: the folder %s could not be made."},
    {"--plot precisa de um diretorio.", "--plot needs a folder."},
    {"--json e --latex nao vao juntos.", "--json and --latex don't go together."},
    {"--plot-window e --plot-size vao com --plot.",
     "--plot-window and --plot-size go with --plot."},
    {"--plot-window: %s nao e' XMIN,XMAX,YMIN,YMAX.",
     "--plot-window: %s is not XMIN,XMAX,YMIN,YMAX."},
    {"--plot-size: %s nao e' LARGURAxALTURA (100 a 10000).",
     "--plot-size: %s is not WIDTHxHEIGHT (100 to 10000)."},
    {"linha de comando invalida: %s", "wrong command line: %s"},
    // ordimet-design search: its help and the messages of its command line.
    {"--decimals vai com --output.", "--decimals goes with --output."},
    {"Uso:\n"
     "  ordimet-design search K --order P --range LO,HI --grid PASSO [OPCOES]\n",
     "Usage:\n"
     "  ordimet-design search K --order P --range LO,HI --grid STEP [OPTIONS]\n"},
    {"Procura, entre os metodos de passo K e ordem P ou mais cujos coeficientes\n"
     "livres percorrem uma grade racional, os melhores por um objetivo, com\n"
     "restricoes; os valores mostrados sao certificados pelas analises exatas.\n",
     "Searches the methods of step K and order P or more whose free coefficients\n"
     "run over a rational grid for the best ones by an objective, under\n"
     "constraints; the values shown are certified by the exact analyses.\n"},
    {"Objetivos: real-interval, alpha, ssp (m = 1), error-constant (todo m),\n"
     "periodicity, absolute-stability, phase-lag (m = 2).\n"
     "Codigo de saida: 0 quando ha metodos, 1 quando nenhum metodo satisfaz as\n"
     "restricoes (ou as condicoes sao contraditorias, ou a saida nao pode ser\n"
     "escrita), 2 para uma linha de comando invalida. SIGINT, SIGTERM ou SIGHUP\n"
     "encerram a busca: os melhores candidatos examinados ate' ali sao\n"
     "certificados e mostrados, e o processo termina pelo sinal (130 para SIGINT\n"
     "no shell).\n",
     "Objectives: real-interval, alpha, ssp (m = 1), error-constant (every m),\n"
     "periodicity, absolute-stability, phase-lag (m = 2).\n"
     "Exit status: 0 when there are methods, 1 when no method meets the\n"
     "constraints (or the conditions contradict each other, or the output can't\n"
     "be written), 2 for a wrong command line. SIGINT, SIGTERM or SIGHUP end the\n"
     "search: the best candidates examined until then are certified and shown,\n"
     "and the process ends by the signal (130 for SIGINT in a shell).\n"},
    {"INTEIRO", "INT"},
    {"OBRIGATORIO", "REQUIRED"},
    {"o passo k dos metodos (1 a 16)", "the step k of the methods (1 to 16)"},
    {"a ordem m da equacao y^(m) = f (1 a 4; 1 sem ela)",
     "the order m of the equation y^(m) = f (1 to 4; 1 without it)"},
    {"a ordem P que os metodos alcancam, pelo menos", "the order P the methods reach, at least"},
    {"o polinomio da grade: rho (sem ela) ou sigma",
     "the polynomial on the grid: rho (without it) or sigma"},
    {"o intervalo LO,HI dos coeficientes (racionais)",
     "the interval LO,HI of the coefficients (rationals)"},
    {"o passo da grade, racional, que divide HI - LO",
     "the step of the grid, a rational that divides HI - LO"},
    {"so' metodos explicitos", "explicit methods only"},
    {"so' metodos simetricos", "symmetric methods only"},
    {"coeficientes nulos, como B0,B8", "coefficients that are zero, as B0,B8"},
    {"zero-estavel (sem --no-zero-stable)", "zero-stable (without --no-zero-stable)"},
    {"tambem metodos nao zero-estaveis", "methods that are not zero-stable too"},
    {"A-estavel (m = 1)", "A-stable (m = 1)"},
    {"P-estavel (m = 2)", "P-stable (m = 2)"},
    {"rho e sigma sem fator comum", "rho and sigma without a common factor"},
    {"o objetivo (error-constant sem ela)", "the objective (error-constant without it)"},
    {"quantos metodos mostrar (1 a 1000; 10 sem ela)",
     "how many methods to show (1 to 1000; 10 without it)"},
    {"threads da triagem (1 a 64; 1 sem ela)", "threads of the screening (1 to 64; 1 without it)"},
    {"os arquivos dos metodos no diretorio DIR", "the methods' files in the folder DIR"},
    {"arquivos com decimais de 17 algarismos", "files with decimals of 17 digits"},
    {"resultados em JSON, um objeto por linha", "results as JSON, one object a line"},
    {"lingua do relatorio: pt ou en", "language of the report: pt or en"},
    {"falta %s.", "%s is missing."},
    {"argumento nao esperado: %s.", "unexpected argument: %s."},
    {"falta o valor de %s.", "the value of %s is missing."},
    {"valor que nao e' um inteiro: %s.", "a value that is not an integer: %s."},
    {"erro ao escrever a saida.", "error writing the output."},
    {"%s %d fora de %d a %d.", "%s %d outside %d to %d."},
    {"--range: %s nao e' LO,HI com dois racionais (como -1,1 ou -1/2,3/4).",
     "--range: %s is not LO,HI with two rationals (as -1,1 or -1/2,3/4)."},
    {"--grid: %s nao e' um racional (como 1/4 ou 0.25).",
     "--grid: %s is not a rational (as 1/4 or 0.25)."},
    {"--range: LO = %s e' maior que HI = %s: a grade nao tem pontos.",
     "--range: LO = %s is greater than HI = %s: the grid has no points."},
    {"--grid: o passo %s nao e' positivo.", "--grid: the step %s is not positive."},
    {"--grid: o passo %s nao divide HI - LO = %s.",
     "--grid: the step %s does not divide HI - LO = %s."},
    {"--zero-stable e --no-zero-stable se contradizem.",
     "--zero-stable and --no-zero-stable contradict each other."},
    {"--vary: %s nao e' rho nem sigma.", "--vary: %s is neither rho nor sigma."},
    {"--zero: %s nao e' um coeficiente A0 .. A%d, B0 .. B%d.",
     "--zero: %s is not a coefficient A0 .. A%d, B0 .. B%d."},
    {"--a-stable vale para m = 1.", "--a-stable is for m = 1."},
    {"--p-stable vale para m = 2.", "--p-stable is for m = 2."},
    {"--objective: %s nao e' um objetivo (veja --help).",
     "--objective: %s is not an objective (see --help)."},
    {"--objective %s pede m = 1 e --explicit.", "--objective %s needs m = 1 and --explicit."},
    {"--objective %s nao vale para m = %d.", "--objective %s is not for m = %d."},
    {"as condicoes sao contraditorias: nenhum metodo de passo %d e ordem %d ou mais as "
     "satisfaz.",
     "the conditions contradict each other: no method of step %d and order %d or more meets "
     "them."},
    {"a grade passa de 10000000000 pontos: escolha um passo maior, um intervalo menor ou menos "
     "coeficientes livres.",
     "the grid has more than 10000000000 points: choose a larger step, a smaller interval or "
     "fewer free coefficients."},
    {"os coeficientes da grade sobre um denominador comum passam de 2^40: escolha um passo ou um "
     "intervalo mais simples.",
     "the grid's coefficients over a common denominator pass 2^40: choose a simpler step or "
     "interval."},
    {"--output precisa de um diretorio.", "--output needs a folder."},
    {"nao foi possivel escrever o arquivo %s.", "the file %s could not be written."},
    {"nao foi possivel criar o diretorio %s.", "the folder %s could not be made."},
    {"nao foi possivel examinar %s.", "%s could not be examined."},
    {"%s existe e nao e' um diretorio.", "%s exists and is not a folder."},
    {"nao foi possivel ler o diretorio %s.", "the folder %s could not be read."},
    {"o diretorio %s nao esta' vazio.", "the folder %s is not empty."},
    // ordimet-design search: its report and its progress on standard error.
    {"\rbusca [%s] %3d%% (%llu de %llu pontos)", "\rsearch [%s] %3d%% (%llu of %llu points)"},
    {"Espaco: k = %d, m = %d, A[%d] = 1, ordem %d ou mais",
     "Space: k = %d, m = %d, A[%d] = 1, order %d or more"},
    {", explicito", ", explicit"},
    {", simetrico", ", symmetric"},
    {"Grade de %s: de %s a %s, passo %s.\n", "Grid of %s: from %s to %s, step %s.\n"},
    {"Nenhum coeficiente livre: o espaco tem um so' metodo.\n",
     "No free coefficient: the space has a single method.\n"},
    {"Coeficientes livres na grade: %s.\n", "Free coefficients on the grid: %s.\n"},
    {"De %s, livres porque as condicoes nao os determinam: %s.\n",
     "Of %s, free because the conditions leave them undetermined: %s.\n"},
    {"Determinados pelos livres, tambem no intervalo: %s.\n",
     "Determined by the free ones, also within the range: %s.\n"},
    {"o intervalo real de estabilidade (-a, 0), a maior",
     "the real stability interval (-a, 0), largest a"},
    {"o angulo alfa da A(alfa)-estabilidade, o maior",
     "the angle alpha of A(alpha)-stability, largest"},
    {"|constante de erro| na ordem pedida, a menor",
     "|error constant| at the order asked for, smallest"},
    {"o coeficiente SSP, o maior", "the SSP coefficient, largest"},
    {"o intervalo de periodicidade (0, Hp^2), Hp^2 maior",
     "the interval of periodicity (0, Hp^2), largest Hp^2"},
    {"o intervalo de estabilidade absoluta (0, Ha^2), Ha^2 maior",
     "the interval of absolute stability (0, Ha^2), largest Ha^2"},
    {"o atraso de fase, de ordem maior e depois de |constante| menor",
     "the phase lag, of highest order, then of smallest |constant|"},
    {"zero-estavel", "zero-stable"},
    {"irredutivel", "irreducible"},
    {"A-estavel", "A-stable"},
    {"P-estavel", "P-stable"},
    {"Restricoes: nenhuma.\n", "Constraints: none.\n"},
    {"Restricoes: %s.\n", "Constraints: %s.\n"},
    {"Objetivo: %s.\n", "Objective: %s.\n"},
    {"Pontos da grade: %llu; candidatos (determinados no intervalo): %llu.\n",
     "Grid points: %llu; candidates (determined coefficients within the range): %llu.\n"},
    {"Busca interrompida: %llu de %llu pontos examinados.\n",
     "Search interrupted: %llu of %llu points examined.\n"},
    {"%llu nao zero-estaveis", "%llu not zero-stable"},
    {"%llu redutiveis", "%llu reducible"},
    {"%llu nao A-estaveis", "%llu not A-stable"},
    {"%llu nao P-estaveis", "%llu not P-stable"},
    {"Descartados com certeza: nenhum.\n", "Dropped with certainty: none.\n"},
    {"Descartados com certeza: %s.\n", "Dropped with certainty: %s.\n"},
    {"Mantidos pela triagem: %llu; certificados: %llu.\n",
     "Kept by the screening: %llu; certified: %llu.\n"},
    {"Nao decididos pelas analises exatas: %llu.\n", "Undecided by the exact analyses: %llu.\n"},
    {"alfa", "alpha"},
    {"atraso de fase", "phase lag"},
    {"ordem", "order"},
    {"constante de erro", "error constant"},
    {"sem intervalo", "no interval"},
    {"nulo ate' a ordem %d", "zero up to order %d"},
    {"ordem %d, %s", "order %d, %s"},
    {"Nenhum metodo encontrado antes da interrupcao.\n",
     "No method found before the interruption.\n"},
    {"Nenhum ponto da grade e' candidato: os coeficientes determinados saem do intervalo.\n",
     "No grid point is a candidate: the determined coefficients leave the range.\n"},
    {"Nenhum metodo certificado: %llu candidatos nao puderam ser decididos.\n",
     "No method certified: %llu candidates could not be decided.\n"},
    {"Nenhum metodo satisfaz as restricoes: cada candidato foi descartado com certeza.\n",
     "No method meets the constraints: every candidate was dropped with certainty.\n"},
    {"\nArquivo do metodo em %s: %s.\n", "\nFile of the method in %s: %s.\n"},
    {"\nArquivos dos metodos em %s: %s a %s.\n", "\nFiles of the methods in %s: %s to %s.\n"},
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

std::span<const Words> word_table() {
    return WORDS;
}

} // namespace ordimet::analyse
