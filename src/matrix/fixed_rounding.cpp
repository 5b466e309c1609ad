#include "matrix/fixed_rounding.h"

#include <array>

namespace koravin {
namespace {

// The powers that RoundDigits scales by; each is exact in a double.
constexpr std::array<double, 23> kScales = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

}  // namespace

FixedRounding::FixedRounding(int places)
    : places_(places),
      scale_(places >= 0 && places < static_cast<int>(kScales.size()) ? kScales[static_cast<std::size_t>(places)] : 1),
      usable_(places >= 0 && places < static_cast<int>(kScales.size())) {}

}  // namespace koravin
