#pragma once

// What the three differential-equation windows share before their methods step: the fields
// Text1..Text4 read and checked in order, the grid, the prepared f(x, y) and the prompt for a
// value of the solution at a node.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command/interaction.h"
#include "expr/expression.h"

namespace koravin {

inline constexpr int kLargestDivisionCount = 32767;
inline constexpr std::string_view kInitialDivisionCountText = "2";

// The text Text4 holds after a change: a value below 1 becomes "1", one above 32767 becomes
// "32767", anything between stays as typed ("2.5" stays and is later used as 2).
std::string DivisionCountText(std::string_view typed);

// The count one spinner step away from `text` (up for steps > 0, down for steps < 0), within
// 1..32767: from a fractional count such as 2.5 a step lands on the next whole number that way.
std::string SteppedDivisionCountText(std::string_view text, int steps);

// Whether the spinner beside the count can step up and down from `text`.
struct DivisionSpinner {
    bool up;
    bool down;
};
DivisionSpinner DivisionSpinnerState(std::string_view text);

struct OdeGrid {
    double a;
    double h;
    std::vector<double> x;  // the nodes 0..n
    CompiledExpression f;   // f(x, y) of Text1, prepared and read once for the whole run
};

// The step and the nodes 0..divisions of the grid from a to b.
double OdeStep(double a, double b, int divisions);
std::vector<double> OdeNodes(double a, double h, int divisions);

// Reads Text1..Text4 of context.fields and builds the grid. Tells the first failure, moving the
// focus to Text1 when f is missing or cannot be evaluated, and gives nothing then.
std::optional<OdeGrid> ReadOdeGrid(CommandContext& context);

// Asks for the value of the solution at `node`; nothing when the reply is empty (Cancel).
std::optional<double> AskSolutionValue(Interaction& user, double node);

// The one initial value of the one-step windows, asked at a; tells the person when none is given.
std::optional<double> AskInitialValue(CommandContext& context, const OdeGrid& grid);

}  // namespace koravin
