#include <cmath>

#include "nonlinear/nonlinear_commands.h"
#include "nonlinear/nonlinear_common.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"

namespace koravin {

void CalculateAitken(CommandContext& context) {
    Interaction& user = context.user;
    const auto phiText = AskText(user, {"输入函数方程式迭代的方程式：", "输入迭代的方程式", "x"});
    if (!phiText) return;
    const auto start = AskNumber(user, {"输入函数方程式迭代的初值：", "输入初值", "0"});
    if (!start) return;
    const auto tolerance = AskNumber(user, {"输入函数方程式迭代的精度：", "输入精度", "0.0001"});
    if (!tolerance) return;
    double x0 = *start;
    const double e = *tolerance;

    StartReport(context.result, Concat({"函数方程式迭代的方程式: ", *phiText, "    初值x0=", NumberText(x0),
                                        "    精度e=", NumberText(e), kLineEnd, kLineEnd}));
    const TypedFunction phi(*phiText);
    context.iterationFunction(*phiText);
    double x3 = 0;
    int i = 0;
    context.mark({0, x0});
    while (true) {
        const auto first = phi.ValueAt(x0, user);
        if (!first) return;
        const double x1 = *first;
        const auto second = phi.ValueAt(x1, user);
        if (!second) return;
        const double x2 = *second;
        // Aitken's step as a correction of x0: the equal quotient (x2·x0 - x1·x1) / (...) takes the
        // difference of two nearly equal products near the root and loses almost every digit.
        // A vanishing denominator is left to give Inf or NaN; a NaN difference then ends the loop.
        x3 = x0 - (x1 - x0) * (x1 - x0) / (x2 - 2 * x1 + x0);
        ++i;
        context.mark({i, x3});
        const double d = std::abs(x3 - x0);
        context.result.append(Concat({" x", IndexText(i), "1=", NumberText(x1), "     x", IndexText(i), "2=",
                                      NumberText(x2), "     x", IndexText(i), "=", NumberText(x3), "     |x",
                                      IndexText(i), "-x", IndexText(i - 1), "|=", NumberText(d), kLineEnd}));
        if (DifferenceSettled(d, e)) break;
        x0 = x3;
        if (i >= 100) {
            user.tell(kNoRootForStartMessage);
            break;
        }
    }
    const TypedFunction f(EditorFunction(context));
    context.result.append(SolutionLine(i, x3, f.CheckValueAt(x3)));
}

}  // namespace koravin
