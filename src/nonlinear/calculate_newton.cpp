#include <cmath>

#include "nonlinear/nonlinear_commands.h"
#include "nonlinear/nonlinear_common.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"

namespace koravin {

void CalculateNewton(CommandContext& context) {
    Interaction& user = context.user;
    const std::string_view text = EditorFunction(context);
    const auto derivativeText = AskText(user, {"输入此方程式的导数方程式", "输入导数方程", "x"});
    if (!derivativeText) return;
    const auto start = AskNumber(user, {"输入计算初值x0", "输入初值", "0"});
    if (!start) return;
    const auto tolerance = AskNumber(user, {"输入计算精度", "输入精度", "0.0001"});
    if (!tolerance) return;
    double x0 = *start;
    const double e = *tolerance;

    StartReport(context.result, Concat({"方程的导数方程式: ", *derivativeText, "      初值x0 = ", NumberText(x0),
                                        "      计算精度 ", NumberText(e), kLineEnd, kLineEnd}));
    const TypedFunction f(text);
    const TypedFunction derivative(*derivativeText);
    // What the closing line shows when the method fails before its first step.
    double x1 = 0;
    double f1 = 0;
    int i = 0;
    context.mark({0, x0});
    while (true) {
        const auto fx = f.ValueAt(x0, user);
        if (!fx) return;
        const auto dx = derivative.ValueAt(x0, user);
        if (!dx) return;
        ++i;
        if (*dx == 0 || i > 100) {
            user.tell("方法失败，在此精度下无根！");
            break;
        }
        x1 = x0 - *fx / *dx;
        const auto fx1 = f.ValueAt(x1, user);
        if (!fx1) return;
        f1 = *fx1;
        context.mark({i, x1, {{x0, *fx}}});
        context.result.append(Concat({" x", IndexText(i), "=", NumberText(x1), "    f(x", IndexText(i), ")=",
                                      NumberText(f1), "    |x", IndexText(i), "-x", IndexText(i - 1), "|=",
                                      NumberText(std::abs(x1 - x0)), kLineEnd}));
        x0 = x1;
        if (!(std::abs(f1) > e)) break;
    }
    context.result.append(Concat({kLineEnd, " x=", NumberText(x1), "    f(x)=", NumberText(f1)}));
}

}  // namespace koravin
