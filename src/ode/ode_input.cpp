#include "ode/ode_input.h"

#include <algorithm>
#include <cmath>

#include "expr/prepare_expression.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"

namespace koravin {
namespace {

std::string_view FieldText(const CommandContext& context, const std::string& name, std::string_view absent = {}) {
    const auto found = context.fields.find(name);
    return found == context.fields.end() ? absent : std::string_view(found->second);
}

}  // namespace

std::string DivisionCountText(std::string_view typed) {
    std::string text(typed);
    if (ReadLeadingNumber(text) < 1) text = "1";
    if (ReadLeadingNumber(text) > kLargestDivisionCount) text = "32767";
    return text;
}

std::string SteppedDivisionCountText(std::string_view text, int steps) {
    const double value = ReadLeadingNumber(text);
    const double next = steps > 0 ? std::floor(value) + steps : std::ceil(value) + steps;
    return std::to_string(static_cast<int>(std::clamp(next, 1.0, static_cast<double>(kLargestDivisionCount))));
}

DivisionSpinner DivisionSpinnerState(std::string_view text) {
    const double value = ReadLeadingNumber(text);
    return {value < kLargestDivisionCount, value > 1};
}

std::optional<OdeGrid> ReadOdeGrid(CommandContext& context) {
    const std::string_view function = TrimBlanks(FieldText(context, "Text1"));
    if (function.empty()) {
        context.user.tell("没有输入函数F(x)导数。");
        context.focusField = "Text1";
        return std::nullopt;
    }
    const std::string_view lower = TrimBlanks(FieldText(context, "Text2"));
    if (lower.empty()) {
        context.user.tell("没有输入下界值。");
        return std::nullopt;
    }
    const double a = ReadLeadingNumber(lower);
    const std::string_view upper = TrimBlanks(FieldText(context, "Text3"));
    if (upper.empty()) {
        context.user.tell("没有输入上界值。");
        return std::nullopt;
    }
    const double b = ReadLeadingNumber(upper);
    if (b < a) {
        context.user.tell("上下界值输入有误！");
        return std::nullopt;
    }
    // A function the engine cannot read would still fill the table, with numbers that mean
    // nothing: say so before asking for any initial value.
    std::string prepared(function);
    PrepareExpression(prepared);
    CompiledExpression f = CompiledExpression::ForXY(prepared, 'y');
    if (!f.CanBeEvaluated()) {
        context.user.tell("函数表达式输入有误！");
        context.focusField = "Text1";
        return std::nullopt;
    }
    // The window keeps Text4 within 1..32767; passing the text through the same rule here makes
    // that hold for every caller, so the count below always exists.
    const std::string divisions = DivisionCountText(FieldText(context, "Text4", kInitialDivisionCountText));
    const int n = ToInteger16(ReadLeadingNumber(divisions)).value_or(1);
    context.differentialEquation(function, a, b, n);
    const double h = OdeStep(a, b, n);
    return OdeGrid{a, h, OdeNodes(a, h, n), std::move(f)};
}

double OdeStep(double a, double b, int divisions) { return (b - a) / static_cast<double>(divisions); }

std::vector<double> OdeNodes(double a, double h, int divisions) {
    std::vector<double> x(static_cast<std::size_t>(divisions) + 1);
    // Every node, the last one too, is i*h + a: it is not copied from b.
    for (int i = 0; i <= divisions; ++i) x[static_cast<std::size_t>(i)] = static_cast<double>(i) * h + a;
    return x;
}

std::optional<double> AskSolutionValue(Interaction& user, double node) {
    const std::string reply = user.ask({"请输入原函数F(" + NumberText(node) + ")的值", "输入初始数值", "1"});
    if (reply.empty()) return std::nullopt;
    return ReadLeadingNumber(reply);
}

std::optional<double> AskInitialValue(CommandContext& context, const OdeGrid& grid) {
    const auto value = AskSolutionValue(context.user, grid.a);
    if (!value) context.user.tell("没有输入初始函数值。");
    return value;
}

}  // namespace koravin
