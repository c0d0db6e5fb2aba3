#pragma once

// Owners of FLINT and Arb values for the exact analyses: each initialises
// its value on construction and clears it on destruction, so nothing leaks
// on any path. Not copyable; get() hands the value to the library calls.

#include <acb.h>
#include <acb_poly.h>
#include <arb.h>
#include <flint/fmpq_mat.h>
#include <flint/fmpq_poly.h>
#include <flint/fmpz.h>
#include <flint/fmpz_mat.h>
#include <flint/fmpz_poly.h>
#include <flint/fmpz_poly_factor.h>
#include <flint/fmpz_vec.h>

namespace ordimet::analyse {

template <typename T, void (*INIT)(T*), void (*CLEAR)(T*)> class Handle {
  public:
    Handle() { INIT(value_); }
    ~Handle() { CLEAR(value_); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    T* get() { return value_; }
    const T* get() const { return value_; }

  private:
    T value_[1];
};

using Fmpz = Handle<fmpz, fmpz_init, fmpz_clear>;
using FmpzPoly = Handle<fmpz_poly_struct, fmpz_poly_init, fmpz_poly_clear>;
using FmpqPoly = Handle<fmpq_poly_struct, fmpq_poly_init, fmpq_poly_clear>;
using FmpzPolyFactor =
    Handle<fmpz_poly_factor_struct, fmpz_poly_factor_init, fmpz_poly_factor_clear>;
using Arb = Handle<arb_struct, arb_init, arb_clear>;
using Arf = Handle<arf_struct, arf_init, arf_clear>;
using Acb = Handle<acb_struct, acb_init, acb_clear>;
using AcbPoly = Handle<acb_poly_struct, acb_poly_init, acb_poly_clear>;

// A vector of n complex balls.
class AcbVector {
  public:
    explicit AcbVector(long n) : size_(n), values_(_acb_vec_init(n)) {}
    ~AcbVector() { _acb_vec_clear(values_, size_); }
    AcbVector(const AcbVector&) = delete;
    AcbVector& operator=(const AcbVector&) = delete;
    acb_ptr get() { return values_; }
    acb_ptr at(long i) { return values_ + i; }
    long size() const { return size_; }

  private:
    long size_;
    acb_ptr values_;
};

// A vector of n real balls.
class ArbVector {
  public:
    explicit ArbVector(long n) : size_(n), values_(_arb_vec_init(n)) {}
    ~ArbVector() { _arb_vec_clear(values_, size_); }
    ArbVector(const ArbVector&) = delete;
    ArbVector& operator=(const ArbVector&) = delete;
    arb_ptr get() { return values_; }
    arb_srcptr get() const { return values_; }
    arb_ptr at(long i) { return values_ + i; }
    arb_srcptr at(long i) const { return values_ + i; }
    long size() const { return size_; }

  private:
    long size_;
    arb_ptr values_;
};

// A vector of n integers.
class FmpzVector {
  public:
    explicit FmpzVector(long n) : size_(n), values_(_fmpz_vec_init(n)) {}
    ~FmpzVector() { _fmpz_vec_clear(values_, size_); }
    FmpzVector(const FmpzVector&) = delete;
    FmpzVector& operator=(const FmpzVector&) = delete;
    fmpz* get() { return values_; }
    fmpz* at(long i) { return values_ + i; }

  private:
    long size_;
    fmpz* values_;
};

// An r x c integer matrix.
class FmpzMatrix {
  public:
    FmpzMatrix(long rows, long columns) { fmpz_mat_init(value_, rows, columns); }
    ~FmpzMatrix() { fmpz_mat_clear(value_); }
    FmpzMatrix(const FmpzMatrix&) = delete;
    FmpzMatrix& operator=(const FmpzMatrix&) = delete;
    fmpz_mat_struct* get() { return value_; }

  private:
    fmpz_mat_t value_;
};

// An r x c rational matrix.
class FmpqMatrix {
  public:
    FmpqMatrix(long rows, long columns) { fmpq_mat_init(value_, rows, columns); }
    ~FmpqMatrix() { fmpq_mat_clear(value_); }
    FmpqMatrix(const FmpqMatrix&) = delete;
    FmpqMatrix& operator=(const FmpqMatrix&) = delete;
    fmpq_mat_struct* get() { return value_; }
    fmpq* at(long i, long j) { return fmpq_mat_entry(value_, i, j); }

  private:
    fmpq_mat_t value_;
};

} // namespace ordimet::analyse
