#pragma once

// What the triangular decomposition commands share: the run around their computation, the
// Doolittle decomposition, the substitutions and the pieces their reports are made of.
//
// Every decomposition here keeps full double precision; only printed numbers are rounded.

#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command/interaction.h"
#include "matrix/matrix.h"

namespace koravin {

inline constexpr std::string_view kFourSpaces = "    ";
inline constexpr std::string_view kFiveSpaces = "     ";

// A zero pivot stops a method; a NaN pivot is no better and stops it as well.
inline bool IsZeroPivot(double value) { return value == 0.0 || std::isnan(value); }

// The report of a method, and the solution it gives (unrounded; empty for a decomposition
// alone), computed from the augmented matrix as read (n x (n+1)).
struct TriangularReport {
    std::string text;
    Vector solution{};
    // The system the method actually solves, when that is not the one typed.
    std::optional<Matrix> solvedSystem{};
};

// A method's report, or nothing when a zero pivot stops it.
using TriangularMethod = std::optional<TriangularReport> (*)(const Matrix& augmented, int digits);

struct TriangularCommand {
    Prompt prompt;
    // Some commands empty the result pane before asking, so that a silent end leaves it empty;
    // the others keep the previous report until the order has been accepted.
    bool emptyPaneBeforePrompt;
    // How many n x (n+1) arrays of doubles the method and its report hold at once.
    int arrays;
    TriangularMethod method;
    std::string_view zeroPivotMessage;
};

// Asks for the order, reads the editor pane and writes the method's report, or tells the
// zero-pivot message and leaves the result pane empty.
void RunTriangularCommand(CommandContext& context, const TriangularCommand& command);

// The methods behind the commands, one in each command's file.
std::optional<TriangularReport> LuBreakReport(const Matrix& augmented, int digits);
std::optional<TriangularReport> MatrixBreakReport(const Matrix& augmented, int digits);
std::optional<TriangularReport> TierLuReport(const Matrix& augmented, int digits);
std::optional<TriangularReport> SqrtRootReport(const Matrix& augmented, int digits);
std::optional<TriangularReport> MendSqrtReport(const Matrix& augmented, int digits);
std::optional<TriangularReport> PuraseReport(const Matrix& augmented, int digits);

struct TriangularFactors {
    Matrix l;  // unit lower triangular
    Matrix u;  // upper triangular
};

// Sums of the decompositions, each accumulated from 0 in increasing r, term by term. L is given
// by its columns, lColumns(r, i) = L(i, r), so that both kinds of sums run along memory.
// sums[i] = sum over r < k of L(i,r)·U(r,k), for i = first..n (down column k):
void SumsDownColumn(const Matrix& lColumns, const Matrix& u, int k, int first, std::vector<double>& sums);
// sums[j] = sum over r < k of L(k,r)·U(r,j), for j = first..n (along row k):
void SumsAlongRow(const Matrix& lColumns, const Matrix& u, int k, int first, std::vector<double>& sums);

// A = LU (Doolittle) of the leading n x n block of `a`, n = a.rows(). Nothing when U(k,k) is a
// zero pivot while a row below k remains; U(n,n) is never divided by here.
std::optional<TriangularFactors> DoolittleDecomposition(const Matrix& a);

// PA = LU with the pivot row chosen by the largest signed candidate, rows exchanged in W (all
// n+1 columns), L and U as they are chosen. W ends with U above and L below the diagonal, its
// last diagonal entry as read. Nothing is tested: a zero pivot gives Inf and NaN multipliers.
struct PivotedFactors {
    Matrix w;
    Matrix l;
    Matrix u;
};
PivotedFactors ColumnPivotDecomposition(const Matrix& augmented);

// A = L·Lᵀ from the entries of A on and below the diagonal; a negative radicand leaves its
// diagonal entry 0. Returns L.
Matrix SquareRootFactor(const Matrix& a);

// A = L·D·Lᵀ from the entries of A on and below the diagonal, L unit lower triangular. Nothing
// when D(j) is a zero pivot for some j < n.
struct RootFreeFactors {
    Matrix l;
    Vector d;
};
std::optional<RootFreeFactors> RootFreeDecomposition(const Matrix& a);

// Column n+1 of the augmented matrix.
Vector RightHandSide(const Matrix& augmented);

// y(i) = b(i) - sum over r < i of L(i,r) y(r), divided by L(i,i) unless L is taken as unit
// lower triangular (whose diagonal is then never read).
enum class Diagonal { Unit, Divide };
Vector ForwardSubstitution(const Matrix& l, const Vector& b, Diagonal diagonal);

// x(i) = (y(i) - sum over r > i of U(i,r) x(r)) / U(i,i), from i = n down. With
// StopAtZeroPivot, a zero or NaN U(i,i) gives nothing instead.
enum class ZeroPivots { StopAtZeroPivot, CarryOn };
std::optional<Vector> BackSubstitution(const Matrix& u, const Vector& y, ZeroPivots zeroPivots);

// The transpose of an n x n matrix.
Matrix Transposed(const Matrix& m);

// Report pieces. `places` rounds the printed numbers; nothing prints them as they are.
void AppendNumber(std::string& report, double value, std::optional<int> places);
// The first `cols` entries of every row, each row followed by an empty line.
void AppendSpacedRows(std::string& report, const Matrix& m, int cols, std::string_view separator,
                      std::optional<int> places);
// v(1..n) on one line, each entry after the separator; no line end.
void AppendVectorLine(std::string& report, const Vector& v, std::string_view separator, std::optional<int> places);

// "y(1)=..." lines, each ended by a line end, or each preceded by one.
enum class LabelLineEnd { After, Before };
void AppendLabelledLines(std::string& report, std::string_view letter, const Vector& v, std::optional<int> places,
                         LabelLineEnd lineEnd);

}  // namespace koravin
