#include "reference/literal_expression.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"

namespace koravin::reference {
namespace {

StackSymbol SymbolOf(const std::string& entry) {
    if (entry.empty()) return StackSymbol::Bottom;
    if (entry == "#") return StackSymbol::Hash;
    if (entry == "(") return StackSymbol::LeftParen;
    if (entry == "+" || entry == "-") return StackSymbol::AddSub;
    if (entry == "*" || entry == "/" || entry == "\\") return StackSymbol::MulDiv;
    if (entry == "^") return StackSymbol::Power;
    if (entry == "u+" || entry == "u-") return StackSymbol::UnarySign;
    return StackSymbol::Function;
}

template <typename T>
T Pop(std::vector<T>& stack) {
    if (stack.size() == 1) return stack.front();
    T top = stack.back();
    stack.pop_back();
    return top;
}

struct Outcome {
    Evaluation evaluation;
    bool metUnarySign = false;
};

Outcome Evaluate(std::string text, int passLimit, bool unarySigns = true) {
    bool metUnarySign = false;
    text += "#";
    std::vector<std::string> operators{"", "#"};
    std::vector<double> operands{0};
    bool operandStart = true;
    int passes = 0;
    while (!text.empty()) {
        const NumberLiteral literal = ScanNumberLiteral(text);
        if (literal.isNumber) {
            operands.push_back(literal.value);
            text.erase(0, literal.consumed);
            operandStart = false;
        } else if (const auto function = MatchFunctionName(text)) {
            operators.push_back(text.substr(0, 3));
            text.erase(0, 3);
            operandStart = false;
        } else if (unarySigns && operandStart && (text[0] == '+' || text[0] == '-')) {
            metUnarySign = true;
            operators.push_back(std::string("u") + text[0]);
            text.erase(0, 1);
        } else {
            const char c = text[0];
            const std::string top = operators.back();
            switch (PrecedenceRelation(SymbolOf(top), ClassifyIncoming(c))) {
                case Relation::Shift:
                    operators.push_back(std::string(1, c));
                    text.erase(0, 1);
                    operandStart = c != ')' && c != '#';
                    break;
                case Relation::Match:
                    Pop(operators);
                    text.erase(0, 1);
                    operandStart = false;
                    break;
                case Relation::Reduce: {
                    const std::string op = Pop(operators);
                    if (op.size() == 3) {
                        operands.push_back(ApplyFunction(*MatchFunctionName(op), Pop(operands)));
                    } else if (op == "u-") {
                        operands.push_back(-Pop(operands));
                    } else if (op == "u+") {
                        operands.push_back(Pop(operands));
                    } else {
                        const double b = Pop(operands);
                        const double a = Pop(operands);
                        operands.push_back(ApplyOperator(a, op[0], b));
                    }
                    break;
                }
                case Relation::None:
                    // Nothing changes in such a pass, so every later pass is the same one.
                    passes = passLimit;
                    break;
            }
        }
        if (++passes > passLimit) break;
    }
    return {{operands.size() > 1 ? operands[1] : 0, passes}, metUnarySign};
}

std::string Written(double value) { return "(" + NumberText(value) + ")"; }

std::string Substituted(std::string_view preparedText, double x) {
    std::string text = ReplaceAll(preparedText, "x", Written(x));
    return ReplaceAll(text, "eyp", "exp");
}

}  // namespace

Evaluation LiteralInsertValue(std::string_view preparedText, double x, bool unarySigns) {
    const bool usesX = preparedText.find('x') != std::string_view::npos;
    if (usesX && !std::isfinite(x)) {
        Evaluation atZero = LiteralInsertValue(preparedText, 0, unarySigns);
        atZero.value = std::numeric_limits<double>::quiet_NaN();
        return atZero;
    }
    return Evaluate(Substituted(preparedText, x), kSingleVariablePassLimit, unarySigns).evaluation;
}

bool MeetsUnarySign(std::string_view preparedText, double x) {
    return Evaluate(Substituted(preparedText, std::isfinite(x) ? x : 0), kSingleVariablePassLimit).metUnarySign;
}

double LiteralInsertValueXY(std::string_view preparedText, double x, std::string_view variableName, double value) {
    const bool usesX = preparedText.find('x') != std::string_view::npos;
    std::string text = ReplaceAll(preparedText, "x", Written(usesX && !std::isfinite(x) ? 0 : x));
    text = ReplaceAll(text, "eyp", "exp");
    const bool usesY = text.find(variableName) != std::string::npos;
    text = ReplaceAll(text, variableName, Written(usesY && !std::isfinite(value) ? 0 : value));
    const Evaluation evaluation = Evaluate(text, kTwoVariablePassLimit).evaluation;
    if ((usesX && !std::isfinite(x)) || (usesY && !std::isfinite(value))) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return evaluation.value;
}

}  // namespace koravin::reference
