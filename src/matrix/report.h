#pragma once

// The vocabulary the linear workspace's reports share. A report is built as text and handed to
// the result pane; the line end is CR LF.

#include <optional>
#include <string>
#include <string_view>

#include "matrix/matrix.h"

namespace koravin {

inline constexpr int kDefaultDecimalDigits = 6;
inline constexpr int kFewestDecimalDigits = 1;
inline constexpr int kMostDecimalDigits = 16;

// The decimal places a reply to 设置小数数位 sets: its leading number to the nearest integer,
// within 1..16 (a number past the 16-bit range counts as the nearer end).
int DecimalDigitsFromReply(std::string_view reply);

// A line end, the heading, a line end: a heading follows one empty line.
void AppendHeading(std::string& report, std::string_view heading);

// Each row: separator and entry text for every column, then a line end. The entry text is
// NumberText of the entry, rounded to `places` when given.
void AppendMatrixRows(std::string& report, const Matrix& m, int rows, int cols, std::string_view separator,
                      std::optional<int> places);

// AppendMatrixRows for columns firstColumn..lastColumn only.
void AppendMatrixColumns(std::string& report, const Matrix& m, int rows, int firstColumn, int lastColumn,
                         std::string_view separator, std::optional<int> places);

}  // namespace koravin
