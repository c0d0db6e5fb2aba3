// Placeholder entry point until the command line lands.
#include "analyse/rational.hpp"

#include <CLI/CLI.hpp>
#include <arb_fmpz_poly.h>
#include <cstdio>
#include <nlohmann/json.hpp>

int main(int argc, char** argv) {
    CLI::App app{"ordimet-analyse"};
    CLI11_PARSE(app, argc, argv);
    ordimet::analyse::Rational third(1, 3);
    fmpz_poly_t poly;
    fmpz_poly_init(poly);
    fmpz_poly_set_coeff_si(poly, 2, 1);
    fmpz_poly_set_coeff_si(poly, 0, -1);
    acb_ptr roots = _acb_vec_init(2);
    arb_fmpz_poly_complex_roots(roots, poly, 0, 53);
    nlohmann::json j = {{"third", third.text()}, {"roots", 2}};
    std::puts(j.dump().c_str());
    _acb_vec_clear(roots, 2);
    fmpz_poly_clear(poly);
    return 0;
}
