#include "expr/expression.h"

#include <cmath>
#include <limits>

#include "expr/prepare_expression.h"
#include "numbers/number_conversions.h"

namespace koravin {
namespace {

// Positions covered by "eyp", the hidden name of "exp" that is restored before evaluation.
std::vector<bool> RestoredExpPositions(std::string_view text) {
    std::vector<bool> covered(text.size(), false);
    for (auto found = text.find("eyp"); found != std::string_view::npos; found = text.find("eyp", found + 3)) {
        covered[found] = covered[found + 1] = covered[found + 2] = true;
    }
    return covered;
}

struct Operator {
    StackSymbol symbol;
    char character;
    FunctionName function;
};

StackSymbol SymbolOf(Incoming incoming) {
    switch (incoming) {
        case Incoming::AddSub: return StackSymbol::AddSub;
        case Incoming::MulDiv: return StackSymbol::MulDiv;
        case Incoming::Power: return StackSymbol::Power;
        case Incoming::LeftParen: return StackSymbol::LeftParen;
        case Incoming::Hash: return StackSymbol::Hash;
        default: return StackSymbol::Bottom;  // ")" and the rest are never pushed
    }
}

}  // namespace

CompiledExpression CompiledExpression::ForX(std::string_view preparedText) {
    return CompiledExpression(preparedText, 0, kSingleVariablePassLimit);
}

CompiledExpression CompiledExpression::ForXY(std::string_view preparedText, char variableName) {
    return CompiledExpression(preparedText, variableName, kTwoVariablePassLimit);
}

CompiledExpression::CompiledExpression(std::string_view text, char variableName, int passLimit)
    : passLimit_(passLimit) {
    const std::vector<bool> restoredExp = RestoredExpPositions(text);
    const auto substituted = [&](std::size_t i) {
        return text[i] == 'x' || (variableName != 0 && text[i] == variableName && !restoredExp[i]);
    };
    // nextSubstituted[i]: the first substituted position at or after i.
    std::vector<std::size_t> nextSubstituted(text.size() + 1, text.size());
    for (std::size_t k = text.size(); k-- > 0;) nextSubstituted[k] = substituted(k) ? k : nextSubstituted[k + 1];
    bool operandStart = true;  // where an operand must begin, a sign that is no number is unary
    std::size_t i = 0;
    const auto addCharacter = [&](char c) {
        const Incoming incoming = ClassifyIncoming(c);
        tokens_.push_back({TokenKind::Character, incoming, c});
        operandStart = incoming == Incoming::LeftParen || incoming == Incoming::AddSub ||
                       incoming == Incoming::MulDiv || incoming == Incoming::Power;
    };
    while (i < text.size()) {
        if (substituted(i)) {
            const bool isX = text[i] == 'x';
            (isX ? usesX_ : usesY_) = true;
            addCharacter('(');
            tokens_.push_back({isX ? TokenKind::XValue : TokenKind::YValue});
            addCharacter(')');
            ++i;
            continue;
        }
        // A literal ends where a substituted variable begins, as its "(" would end it.
        const std::string_view front = text.substr(i, nextSubstituted[i] - i);
        if (const NumberLiteral literal = ScanNumberLiteral(front); literal.isNumber) {
            tokens_.push_back({TokenKind::Number, Incoming::Other, 0, FunctionName::Abs, literal.value});
            i += literal.consumed;
            operandStart = false;
            continue;
        }
        if (restoredExp[i]) {
            tokens_.push_back({TokenKind::Function, Incoming::Other, 0, FunctionName::Exp});
            i += 3;
            operandStart = false;
            continue;
        }
        if (front.size() >= 3) {
            if (const auto function = MatchFunctionName(front); function && *function != FunctionName::Exp) {
                tokens_.push_back({TokenKind::Function, Incoming::Other, 0, *function});
                i += 3;
                operandStart = false;
                continue;
            }
        }
        if (operandStart && (text[i] == '+' || text[i] == '-')) {
            tokens_.push_back({TokenKind::UnarySign, Incoming::Other, text[i]});
            ++i;
            continue;
        }
        addCharacter(text[i]);
        ++i;
    }
    addCharacter('#');
}

Evaluation CompiledExpression::Run(double xValue, double yValue) const {
    std::vector<double> operands;
    operands.reserve(tokens_.size() + 1);
    operands.push_back(0);  // the permanent bottom
    std::vector<Operator> operators;
    operators.reserve(tokens_.size() + 2);
    operators.push_back({StackSymbol::Bottom, 0, FunctionName::Abs});
    operators.push_back({StackSymbol::Hash, '#', FunctionName::Abs});

    // Popping a stack that holds only its bottom yields the bottom and leaves it there.
    const auto popOperand = [&] {
        if (operands.size() == 1) return operands.front();
        const double value = operands.back();
        operands.pop_back();
        return value;
    };
    const auto popOperator = [&] {
        if (operators.size() == 1) return operators.front();
        const Operator op = operators.back();
        operators.pop_back();
        return op;
    };

    Evaluation result;
    std::size_t next = 0;
    while (next < tokens_.size()) {
        const Token& token = tokens_[next];
        switch (token.kind) {
            case TokenKind::Number: operands.push_back(token.value); ++next; break;
            case TokenKind::XValue: operands.push_back(xValue); ++next; break;
            case TokenKind::YValue: operands.push_back(yValue); ++next; break;
            case TokenKind::Function:
                operators.push_back({StackSymbol::Function, 0, token.function});
                ++next;
                break;
            case TokenKind::UnarySign:
                operators.push_back({StackSymbol::UnarySign, token.character, FunctionName::Abs});
                ++next;
                break;
            case TokenKind::Character:
                switch (PrecedenceRelation(operators.back().symbol, token.incoming)) {
                    case Relation::Shift:
                        operators.push_back({SymbolOf(token.incoming), token.character, FunctionName::Abs});
                        ++next;
                        break;
                    case Relation::Match:
                        popOperator();
                        ++next;
                        break;
                    case Relation::Reduce: {
                        const Operator op = popOperator();
                        if (op.symbol == StackSymbol::Function) {
                            operands.push_back(ApplyFunction(op.function, popOperand()));
                        } else if (op.symbol == StackSymbol::UnarySign) {
                            const double a = popOperand();
                            operands.push_back(op.character == '-' ? -a : a);
                        } else {
                            const double b = popOperand();
                            const double a = popOperand();
                            operands.push_back(ApplyOperator(a, op.character, b));
                        }
                        break;
                    }
                    case Relation::None:
                        // Nothing can be consumed any more: the loop would spin to its limit.
                        result.passes = passLimit_;
                        next = tokens_.size();
                        break;
                }
                break;
        }
        if (++result.passes > passLimit_) break;
    }
    result.value = operands.size() > 1 ? operands[1] : 0;
    return result;
}

Evaluation CompiledExpression::Evaluate(double x, double y) const {
    // A variable that is not a number makes the value not a number; whether the text can be
    // evaluated at all is judged as at 0.
    if ((usesX_ && !std::isfinite(x)) || (usesY_ && !std::isfinite(y))) {
        Evaluation atZero = Run(0, 0);
        atZero.value = std::numeric_limits<double>::quiet_NaN();
        return atZero;
    }
    return Run(usesX_ ? RoundToSignificant15(x) : 0, usesY_ ? RoundToSignificant15(y) : 0);
}

double CompiledExpression::InsertValue(double x, int& stepCount) const {
    const Evaluation evaluation = Evaluate(x, 0);
    stepCount = evaluation.passes;
    return evaluation.value;
}

double CompiledExpression::InsertValueXY(double x, double value) const { return Evaluate(x, value).value; }

double InsertValue(std::string_view preparedText, double x, int& stepCount) {
    return CompiledExpression::ForX(preparedText).InsertValue(x, stepCount);
}

double InsertValueXY(std::string_view preparedText, double x, std::string_view variableName, double value) {
    const char name = variableName.size() == 1 ? variableName.front() : 0;
    return CompiledExpression::ForXY(preparedText, name).InsertValueXY(x, value);
}

double EvaluateConstant(std::string& text) {
    PrepareExpression(text);
    int stepCount = 0;
    return InsertValue(text, 0, stepCount);
}

}  // namespace koravin
