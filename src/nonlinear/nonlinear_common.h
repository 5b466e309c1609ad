#pragma once

// What the six commands of the nonlinear-equation workspace share: reading their parameters,
// evaluating the functions the person typed, and the pieces of their reports.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "command/interaction.h"
#include "expr/expression.h"

namespace koravin {

inline constexpr std::string_view kExpressionErrorMessage = "函数表达式输入有误！";
inline constexpr std::string_view kNoRootForStartMessage = "本方法在此初值、精度下无根！";

// A prompt's answer with its blanks trimmed; nothing when that leaves it empty (Cancel too),
// which ends the command silently.
std::optional<std::string> AskText(Interaction& user, const Prompt& prompt);
// The leading number of such an answer.
std::optional<double> AskNumber(Interaction& user, const Prompt& prompt);
// The leading number of an answer taken as typed: only a truly empty answer ends the command,
// one of blanks only reads as 0.
std::optional<double> AskNumberAsTyped(Interaction& user, const Prompt& prompt);

// f as the editor pane holds it, blanks trimmed.
std::string_view EditorFunction(const CommandContext& context);

// A typed function, prepared and compiled once and then evaluated as often as needed.
class TypedFunction {
public:
    explicit TypedFunction(std::string_view text);

    // f(x) inside an iteration. When the text cannot be evaluated the person is told so and
    // there is no value: the command ends, keeping what it has written.
    std::optional<double> ValueAt(double x, Interaction& user) const;

    // f(x) for the check value of a closing line, which does not stop for a broken text; such a
    // text has no value, written NaN, rather than whatever its evaluation left on the stack.
    double CheckValueAt(double x) const;

private:
    CompiledExpression compiled_;
};

// The iteration has settled once the difference falls below the tolerance; a difference that
// is not a number can never shrink further, so it ends the iteration too.
bool DifferenceSettled(double difference, double tolerance);

// The pieces of a report line, joined.
std::string Concat(std::initializer_list<std::string_view> pieces);

// The header that replaces the result pane's previous report.
void StartReport(Pane& result, std::string_view header);

// The closing line shared by several methods: a blank line, then the count and the solution,
// with no line end after it.
std::string SolutionLine(int iterations, double x, double fx);

}  // namespace koravin
