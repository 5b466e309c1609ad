#include "expr/expression_grammar.h"

#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "numbers/number_conversions.h"

namespace koravin {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

constexpr std::array<std::string_view, 10> kFunctionNames = {"sin", "cos", "tan", "exp", "sqr",
                                                             "abs", "log", "atn", "lgg", "lg2"};

// Rounds to the nearest 32-bit integer, halves to even; nothing when it does not fit.
std::optional<std::int32_t> ToInteger32(double value) {
    if (std::isnan(value)) return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

double IntegerQuotient(double a, double b) {
    const auto dividend = ToInteger32(a);
    const auto divisor = ToInteger32(b);
    if (!dividend || !divisor) return std::numeric_limits<double>::quiet_NaN();
    if (*divisor == 0) return 0;
    return static_cast<double>(static_cast<std::int64_t>(*dividend) / *divisor);
}

double Power(double a, double b) {
    const double result = std::pow(a, b);
    const bool finiteOperands = std::isfinite(a) && std::isfinite(b);
    // No real result (negative base, fractional exponent; zero to a negative power) or beyond
    // the double range: 0.
    if (finiteOperands && !std::isfinite(result)) return 0;
    return result;
}

}  // namespace

NumberLiteral ScanNumberLiteral(std::string_view front) {
    std::size_t i = 0;
    if (i < front.size() && (front[i] == '+' || front[i] == '-')) ++i;
    const std::size_t mantissaStart = i;
    bool anyDigit = false;
    bool seenPoint = false;
    while (i < front.size() && (IsDigit(front[i]) || (front[i] == '.' && !seenPoint))) {
        if (front[i] == '.') {
            seenPoint = true;
        } else {
            anyDigit = true;
        }
        ++i;
    }
    const bool hasMantissa = i > mantissaStart;
    if (anyDigit && i < front.size() && (front[i] == 'E' || front[i] == 'e')) {
        std::size_t j = i + 1;
        if (j < front.size() && (front[j] == '+' || front[j] == '-')) ++j;
        const std::size_t exponentDigits = j;
        while (j < front.size() && IsDigit(front[j])) ++j;
        if (j > exponentDigits) i = j;
    }
    NumberLiteral literal;
    if (anyDigit) literal.value = ParseDecimal(front.substr(0, i)).value_or(0);
    const bool startsAsZero = !front.empty() && (front[0] == '0' || front[0] == '.');
    const bool startsAsSignedZero =
        front.size() >= 2 && (front[0] == '+' || front[0] == '-') && front[1] == '0';
    literal.isNumber = hasMantissa && (literal.value != 0 || startsAsZero || startsAsSignedZero);
    if (!literal.isNumber) return literal;
    while (i < front.size() && (IsDigit(front[i]) || front[i] == '.' || front[i] == ' ')) ++i;
    literal.consumed = i;
    return literal;
}

std::optional<FunctionName> MatchFunctionName(std::string_view front) {
    const std::string_view head = front.substr(0, 3);
    for (std::size_t k = 0; k < kFunctionNames.size(); ++k) {
        if (head == kFunctionNames[k]) return static_cast<FunctionName>(k);
    }
    return std::nullopt;
}

double ApplyFunction(FunctionName name, double a) {
    switch (name) {
        case FunctionName::Abs: return std::fabs(a);
        case FunctionName::Sqr: return a < 0 ? 0 : std::sqrt(a);
        case FunctionName::Exp: {
            const double result = std::exp(a);
            return std::isinf(result) && std::isfinite(a) ? 0 : result;
        }
        case FunctionName::Log: return a <= 0 ? 0 : std::log(a);
        case FunctionName::Sin: return std::sin(a);
        case FunctionName::Cos: return std::cos(a);
        case FunctionName::Tan: return std::tan(a);
        case FunctionName::Atn: return std::atan(a);
        // The common and binary logarithms divide by these 15-digit constants, not by ln 10 and ln 2.
        case FunctionName::Lgg: return a <= 0 ? 0 : std::log(a) / 2.30258509299405;
        case FunctionName::Lg2: return a <= 0 ? 0 : std::log(a) / 0.693147180559945;
    }
    return 0;
}

double ApplyOperator(double a, char op, double b) {
    switch (op) {
        case '+': return a + b;
        case '-': return a - b;
        case '*': return a * b;
        case '/': return a / b;
        case '\\': return IntegerQuotient(a, b);
        case '^': return Power(a, b);
        default: return 0;
    }
}

Incoming ClassifyIncoming(char c) {
    switch (c) {
        case '+':
        case '-': return Incoming::AddSub;
        case '*':
        case '/':
        case '\\': return Incoming::MulDiv;
        case '^': return Incoming::Power;
        case '(': return Incoming::LeftParen;
        case ')': return Incoming::RightParen;
        case '#': return Incoming::Hash;
        default: return Incoming::Other;
    }
}

Relation PrecedenceRelation(StackSymbol top, Incoming incoming) {
    constexpr Relation N = Relation::None, S = Relation::Shift, M = Relation::Match, R = Relation::Reduce;
    // Columns: + -, * / \, ^, (, ), #, other.
    static constexpr Relation table[8][7] = {
        /* bottom     */ {N, N, N, N, N, N, N},
        /* #          */ {S, S, S, S, N, M, N},
        /* (          */ {S, S, S, S, M, N, N},
        /* + -        */ {R, S, S, S, R, R, N},
        /* * / \      */ {R, R, S, S, R, R, N},
        /* ^          */ {R, R, R, S, R, R, N},
        /* function   */ {R, R, R, S, R, R, N},
        // A unary sign binds tighter than the products and looser than "^".
        /* unary sign */ {R, R, S, S, R, R, N},
    };
    return table[static_cast<int>(top)][static_cast<int>(incoming)];
}

}  // namespace koravin
