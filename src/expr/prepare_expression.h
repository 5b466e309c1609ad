#pragma once

#include <string>

namespace koravin {

// Rewrites a typed function once into the form the evaluator reads: decoration ("f(x)=", "=0")
// removed, lower case, no blanks or line breaks, every number literal after an operator given
// its own "+" sign, "pi" written out, and the function names that contain "x" or a digit
// renamed ("exp" -> "eyp", "log10" -> "lgg", "log2" -> "lg2"). Apply it exactly once.
void PrepareExpression(std::string& text);

}  // namespace koravin
