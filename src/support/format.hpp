#pragma once

// How the reports print numbers: the one formatter of doubles and the field
// widths of the coefficient listing and of the augmented matrix.

namespace ordimet {

// Each coefficient of the listing: "A[ j ] = " and the value in this width.
inline constexpr int LISTING_FIELD_WIDTH = 10;

// Each cell of the coefficient part of the augmented matrix, and its
// right-hand value after the bar.
inline constexpr int MATRIX_FIELD_WIDTH = 10;
inline constexpr int MATRIX_RIGHT_HAND_FIELD_WIDTH = 9;

// A double as the report prints it: fixed notation with six decimals,
// right-aligned in at least `width` characters, wider when the value needs it
// (as printf's "%*lf" writes it). Infinities and NaN are spelled "inf",
// "-inf" and "nan" on every platform; the sign of a NaN is an accident of the
// processor and is not shown.
struct FixedText {
    char text[352]; // the longest finite double takes 309 digits + sign + 7
};
FixedText fixed(double value, int width = 0);

} // namespace ordimet
