#pragma once

// The pieces of the evaluator's language that every evaluator of it shares: what a number
// literal is, the function names, the precedence relation and the arithmetic of each operator.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace koravin {

struct NumberLiteral {
    bool isNumber = false;    // the front of the text counts as a number
    double value = 0;         // the literal's value (0 when there is none)
    std::size_t consumed = 0; // the literal and the digits, "." and blanks directly after it
};

// The number test at the front of a text: at most one sign, digits with at most one ".", an
// optional exponent E or e with an optional sign and at least one digit. The front is a number
// when its value is not 0, or it starts with "0", ".", "+0" or "-0".
NumberLiteral ScanNumberLiteral(std::string_view front);

enum class FunctionName : std::uint8_t { Sin, Cos, Tan, Exp, Sqr, Abs, Log, Atn, Lgg, Lg2 };

// The function whose three-letter name begins the text, if any ("exp" is written "eyp" in a
// prepared text and restored before evaluation).
std::optional<FunctionName> MatchFunctionName(std::string_view front);

double ApplyFunction(FunctionName name, double a);

// op is one of + - * / \ ^.
double ApplyOperator(double a, char op, double b);

// What may stand on the operator stack. Unary signs are met where an operand must begin.
enum class StackSymbol : std::uint8_t { Bottom, Hash, LeftParen, AddSub, MulDiv, Power, Function, UnarySign };

// What an incoming character is for the precedence table.
enum class Incoming : std::uint8_t { AddSub, MulDiv, Power, LeftParen, RightParen, Hash, Other };

enum class Relation : std::uint8_t { None, Shift, Match, Reduce };

Incoming ClassifyIncoming(char c);
Relation PrecedenceRelation(StackSymbol top, Incoming incoming);

inline constexpr int kSingleVariablePassLimit = 5000;
inline constexpr int kTwoVariablePassLimit = 1000;

}  // namespace koravin
