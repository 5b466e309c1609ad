#pragma once

// Evaluation of a prepared expression (see prepare_expression.h) for a value of x, or of x and
// one more variable. The value of each variable enters as the number its 15-digit text reads
// back to; the text is read by a two-stack operator-precedence parser whose passes are counted,
// and a text it cannot make sense of runs out of passes.
//
// A CompiledExpression reads the text and runs the parser once; evaluating it then costs only
// the arithmetic.

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

    // Whether the text can be evaluated within the pass limit of its form. The parser's course
    // does not depend on the values, so this holds for every value alike.
    bool CanBeEvaluated() const { return passes_ <= passLimit_; }

private:
    // What an evaluation does to the operand stack, in order. Which operator meets which
    // character never depends on the values, so the parser's whole course, and its pass count,
    // are settled once when the text is compiled; an evaluation only replays the arithmetic.
    struct Step {
        enum class Kind : unsigned char { PushNumber, PushX, PushY, Add, Subtract, Multiply, Divide, Operator, Function, Negate, Identity };
        Kind kind;
        char character = 0;  // Operator: "\\" or "^"
        FunctionName function = FunctionName::Abs;
        double value = 0;    // PushNumber
    };

    CompiledExpression(std::string_view preparedText, char variableName, int passLimit);
    // The four plain operators are replayed directly; "\\" and "^" through ApplyOperator.
    static Step::Kind BinaryStep(char op);
    double Replay(double xValue, double yValue) const;
    Evaluation Evaluate(double x, double y) const;

    std::vector<Step> steps_;
    int passes_ = 0;
    int passLimit_;
    bool usesX_ = false;
    bool usesY_ = false;
};

// The same evaluations for callers that evaluate a text once.
double InsertValue(std::string_view preparedText, double x, int& stepCount);
double InsertValueXY(std::string_view preparedText, double x, std::string_view variableName, double value);
// Prepares text in place and evaluates it at x = 0, whatever the pass count.
double EvaluateConstant(std::string& text);

}  // namespace koravin
