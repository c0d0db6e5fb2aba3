#pragma once

// Exact rationals for the analyses of ordimet-analyse: a value type that owns
// a FLINT fmpq, so that every rational is released on every path.

#include <flint/fmpq.h>
#include <flint/fmpq_poly.h>
#include <span>
#include <string>
#include <utility>

namespace ordimet::analyse {

class Rational {
  public:
    Rational() { fmpq_init(value_); }
    Rational(long numerator, unsigned long denominator) {
        fmpq_init(value_);
        fmpq_set_si(value_, numerator, denominator);
    }
    Rational(const Rational& other) {
        fmpq_init(value_);
        fmpq_set(value_, other.value_);
    }
    Rational(Rational&& other) noexcept {
        fmpq_init(value_);
        fmpq_swap(value_, other.value_);
    }
    Rational& operator=(const Rational& other) {
        fmpq_set(value_, other.value_);
        return *this;
    }
    Rational& operator=(Rational&& other) noexcept {
        fmpq_swap(value_, other.value_);
        return *this;
    }
    ~Rational() { fmpq_clear(value_); }

    fmpq* get() { return value_; }
    const fmpq* get() const { return value_; }

    bool is_zero() const { return fmpq_is_zero(value_) != 0; }
    friend bool operator==(const Rational& a, const Rational& b) {
        return fmpq_equal(a.value_, b.value_) != 0;
    }

    // "p/q" in lowest terms, or "n" for an integer.
    std::string text() const;

  private:
    fmpq_t value_;
};

// The polynomial with the given coefficients (coefficient j at index j),
// brought to one common denominator at once.
void to_fmpq_poly(fmpq_poly_struct* poly, std::span<const Rational> coefficients);

} // namespace ordimet::analyse
