#pragma once

// The evaluator done literally: the variables' texts written into the expression, the text read
// from the front by two stacks of strings and numbers, one pass at a time. Slow and plainly
// right; the compiled evaluator must agree with it bit for bit.

#include <string_view>

#include "expr/expression.h"

namespace koravin::reference {

// With unarySigns false, a sign where an operand must begin is read as the binary operator it
// looks like (taking its left operand from whatever lies below), as the engine once did.
Evaluation LiteralInsertValue(std::string_view preparedText, double x, bool unarySigns = true);

// Whether the text, evaluated at x, meets a sign where an operand must begin.
bool MeetsUnarySign(std::string_view preparedText, double x);
double LiteralInsertValueXY(std::string_view preparedText, double x, std::string_view variableName, double value);

}  // namespace koravin::reference
