#include "plot/function_of_x.h"

#include <cmath>
#include <memory>

#include "nonlinear/nonlinear_common.h"
#include "numbers/text_utilities.h"

namespace koravin {

PlotFunction FunctionOfX(std::string_view text) {
    auto f = std::make_shared<const TypedFunction>(TrimBlanks(text));
    return [f](double x) -> std::optional<double> {
        const double value = f->CheckValueAt(x);
        if (!std::isfinite(value)) return std::nullopt;
        return value;
    };
}

}  // namespace koravin
