#include <cmath>

#include "nonlinear/nonlinear_commands.h"
#include "nonlinear/nonlinear_common.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"

namespace koravin {

void CalculateXianJie(CommandContext& context) {
    Interaction& user = context.user;
    const std::string_view text = EditorFunction(context);
    const auto lower = AskNumber(user, {"区间下界", "输入数值", "0"});
    if (!lower) return;
    const auto upper = AskNumber(user, {"区间上界", "输入数值", "1"});
    if (!upper) return;
    const auto valueTolerance = AskNumber(user, {"函数值精度", "输入精度", "0.0001"});
    if (!valueTolerance) return;
    const auto stepTolerance = AskNumber(user, {"函数根迭代精度", "输入精度", "0.0001"});
    if (!stepTolerance) return;
    const double a = *lower;
    const double b = *upper;
    const double e1 = *valueTolerance;
    const double e2 = *stepTolerance;

    StartReport(context.result, Concat({" 区间:[", NumberText(a), "  ,  ", NumberText(b), "]        函数值精度 ",
                                        NumberText(e1), "   根迭代精度 ", NumberText(e2), kLineEnd, kLineEnd}));
    const TypedFunction f(text);
    double u = a;
    double w = b;  // the newer of the two points
    double x2 = 0;
    double f2 = 0;
    int i = 0;
    while (true) {
        // Both ends are evaluated afresh in every cycle; nothing is carried over.
        const double x0 = u;
        const double x1 = w;
        const auto f0 = f.ValueAt(x0, user);
        if (!f0) return;
        const auto f1 = f.ValueAt(x1, user);
        if (!f1) return;
        x2 = x1 - (x1 - x0) * *f1 / (*f1 - *f0);
        const auto fx2 = f.ValueAt(x2, user);
        if (!fx2) return;
        f2 = *fx2;
        ++i;
        context.mark({i, x2, {{x0, *f0}, {x1, *f1}}});
        context.result.append(
            Concat({" x", IndexText(i), "=", NumberText(x2), "    f(x", IndexText(i), ")=", NumberText(f2), kLineEnd}));
        if (i > 100) {
            user.tell("方法失败，或许在此精度下无根！");
            break;
        }
        if (!(std::abs(f2) >= e1 && std::abs(x2 - x1) >= e2)) break;
        u = x1;
        w = x2;
    }
    context.result.append(SolutionLine(i, x2, f2));
}

}  // namespace koravin
