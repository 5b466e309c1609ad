#include "expr/expression.h"

#include <array>
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

// A stack that lives on the caller's stack while it is small, so that an ordinary evaluation
// allocates nothing. Popping the permanent bottom yields it and leaves it there.
template <typename T>
class ScratchStack {
public:
    ScratchStack(std::size_t capacity, T bottom) {
        if (capacity > inline_.size()) {
            heap_.resize(capacity);
            data_ = heap_.data();
        }
        data_[0] = bottom;
    }
    ScratchStack(const ScratchStack&) = delete;
    ScratchStack& operator=(const ScratchStack&) = delete;

    void push(T value) { data_[size_++] = value; }
    T pop() { return size_ == 1 ? data_[0] : data_[--size_]; }
    std::size_t size() const { return size_; }
    const T& operator[](std::size_t i) const { return data_[i]; }

private:
    std::array<T, 64> inline_;
    std::vector<T> heap_;
    T* data_ = inline_.data();
    std::size_t size_ = 1;
};

enum class TokenKind : unsigned char { Number, XValue, YValue, Function, UnarySign, Character };

struct Token {
    TokenKind kind;
    Incoming incoming = Incoming::Other;  // Character
    char character = 0;                   // Character and UnarySign
    FunctionName function = FunctionName::Abs;
    double value = 0;                     // Number
};

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

struct TokenList {
    std::vector<Token> tokens;
    bool usesX = false;
    bool usesY = false;
};

// Reads the text into tokens as the parser will meet them: each substituted variable as "(",
// its value and ")", each number literal as one value.
TokenList Tokenize(std::string_view text, char variableName) {
    TokenList list;
    std::vector<Token>& tokens = list.tokens;
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
        tokens.push_back({TokenKind::Character, incoming, c});
        operandStart = incoming == Incoming::LeftParen || incoming == Incoming::AddSub ||
                       incoming == Incoming::MulDiv || incoming == Incoming::Power;
    };
    while (i < text.size()) {
        if (substituted(i)) {
            const bool isX = text[i] == 'x';
            (isX ? list.usesX : list.usesY) = true;
            addCharacter('(');
            tokens.push_back({isX ? TokenKind::XValue : TokenKind::YValue});
            addCharacter(')');
            ++i;
            continue;
        }
        // A literal ends where a substituted variable begins, as its "(" would end it.
        const std::string_view front = text.substr(i, nextSubstituted[i] - i);
        if (const NumberLiteral literal = ScanNumberLiteral(front); literal.isNumber) {
            tokens.push_back({TokenKind::Number, Incoming::Other, 0, FunctionName::Abs, literal.value});
            i += literal.consumed;
            operandStart = false;
            continue;
        }
        if (restoredExp[i]) {
            tokens.push_back({TokenKind::Function, Incoming::Other, 0, FunctionName::Exp});
            i += 3;
            operandStart = false;
            continue;
        }
        if (front.size() >= 3) {
            if (const auto function = MatchFunctionName(front); function && *function != FunctionName::Exp) {
                tokens.push_back({TokenKind::Function, Incoming::Other, 0, *function});
                i += 3;
                operandStart = false;
                continue;
            }
        }
        if (operandStart && (text[i] == '+' || text[i] == '-')) {
            tokens.push_back({TokenKind::UnarySign, Incoming::Other, text[i]});
            ++i;
            continue;
        }
        addCharacter(text[i]);
        ++i;
    }
    addCharacter('#');
    return list;
}

}  // namespace

CompiledExpression::Step::Kind CompiledExpression::BinaryStep(char op) {
    switch (op) {
        case '+': return Step::Kind::Add;
        case '-': return Step::Kind::Subtract;
        case '*': return Step::Kind::Multiply;
        case '/': return Step::Kind::Divide;
        default: return Step::Kind::Operator;
    }
}

CompiledExpression CompiledExpression::ForX(std::string_view preparedText) {
    return CompiledExpression(preparedText, 0, kSingleVariablePassLimit);
}

CompiledExpression CompiledExpression::ForXY(std::string_view preparedText, char variableName) {
    return CompiledExpression(preparedText, variableName, kTwoVariablePassLimit);
}

