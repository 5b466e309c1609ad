#include "ode/ode_input.h"
#include "ode/ode_methods.h"
#include "ode/ode_table.h"

namespace koravin {

void RunOneStepWindow(CommandContext& context, OneStepMethod method, std::string_view firstHeading,
                      std::string_view secondHeading) {
    const auto grid = ReadOdeGrid(context);
    if (!grid) return;
    const auto y0 = AskInitialValue(context, *grid);
    if (!y0) return;
    const OdeSolution columns = method(grid->x, grid->h, grid->f, *y0);
    WriteOdeTable(context, grid->x, {firstHeading, columns.first}, {secondHeading, columns.second});
}

}  // namespace koravin
