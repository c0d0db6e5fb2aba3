// The affine system of a search's constraints, its reduced row echelon form
// and the integer form of the grid's candidates.

#include "design/search/space.hpp"

#include "analyse/exact/flint_handles.hpp"
#include "analyse/exact/numbers.hpp"
#include "analyse/order/solve.hpp"

#include <algorithm>

namespace ordimet::design {
namespace {

using analyse::as_index;
using analyse::FmpqMatrix;
using analyse::Fmpz;

// One constraint: weights of the 2k + 2 coefficients and the value.
struct Row {
    std::vector<Rational> weights;
    Rational value;
};

Row empty_row(int n) {
    return Row{std::vector<Rational>(as_index(n)), Rational()};
}

void fix(std::vector<Row>& rows, int n, int position, long value) {
    Row row = empty_row(n);
    fmpq_one(row.weights[as_index(position)].get());
    fmpq_set_si(row.value.get(), value, 1);
    rows.push_back(std::move(row));
}

// x[a] - sign x[b] = 0.
void tie(std::vector<Row>& rows, int n, int a, int b, long sign) {
    Row row = empty_row(n);
    fmpq_one(row.weights[as_index(a)].get());
    Rational& other = row.weights[as_index(b)];
    fmpq_set_si(other.get(), -sign, 1);
    if (a == b) {
        fmpq_add_si(other.get(), other.get(), 1);
    }
    rows.push_back(std::move(row));
}

std::vector<Row> constraint_rows(const SpaceRequest& request) {
    const int k = request.k;
    const int n = 2 * k + 2;
    std::vector<Row> rows;
    fix(rows, n, k, 1); // A[k] = 1
    for (int i = 0; i < request.order + request.m; ++i) {
        Row row = empty_row(n);
        for (int p = 0; p < n; ++p) {
            analyse::order_condition_weight(i, request.m, k, p, row.weights[as_index(p)]);
        }
        rows.push_back(std::move(row));
    }
    if (request.explicit_method) {
        fix(rows, n, 2 * k + 1, 0);
    }
    if (request.symmetric) {
        // A symmetric (time-reversible) method: rho(z) = (-1)^m z^k rho(1/z)
        // and sigma(z) = z^k sigma(1/z). For m = 1 rho is antisymmetric
        // (Milne-Simpson, the leapfrog): with A[j] = A[k-j] the order
        // conditions would force sigma(1) = 0.
        const long sign = request.m % 2 == 0 ? 1 : -1;
        for (int j = 0; 2 * j <= k; ++j) {
            tie(rows, n, j, k - j, sign);
            tie(rows, n, k + 1 + j, 2 * k + 1 - j, 1);
        }
    }
    for (const int position : request.zeros) {
        fix(rows, n, position, 0);
    }
    return rows;
}

// The column of each coefficient position: the polynomial not varied
// first, then the varied one, each from its highest index down.
std::vector<int> column_order(int k, Varied varied) {
    const int first = varied == Varied::RHO ? k + 1 : 0; // the other polynomial's offset
    const int second = varied == Varied::RHO ? 0 : k + 1;
    std::vector<int> position_of_column;
    for (int j = k; j >= 0; --j) {
        position_of_column.push_back(first + j);
    }
    for (int j = k; j >= 0; --j) {
        position_of_column.push_back(second + j);
    }
    return position_of_column;
}

// The affine solution: x = point + sum_q t_q direction_q over the free
// positions q; false when the system has no solution.
struct Solution {
    std::vector<int> free_positions;
    std::vector<Rational> point;               // the t_q = 0 solution
    std::vector<std::vector<Rational>> slopes; // per free position
};

bool solve(const SpaceRequest& request, Solution& solution) {
    const int n = 2 * request.k + 2;
    const std::vector<Row> rows = constraint_rows(request);
    const std::vector<int> positions = column_order(request.k, request.varied);
    const long height = static_cast<long>(rows.size());
    FmpqMatrix matrix(height, n + 1);
    for (long r = 0; r < height; ++r) {
        for (int c = 0; c < n; ++c) {
            fmpq_set(matrix.at(r, c),
                     rows[as_index(r)].weights[as_index(positions[as_index(c)])].get());
        }
        fmpq_set(matrix.at(r, n), rows[as_index(r)].value.get());
    }
    FmpqMatrix reduced(height, n + 1);
    const long rank = fmpq_mat_rref(reduced.get(), matrix.get());
    std::vector<int> pivot_of_row;
    std::vector<bool> is_pivot(as_index(n), false);
    for (long r = 0; r < rank; ++r) {
        int c = 0;
        while (c <= n && fmpq_is_zero(reduced.at(r, c))) {
            ++c;
        }
        if (c == n) {
            return false; // 0 = 1
        }
        pivot_of_row.push_back(c);
        is_pivot[as_index(c)] = true;
    }
    std::vector<int> free_columns;
    for (int c = 0; c < n; ++c) {
        if (!is_pivot[as_index(c)]) {
            free_columns.push_back(c);
        }
    }
    std::sort(free_columns.begin(), free_columns.end(),
              [&](int a, int b) { return positions[as_index(a)] < positions[as_index(b)]; });
    solution.point.assign(as_index(n), Rational());
    solution.slopes.assign(free_columns.size(), std::vector<Rational>(as_index(n)));
    for (std::size_t q = 0; q < free_columns.size(); ++q) {
        const int position = positions[as_index(free_columns[q])];
        solution.free_positions.push_back(position);
        fmpq_one(solution.slopes[q][as_index(position)].get());
    }
    for (long r = 0; r < rank; ++r) {
        const int position = positions[as_index(pivot_of_row[as_index(r)])];
        fmpq_set(solution.point[as_index(position)].get(), reduced.at(r, n));
        for (std::size_t q = 0; q < free_columns.size(); ++q) {
            fmpq_neg(solution.slopes[q][as_index(position)].get(), reduced.at(r, free_columns[q]));
        }
    }
    return true;
}

// The grid's count of values per free coefficient and of points.
bool grid_size(const SpaceRequest& request, std::size_t parameters, Space& space) {
    Rational count;
    fmpq_sub(count.get(), request.high.get(), request.low.get());
    fmpq_div(count.get(), count.get(), request.step.get());
    // The command line has checked that the step divides the range.
    if (fmpz_cmp_ui(fmpq_numref(count.get()), MAX_GRID_POINTS) >= 0) {
        return false;
    }
    const std::uint64_t values = fmpz_get_ui(fmpq_numref(count.get())) + 1;
    space.values_per_parameter = values;
    space.grid_points = 1;
    for (std::size_t p = 0; p < parameters; ++p) {
        if (space.grid_points > MAX_GRID_POINTS / values) {
            return false;
        }
        space.grid_points *= values;
    }
    return true;
}

// x times D as a checked integer; `bound` gets its magnitude.
bool scaled(const Rational& x, const fmpz_t d, std::int64_t& out, fmpz* bound) {
    Fmpz value;
    fmpz_divexact(value.get(), d, fmpq_denref(x.get()));
    fmpz_mul(value.get(), value.get(), fmpq_numref(x.get()));
    fmpz_abs(bound, value.get());
    if (fmpz_cmp_ui(bound, static_cast<ulong>(MAX_CANDIDATE_INTEGER)) > 0) {
        return false;
    }
    out = fmpz_get_si(value.get());
    return true;
}

// The candidates' integers: D and the base and steps times D, within
// MAX_CANDIDATE_INTEGER over the whole grid.
bool integer_form(const SpaceRequest& request, const Solution& solution, Space& space) {
    const std::size_t n = solution.point.size();
    std::vector<Rational> base = solution.point;
    std::vector<std::vector<Rational>> steps = solution.slopes;
    Fmpz d;
    fmpz_one(d.get());
    for (std::size_t q = 0; q < steps.size(); ++q) {
        for (std::size_t j = 0; j < n; ++j) {
            fmpq_addmul(base[j].get(), request.low.get(), steps[q][j].get());
            fmpq_mul(steps[q][j].get(), steps[q][j].get(), request.step.get());
            fmpz_lcm(d.get(), d.get(), fmpq_denref(steps[q][j].get()));
        }
    }
    for (const Rational& x : base) {
        fmpz_lcm(d.get(), d.get(), fmpq_denref(x.get()));
    }
    if (!steps.empty()) {
        fmpz_lcm(d.get(), d.get(), fmpq_denref(request.low.get()));
        fmpz_lcm(d.get(), d.get(), fmpq_denref(request.high.get()));
    }
    if (fmpz_cmp_ui(d.get(), static_cast<ulong>(MAX_CANDIDATE_INTEGER)) > 0) {
        return false;
    }
    space.denominator = fmpz_get_si(d.get());
    space.base.assign(n, 0);
    space.steps.assign(steps.size(), std::vector<std::int64_t>(n, 0));
    const ulong last = space.values_per_parameter - 1;
    Fmpz largest;
    Fmpz magnitude;
    for (std::size_t j = 0; j < n; ++j) {
        if (!scaled(base[j], d.get(), space.base[j], largest.get())) {
            return false;
        }
        for (std::size_t q = 0; q < steps.size(); ++q) {
            if (!scaled(steps[q][j], d.get(), space.steps[q][j], magnitude.get())) {
                return false;
            }
            fmpz_addmul_ui(largest.get(), magnitude.get(), last);
        }
        if (fmpz_cmp_ui(largest.get(), static_cast<ulong>(MAX_CANDIDATE_INTEGER)) > 0) {
            return false;
        }
    }
    return steps.empty() || (scaled(request.low, d.get(), space.low, magnitude.get()) &&
                             scaled(request.high, d.get(), space.high, magnitude.get()));
}

} // namespace

SpaceOutcome build_space(const SpaceRequest& request, Space& space) {
    space = Space{};
    space.k = request.k;
    space.m = request.m;
    space.order = request.order;
    space.varied = request.varied;
    space.coefficients = 2 * request.k + 2;
    Solution solution;
    if (!solve(request, solution)) {
        return SpaceOutcome::CONTRADICTORY;
    }
    space.parameters = solution.free_positions;
    if (!grid_size(request, space.parameters.size(), space)) {
        return SpaceOutcome::GRID_TOO_LARGE;
    }
    if (!integer_form(request, solution, space)) {
        return SpaceOutcome::NUMBERS_TOO_LARGE;
    }
    for (int position = 0; position < space.coefficients; ++position) {
        const bool free = std::find(space.parameters.begin(), space.parameters.end(), position) !=
                          space.parameters.end();
        const bool moves = std::any_of(space.steps.begin(), space.steps.end(),
                                       [&](const auto& s) { return s[as_index(position)] != 0; });
        if (in_varied(space, position) && !free && moves) {
            space.ranged.push_back(position);
        }
    }
    return SpaceOutcome::BUILT;
}

std::string coefficient_name(int k, int position) {
    return position <= k ? "A[" + std::to_string(position) + "]"
                         : "B[" + std::to_string(position - k - 1) + "]";
}

bool in_varied(const Space& space, int position) {
    return (position <= space.k) == (space.varied == Varied::RHO);
}

GridWalk::GridWalk(const Space& space, std::uint64_t index)
    : space_(space), index_(index), digits_(space.parameters.size()), values_(space.base) {
    std::uint64_t rest = index;
    for (std::size_t p = digits_.size(); p-- > 0;) {
        digits_[p] = rest % space.values_per_parameter;
        rest /= space.values_per_parameter;
        const auto times = static_cast<std::int64_t>(digits_[p]);
        for (std::size_t j = 0; j < values_.size(); ++j) {
            values_[j] += times * space.steps[p][j];
        }
    }
}

void GridWalk::advance() {
    ++index_;
    // The last digit turns fastest; a digit that wraps takes back its steps.
    for (std::size_t p = digits_.size(); p-- > 0;) {
        const std::vector<std::int64_t>& step = space_.steps[p];
        if (++digits_[p] < space_.values_per_parameter) {
            for (std::size_t j = 0; j < values_.size(); ++j) {
                values_[j] += step[j];
            }
            return;
        }
        const auto back = static_cast<std::int64_t>(space_.values_per_parameter - 1);
        digits_[p] = 0;
        for (std::size_t j = 0; j < values_.size(); ++j) {
            values_[j] -= back * step[j];
        }
    }
}

bool in_range(const Space& space, std::span<const std::int64_t> integers) {
    for (const int position : space.ranged) {
        const std::int64_t value = integers[as_index(position)];
        if (value < space.low || value > space.high) {
            return false;
        }
    }
    return true;
}

void candidate_coefficients(const Space& space, std::span<const std::int64_t> integers,
                            std::vector<Rational>& out) {
    out.resize(integers.size());
    for (std::size_t j = 0; j < integers.size(); ++j) {
        fmpq_set_si(out[j].get(), integers[j], static_cast<ulong>(space.denominator));
    }
}

} // namespace ordimet::design
