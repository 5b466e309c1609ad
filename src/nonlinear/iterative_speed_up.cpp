#include <cmath>

#include "nonlinear/nonlinear_commands.h"
#include "nonlinear/nonlinear_common.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"

namespace koravin {

void IterativeSpeedUp(CommandContext& context) {
    Interaction& user = context.user;
    const auto phiText = AskText(user, {"输入函数方程式迭代的方程式：", "输入迭代的方程式", "x"});
    if (!phiText) return;
    const auto start = AskNumber(user, {"输入函数方程式迭代的初值：", "输入初值", "0"});
    if (!start) return;
    const auto factor = AskNumber(user, {"输入函数方程式迭代的因子0<q<1：", "输入迭代的因子值", "0.45"});
    if (!factor) return;
    const double q = *factor;
    if (!(0 < q && q < 1)) {
        user.tell("迭代的因子值有误！迭代的因子q范围0<q<1");
        return;
    }
    const auto tolerance = AskNumber(user, {"输入函数方程式迭代的精度：", "输入精度", "0.0001"});
    if (!tolerance) return;
    const double x0 = *start;
    const double e = *tolerance;

    StartReport(context.result, Concat({"函数方程式的迭代方程式: ", *phiText, "    初值x0=", NumberText(x0),
                                        "    精度e=", NumberText(e), "    迭代的因子q=", NumberText(q), kLineEnd,
                                        kLineEnd}));
    const TypedFunction phi(*phiText);
    context.iterationFunction(*phiText);
    double x = x0;
    double x2 = 0;
    int i = 0;
    context.mark({0, x0});
    while (true) {
        const auto next = phi.ValueAt(x, user);
        if (!next) return;
        const double x1 = *next;
        // Each term is divided by 1 - q on its own, as the method is written.
        x2 = x1 / (1 - q) - q * x / (1 - q);
        ++i;
        context.mark({i, x2});
        const double d = std::abs(x1 - x);
        context.result.append(Concat({" x", IndexText(i), "1=", NumberText(x1), "       x", IndexText(i), "2=",
                                      NumberText(x2), "     |x", IndexText(i), "-x", IndexText(i - 1),
                                      "|=", NumberText(d), kLineEnd}));
        if (DifferenceSettled(d, e)) break;
        // The iteration goes on from the plain iterate; the accelerated value is only reported.
        x = x1;
        if (i >= 50) {
            user.tell(kNoRootForStartMessage);
            break;
        }
    }
    const TypedFunction f(EditorFunction(context));
    context.result.append(SolutionLine(i, x2, f.CheckValueAt(x2)));
}

}  // namespace koravin
