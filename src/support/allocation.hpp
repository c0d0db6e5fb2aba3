#pragma once

// The allocation routines with which every subsystem builds its tables of
// rows, and the guards that release them on every path.

#include <cstddef>

namespace ordimet {

// A table of owned rows: an array of row pointers, each row a separately
// allocated block of doubles, or null while empty.
using RowTable = double**;

// The same table seen by a procedure that only reads it.
using ConstRowTable = const double* const*;

// A table of n row pointers, each empty; null when memory is short or the
// size can't be represented.
RowTable alloc_pointer_table(int n);

// Stores into `slot` a block of n doubles with undefined contents, or null
// when memory is short or the size can't be represented.
void alloc_doubles(double*& slot, std::size_t n);

// Releases each of the first n rows that is not empty, in ascending order,
// then the table itself. A null table is ignored.
void free_rows(RowTable rows, int n);

// The largest matrix dimension alloc_matrix accepts. A larger matrix is
// refused as a shortage of memory before anything is allocated: the
// elimination grows with the cube of the dimension and a run prints the
// matrix twice, and this bound keeps the largest cyclic run well under a
// second (docs/performance.md has the measurements).
inline constexpr int MAX_MATRIX_DIMENSION = 1000;

// A table of d rows of d + 1 doubles each, rows allocated in ascending order.
// Null when the table or any row can't be had, or d is above
// MAX_MATRIX_DIMENSION; then nothing stays allocated.
RowTable alloc_matrix(int d);

// A block of n records of `size` bytes each, uninitialised, and its release.
// Null when memory is short or n * size would overflow.
void* alloc_block(std::size_t n, std::size_t size);
void release_block(void* block);

// A block of n records of type T, uninitialised; released with release_block.
template <class T> T* alloc_records(std::size_t n) {
    return static_cast<T*>(alloc_block(n, sizeof(T)));
}

// Owns a table of rows for one scope: whatever path leaves the scope, the
// rows and the table are released. `release` frees them earlier.
class OwnedRows {
  public:
    OwnedRows(RowTable rows, int count) : rows_(rows), count_(count) {}
    OwnedRows(const OwnedRows&) = delete;
    OwnedRows& operator=(const OwnedRows&) = delete;
    ~OwnedRows() { release(); }

    RowTable get() const { return rows_; }
    void release() {
        free_rows(rows_, count_);
        rows_ = nullptr;
    }

  private:
    RowTable rows_;
    int count_;
};

// Owns a block from alloc_records for one scope.
template <class T> class OwnedBlock {
  public:
    explicit OwnedBlock(T* block) : block_(block) {}
    OwnedBlock(const OwnedBlock&) = delete;
    OwnedBlock& operator=(const OwnedBlock&) = delete;
    ~OwnedBlock() { release(); }

    T* get() const { return block_; }
    void release() {
        release_block(block_);
        block_ = nullptr;
    }

  private:
    T* block_;
};

} // namespace ordimet
