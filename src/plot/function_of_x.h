#pragma once

#include <string_view>

#include "plot/sampling.h"

namespace koravin {

// A typed f(x) for a picture, read once: nothing where the text cannot be evaluated or the value
// is not finite, so the curve has a gap there.
PlotFunction FunctionOfX(std::string_view text);

}  // namespace koravin
