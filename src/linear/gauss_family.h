#pragma once

// What the Gauss eliminations and their applications share: reading the system, the back
// substitution and the report around the reduced matrix.

#include <span>
#include <string>
#include <string_view>

#include "matrix/fixed_rounding.h"
#include "matrix/matrix.h"

namespace koravin {

// The n x (n + 1) augmented matrix of the editor text, read as typed.
Matrix ReadSystem(std::string_view editorText, int n);

// x(n) = W(n, n+1) / W(n, n) as it comes; every other unknown rounded by `round`.
Vector BackSubstitute(const Matrix& w, int n, const FixedRounding& round);

struct GaussReportTexts {
    std::string_view reducedHeading;
    std::string_view solutionHeading;
    std::string_view title;
    bool lineEndAfterTitle;
};

// The input as read, the reduced matrix and the solution rounded to `digits` places, the title.
// unknowns[i - 1] is the number, as typed, of the unknown x(i) belongs to.
std::string GaussReport(const Matrix& a, const Matrix& w, const Vector& x, std::span<const int> unknowns,
                        int digits, const GaussReportTexts& texts);

// The unknowns in their typed order, 1..n.
std::vector<int> TypedOrder(int n);

}  // namespace koravin
