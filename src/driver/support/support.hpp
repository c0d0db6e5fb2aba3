#pragma once

// What every subsystem uses of the run driver: the allocation routines for
// tables of rows and the key-press pause.

#include <cstddef>

namespace ordimet {

// A table of owned rows: an array of row pointers, each row a separately
// allocated block of doubles, or null while empty.
using RowTable = double**;

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
// refused as a shortage of memory before anything is allocated. Measured with
// bench/cyclic_bench.cpp (Release build, 2 cores), a dense matrix of this
// dimension (8 MB of rows) eliminates in about 0.12 s and prints in about
// 0.28 s, and a run prints it twice; the elimination grows with the cube of
// the dimension, to about 0.6 s at 1500 and 1.5 s at 2000.
inline constexpr int MAX_MATRIX_DIMENSION = 1000;

// A table of d rows of d + 1 doubles each, rows allocated in ascending order.
// Null when the table or any row can't be had, or d is above
// MAX_MATRIX_DIMENSION; then nothing stays allocated.
RowTable alloc_matrix(int d);

// A block of n records of type T, uninitialised; released with release_block.
// Null when memory is short or n * sizeof(T) would overflow.
void* alloc_block(std::size_t n, std::size_t size);
void release_block(void* block);

template <class T> T* alloc_records(std::size_t n) {
    return static_cast<T*>(alloc_block(n, sizeof(T)));
}

// A double as the report prints it: fixed notation with six decimals,
// right-aligned in at least `width` characters, wider when the value needs it
// (as printf's "%*lf" writes it). Infinities and NaN are spelled "inf",
// "-inf" and "nan" on every platform; the sign of a NaN is an accident of the
// processor and is not shown.
struct FixedText {
    char text[352]; // the longest finite double takes 309 digits + sign + 7
};
FixedText fixed(double value, int width = 0);

// The one line that tells a shortage of memory, wherever it happens.
inline constexpr char NO_MEMORY_MESSAGE[] = "Erro de falta de memoria.\n";

// Prints NO_MEMORY_MESSAGE.
void print_no_memory();

// Prints the key prompt, flushes standard output and waits for one key press
// on the console; returns at once when there is no console.
void wait_for_key();

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
