#pragma once

#include <string>
#include <string_view>

#include "matrix/matrix.h"

namespace koravin {

// Fills rows 1..n, columns 1..n+1 of `matrix` (created n x (n+1) by the caller) from free text:
// one row per line or per "#", entries separated by blanks or commas, each entry an expression.
void ReadAugmentedMatrix(std::string_view text, int n, Matrix& matrix);

// The first line of `text` as a vector 1..m of its blank-separated entries. The caller's text
// loses its leading and trailing blanks on the way.
Vector ReadVector(std::string& text);

}  // namespace koravin
