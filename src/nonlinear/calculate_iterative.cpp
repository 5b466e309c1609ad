#include <cmath>

#include "nonlinear/nonlinear_commands.h"
#include "nonlinear/nonlinear_common.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"

namespace koravin {

void CalculateIterative(CommandContext& context) {
    Interaction& user = context.user;
    const auto phiText = AskText(user, {"输入函数方程式等价的迭代方程式(即x=)：", "输入迭代方程", "x"});
    if (!phiText) return;
    const auto start = AskNumberAsTyped(user, {"输入函数方程式迭代的初值：", "输入初值", "0"});
    if (!start) return;
    const auto tolerance = AskNumberAsTyped(user, {"输入函数方程式迭代的精度：", "输入精度", "0.0001"});
    if (!tolerance) return;
    double x0 = *start;
    const double e = *tolerance;

    StartReport(context.result, Concat({"函数方程式等价的迭代方程式为:", *phiText, "    精度=", NumberText(e),
                                        kLineEnd, kLineEnd, " x0=", NumberText(x0), kLineEnd}));
    const TypedFunction phi(*phiText);
    context.iterationFunction(*phiText);
    double x1 = 0;
    int i = 0;
    context.mark({0, x0});
    while (true) {
        const auto next = phi.ValueAt(x0, user);
        if (!next) return;
        x1 = *next;
        const double d = std::abs(x1 - x0);
        x0 = x1;
        ++i;
        context.mark({i, x1});
        context.result.append(Concat({" x", IndexText(i), " = ", NumberText(x1), "  |x", IndexText(i), "-", "x",
                                      IndexText(i - 1), "|", " = ", NumberText(d), kLineEnd}));
        if (DifferenceSettled(d, e)) break;
        if (i >= 100) {
            user.tell("此法不合适，可能是迭代方程式不收敛。");
            break;
        }
    }
    const TypedFunction f(EditorFunction(context));
    context.result.append(Concat({kLineEnd, kLineEnd, "迭代 ", IndexText(i), " 次; ", "  结果x= ", NumberText(x1),
                                  "    f(x)=", NumberText(f.CheckValueAt(x1)), kLineEnd}));
}

}  // namespace koravin
