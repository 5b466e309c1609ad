#pragma once

#include <string>

namespace koravin::reference {

// The preparation of a typed function step by step as written, each rewrite a pass of its own
// and every sign marked by inserting into the text where it is found.
void LiteralPrepareExpression(std::string& text);

}  // namespace koravin::reference
