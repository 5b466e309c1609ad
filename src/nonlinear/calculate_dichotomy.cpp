#include <cmath>

#include "nonlinear/nonlinear_commands.h"
#include "nonlinear/nonlinear_common.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"

namespace koravin {

void CalculateDichotomy(CommandContext& context) {
    Interaction& user = context.user;
    const std::string_view text = EditorFunction(context);
    const auto lower = AskNumber(user, {"输入函数方程式迭代的初值下界：", "输入初值", "0"});
    if (!lower) return;
    const auto upper = AskNumber(user, {"输入函数方程式迭代的初值上界：", "输入初值", "1"});
    if (!upper) return;
    const auto tolerance = AskNumber(user, {"输入函数方程式迭代的精度：", "输入精度", "0.0001"});
    if (!tolerance) return;
    double a = *lower;
    double b = *upper;
    const double e = *tolerance;

    StartReport(context.result, Concat({" 初始隔根区间： [", NumberText(a), "  ,  ", NumberText(b), "]",
                                        "       精度为：", NumberText(e), kLineEnd, kLineEnd}));
    const TypedFunction f(text);
    context.mark({0, a, {}, std::pair(a, b)});
    int i = 0;
    while (true) {
        const auto fa = f.ValueAt(a, user);
        if (!fa) return;
        const double c = (a + b) / 2;
        const auto fc = f.ValueAt(c, user);
        if (!fc) return;
        // A product of 0 (a root at c) moves the lower bound, as any product that is not negative.
        if (*fa * *fc < 0) {
            b = c;
        } else {
            a = c;
        }
        ++i;
        context.mark({i, c, {}, std::pair(a, b)});
        context.result.append(Concat({" x", IndexText(i), " = ", NumberText(c), "   f(x", IndexText(i), ")=",
                                      NumberText(*fc), "        隔根区间： [", NumberText(a), "  ,  ",
                                      NumberText(b), "]", kLineEnd}));
        if (i > 100) {
            user.tell("此区间在此精度下无根！");
            return;
        }
        if (!(b - a > e && std::abs(*fc) > e)) return;
    }
}

}  // namespace koravin
