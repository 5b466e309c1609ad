#include "nonlinear/nonlinear_common.h"

#include <cmath>
#include <limits>

#include "expr/prepare_expression.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"

namespace koravin {
namespace {

CompiledExpression Compile(std::string_view text) {
    std::string prepared(text);
    PrepareExpression(prepared);
    return CompiledExpression::ForX(prepared);
}

}  // namespace

std::optional<std::string> AskText(Interaction& user, const Prompt& prompt) {
    const std::string answer = user.ask(prompt);
    const std::string_view trimmed = TrimBlanks(answer);
    if (trimmed.empty()) return std::nullopt;
    return std::string(trimmed);
}

std::optional<double> AskNumber(Interaction& user, const Prompt& prompt) {
    const auto answer = AskText(user, prompt);
    if (!answer) return std::nullopt;
    return ReadLeadingNumber(*answer);
}

std::optional<double> AskNumberAsTyped(Interaction& user, const Prompt& prompt) {
    const std::string answer = user.ask(prompt);
    if (answer.empty()) return std::nullopt;
    return ReadLeadingNumber(answer);
}

std::string_view EditorFunction(const CommandContext& context) { return TrimBlanks(context.editorText); }

TypedFunction::TypedFunction(std::string_view text) : compiled_(Compile(text)) {}

std::optional<double> TypedFunction::ValueAt(double x, Interaction& user) const {
    int stepCount = 0;
    const double value = compiled_.InsertValue(x, stepCount);
    if (stepCount > kSingleVariablePassLimit) {
        user.tell(kExpressionErrorMessage);
        return std::nullopt;
    }
    return value;
}

double TypedFunction::CheckValueAt(double x) const {
    int stepCount = 0;
    const double value = compiled_.InsertValue(x, stepCount);
    return stepCount > kSingleVariablePassLimit ? std::numeric_limits<double>::quiet_NaN() : value;
}

bool DifferenceSettled(double difference, double tolerance) {
    return difference < tolerance || std::isnan(difference);
}

std::string Concat(std::initializer_list<std::string_view> pieces) {
    std::size_t size = 0;
    for (const auto piece : pieces) size += piece.size();
    std::string text;
    text.reserve(size);
    for (const auto piece : pieces) text += piece;
    return text;
}

void StartReport(Pane& result, std::string_view header) {
    result.clear();
    result.append(header);
}

std::string SolutionLine(int iterations, double x, double fx) {
    return Concat({kLineEnd, "迭代", IndexText(iterations), "次", "   解x=", NumberText(x), "     f(x)=",
                   NumberText(fx)});
}

}  // namespace koravin
