#include "linear/iterative_solver.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "linear/linear_input.h"
#include "matrix/matrix_text.h"
#include "matrix/report.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"
#include "steps/stop_request.h"

namespace koravin {
namespace {

constexpr std::string_view kZeroDiagonalMessage = "此方法不合适,请选择其他方法#";
constexpr std::string_view kNoConvergenceMessage = "本方法不适合解此线形方程组，请用其他方法再试一下#";

double AskTolerance(Interaction& user) {
    const Prompt prompt{"输入迭代精度 e：", "确定迭代精度", "1E-05"};
    for (;;) {
        const double tolerance = ReadLeadingNumber(user.ask(prompt));
        if (!(tolerance > 0.1)) return tolerance;
        if (user.confirm("精度设置不好，确实要这样设置，将会导致结果运算误差太大。", "精度设置提示")) return tolerance;
    }
}

double AskRelaxation(Interaction& user) {
    const Prompt prompt{
        "当0<w<1 时，称为低松弛迭代法(SUR法)\r\n当w>1 时，称为高松弛迭代法(SOR法)\r\n当w=1 时，即为高斯—塞德耳迭代法",
        "输入松弛因子 w ,默认w=1。", "1"};
    const double w = ReadLeadingNumber(user.ask(prompt));
    return w <= 0 ? 1.0 : w;
}

// A zero diagonal entry (NaN counts as zero) stops the first sweep at its row; the matrix never
// changes, so looking before the first sweep finds the same rows.
bool HasZeroDiagonal(const Matrix& augmented, int n) {
    for (int i = 1; i <= n; ++i) {
        if (augmented(i, i) == 0.0 || std::isnan(augmented(i, i))) return true;
    }
    return false;
}

// One sweep from `previous` into `current`, which holds the same values when it starts.
// Jacobi reads only the previous iterate. Gauss-Seidel and relaxation read `current`, whose
// entries before row i are this sweep's and from row i on still the previous sweep's; with
// w = 1 the relaxation step is the Gauss-Seidel step, multiplying by 1 being exact.
void Sweep(const Matrix& augmented, int n, const double* previous, double* current, double w,
           IterativeMethod method) {
    const double* source = method == IterativeMethod::Jacobi ? previous : current;
    for (int i = 1; i <= n; ++i) {
        const double* row = augmented.row(i);
        double s = 0;
        for (int j = 0; j < n; ++j) s = s + row[j] * source[j];
        current[i - 1] = (row[n] - s) * w / row[i - 1] + previous[i - 1];
    }
}

// A change that is not a number does not exceed the tolerance; a change equal to it passes.
bool WithinTolerance(const double* previous, const double* current, int n, double tolerance) {
    for (int i = 0; i < n; ++i) {
        if (std::fabs(current[i] - previous[i]) > tolerance) return false;
    }
    return true;
}

double LargestChange(const double* previous, const double* current, int n) {
    double largest = 0;
    for (int i = 0; i < n; ++i) largest = std::max(largest, std::fabs(current[i] - previous[i]));
    return largest;
}

std::string_view MethodName(IterativeMethod method) {
    switch (method) {
        case IterativeMethod::Jacobi: return "Jacobi";
        case IterativeMethod::GaussSeidel: return "Gauss-Seidel";
        case IterativeMethod::Relaxation: return "SOR";
    }
    return {};
}

bool AllFinite(const double* values, int n) {
    return std::all_of(values, values + n, [](double v) { return std::isfinite(v); });
}

}  // namespace

IterationResult IterateLinearSystem(const Matrix& augmented, Vector x0, double tolerance, double relaxation,
                                    IterativeMethod method) {
    const int n = x0.size();
    Vector x = x0;
    if (HasZeroDiagonal(augmented, n)) return {IterationResult::Outcome::ZeroDiagonal, 0, x, {}};
    double* previous = &x0(1);
    double* current = &x(1);
    std::vector<double> changes;
    for (int sweeps = 1;; ++sweeps) {
        BetweenSteps();
        Sweep(augmented, n, previous, current, relaxation, method);
        const bool converged = WithinTolerance(previous, current, n, tolerance);
        changes.push_back(LargestChange(previous, current, n));
        // The limit is checked before the test result: a run past the limit fails whatever
        // its last sweep says. An iterate that has overflowed has diverged, even though its
        // NaN changes would pass the test.
        if (sweeps > kSweepLimit || !AllFinite(current, n)) {
            return {IterationResult::Outcome::NoConvergence, sweeps, x, std::move(changes)};
        }
        if (converged) return {IterationResult::Outcome::Converged, sweeps, x, std::move(changes)};
        std::copy(current, current + n, previous);
    }
}

void RunIterativeCommand(CommandContext& context, IterativeMethod method, std::string_view closingLine) {
    context.result.clear();
    Interaction& user = context.user;
    const double tolerance = AskTolerance(user);
    const auto order = AskOrder(user, {"输入数组的阶数 n：", "输入数据", "0"}, 1);
    if (!order) return;
    const int n = *order;

    Matrix augmented(n, n + 1);
    ReadAugmentedMatrix(context.editorText, n, augmented);
    Vector x0(1, n);
    for (int i = 1; i <= n; ++i) {
        x0(i) = ReadLeadingNumber(user.ask({"请给出解x0(" + IndexText(i) + ")的初始值:", "输入初始值", "0"}));
    }
    const double w = method == IterativeMethod::Relaxation ? AskRelaxation(user) : 1.0;

    const IterationResult result = IterateLinearSystem(augmented, std::move(x0), tolerance, w, method);
    if (result.outcome != IterationResult::Outcome::ZeroDiagonal) {
        std::vector<double> iterate(static_cast<std::size_t>(n));
        for (int i = 1; i <= n; ++i) iterate[static_cast<std::size_t>(i - 1)] = result.x(i);
        context.sweeps({MethodName(method), w, n,
                        {augmented.row(1), static_cast<std::size_t>(n) * static_cast<std::size_t>(n + 1)},
                        result.changes, tolerance, iterate, result.outcome == IterationResult::Outcome::Converged});
    }
    switch (result.outcome) {
        case IterationResult::Outcome::ZeroDiagonal: user.tell(kZeroDiagonalMessage); return;
        case IterationResult::Outcome::NoConvergence: user.tell(kNoConvergenceMessage); return;
        case IterationResult::Outcome::Converged: break;
    }

    std::string report;
    AppendMatrixRows(report, augmented, n, n + 1, "  ", std::nullopt);
    if (method == IterativeMethod::Relaxation) {
        report.append(kLineEnd).append("松弛因子 w=").append(NumberText(w));
    }
    report.append(kLineEnd).append("迭代").append(IndexText(result.sweeps)).append("次 ， 求得方程组的解为：");
    report.append(kLineEnd);
    for (int i = 1; i <= n; ++i) {
        report.append("x(").append(IndexText(i)).append(")=");
        report.append(NumberText(RoundDigits(result.x(i), context.decimalDigits))).append(kLineEnd);
    }
    report.append(kLineEnd).append(closingLine);
    context.result.append(report);
}

}  // namespace koravin
