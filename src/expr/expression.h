#pragma once

// Evaluation of a prepared expression (see prepare_expression.h) for a value of x, or of x and
// one more variable. The value of each variable enters as the number its 15-digit text reads
// back to; the text is read by a two-stack operator-precedence parser whose passes are counted,
// and a text it cannot make sense of runs out of passes.
//
// A CompiledExpression reads the text once; evaluating it then costs only the passes.

#include <string>
#include <string_view>
#include <vector>

#include "expr/expression_grammar.h"

namespace koravin {

struct Evaluation {
    double value = 0;
    int passes = 0;
};

class CompiledExpression {
public:
    // The single-variable form: every "x" is the variable; any other letter is not understood.
    static CompiledExpression ForX(std::string_view preparedText);
    // The two-variable form: "x" and variableName (a lower-case letter other than x, e, p).
    static CompiledExpression ForXY(std::string_view preparedText, char variableName);

    // f(x); stepCount receives the passes made, above kSingleVariablePassLimit when the text
    // cannot be evaluated (its value must not be used then).
    double InsertValue(double x, int& stepCount) const;
    // f(x, value); gives up after kTwoVariablePassLimit passes and returns what it has.
    double InsertValueXY(double x, double value) const;

private:
    enum class TokenKind : unsigned char { Number, XValue, YValue, Function, UnarySign, Character };
    struct Token {
        TokenKind kind;
        Incoming incoming = Incoming::Other;  // Character
        char character = 0;                   // Character and UnarySign
        FunctionName function = FunctionName::Abs;
        double value = 0;                     // Number
    };

    CompiledExpression(std::string_view preparedText, char variableName, int passLimit);
    Evaluation Run(double xValue, double yValue) const;
    Evaluation Evaluate(double x, double y) const;

    std::vector<Token> tokens_;
    int passLimit_;
    bool usesX_ = false;
    bool usesY_ = false;
};

// The spellings of the design, for callers that evaluate a text once.
double InsertValue(std::string_view preparedText, double x, int& stepCount);
double InsertValueXY(std::string_view preparedText, double x, std::string_view variableName, double value);
// Prepares text in place and evaluates it at x = 0, whatever the pass count.
double EvaluateConstant(std::string& text);

}  // namespace koravin