CompiledExpression::CompiledExpression(std::string_view text, char variableName, int passLimit)
    : passLimit_(passLimit) {
    const TokenList list = Tokenize(text, variableName);
    const std::vector<Token>& tokens = list.tokens;
    usesX_ = list.usesX;
    usesY_ = list.usesY;
    std::vector<Operator> operators{{StackSymbol::Bottom, 0, FunctionName::Abs}, {StackSymbol::Hash, '#', FunctionName::Abs}};
    // Popping the permanent bottom yields it and leaves it there.
    const auto popOperator = [&operators] {
        const Operator op = operators.back();
        if (operators.size() > 1) operators.pop_back();
        return op;
    };
    std::size_t next = 0;
    while (next < tokens.size()) {
        const Token& token = tokens[next];
        switch (token.kind) {
            case TokenKind::Number: steps_.push_back({Step::Kind::PushNumber, 0, FunctionName::Abs, token.value}); ++next; break;
            case TokenKind::XValue: steps_.push_back({Step::Kind::PushX}); ++next; break;
            case TokenKind::YValue: steps_.push_back({Step::Kind::PushY}); ++next; break;
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
                            steps_.push_back({Step::Kind::Function, 0, op.function});
                        } else if (op.symbol == StackSymbol::UnarySign) {
                            steps_.push_back({op.character == '-' ? Step::Kind::Negate : Step::Kind::Identity});
                        } else {
                            steps_.push_back({BinaryStep(op.character), op.character});
                        }
                        break;
                    }
                    case Relation::None:
                        // Nothing can be consumed any more: the loop would spin to its limit.
                        passes_ = passLimit;
                        next = tokens.size();
                        break;
                }
                break;
        }
        if (++passes_ > passLimit) break;
    }
}

double CompiledExpression::Replay(double xValue, double yValue) const {
    // Every step pushes one operand; an operator that finds nothing to pop takes the bottom 0.
    ScratchStack<double> operands(steps_.size() + 1, 0.0);
    for (const Step& step : steps_) {
        switch (step.kind) {
            case Step::Kind::PushNumber: operands.push(step.value); break;
            case Step::Kind::PushX: operands.push(xValue); break;
            case Step::Kind::PushY: operands.push(yValue); break;
            case Step::Kind::Function: operands.push(ApplyFunction(step.function, operands.pop())); break;
            case Step::Kind::Negate: operands.push(-operands.pop()); break;
            case Step::Kind::Identity: operands.push(operands.pop()); break;
            default: {
                const double b = operands.pop();
                const double a = operands.pop();
                switch (step.kind) {
                    case Step::Kind::Add: operands.push(a + b); break;
                    case Step::Kind::Subtract: operands.push(a - b); break;
                    case Step::Kind::Multiply: operands.push(a * b); break;
                    case Step::Kind::Divide: operands.push(a / b); break;
                    default: operands.push(ApplyOperator(a, step.character, b)); break;
                }
                break;
            }
        }
    }
    return operands.size() > 1 ? operands[1] : 0;
}

Evaluation CompiledExpression::Evaluate(double x, double y) const {
    // A variable that is not a number makes the value not a number; whether the text can be
    // evaluated at all is judged as at 0.
    if ((usesX_ && !std::isfinite(x)) || (usesY_ && !std::isfinite(y))) {
        return {std::numeric_limits<double>::quiet_NaN(), passes_};
    }
    return {Replay(usesX_ ? RoundToSignificant15(x) : 0, usesY_ ? RoundToSignificant15(y) : 0), passes_};
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

namespace {

// A plain decimal such as "-123.456": preparing leaves it as it is, and the evaluator reads it
// whole as one literal. Most entries of a typed matrix are such numbers.
std::optional<double> PlainDecimalValue(std::string_view text) {
    std::size_t i = text.starts_with('-') ? 1 : 0;
    if (i == text.size() || text[i] < '0' || text[i] > '9') return std::nullopt;
    bool seenPoint = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') continue;
        if (text[i] != '.' || seenPoint) return std::nullopt;
        seenPoint = true;
    }
    return ParseDecimal(text);
}

}  // namespace

double EvaluateConstant(std::string& text) {
    if (const std::optional<double> value = PlainDecimalValue(text)) return *value;
    PrepareExpression(text);
    int stepCount = 0;
    return InsertValue(text, 0, stepCount);
}

}  // namespace koravin
