// The checks of the direct solvers, the inverse and the determinant.

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include <Eigen/Dense>

#include "checks/check_families.h"
#include "checks/check_text.h"
#include "checks/linear_system.h"
#include "checks/trusted_digits.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"
#include "steps/stop_request.h"

namespace koravin {
namespace {

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();
// The unit roundoff u = 2^-53: each double operation is exact to within a factor 1 ± u.
constexpr double kUnitRoundoff = kEpsilon / 2;

struct Condition {
    enum class Kind { Known, Singular, NumericallySingular, NotFinite };
    Kind kind = Kind::NotFinite;
    double value = 0;        // κ∞(A)
    double inverseNorm = 0;  // ‖A⁻¹‖∞, or κ∞(A)/‖A‖∞ where κ∞(A) is estimated
    std::optional<Eigen::MatrixXd> inverse{};  // A⁻¹ up to the order limit
};

bool ZeroPivot(const Eigen::PartialPivLU<Eigen::MatrixXd>& lu) {
    const auto pivots = lu.matrixLU().diagonal();
    return !pivots.allFinite() || (pivots.array() == 0.0).any();
}

// κ∞(A) = ‖A‖∞·‖A⁻¹‖∞, from the inverse up to the order limit; above it the LU of Aᵀ estimates
// ‖(Aᵀ)⁻¹‖₁ = ‖A⁻¹‖∞ without forming the inverse. Beyond 1/ε a perturbation of A by its own
// rounding can make it singular: the computed κ is then a number without meaning.
template <typename Derived>
Condition ConditionOf(const Eigen::MatrixBase<Derived>& a) {
    if (!a.allFinite()) return {};
    const double norm = InfinityNorm(a);
    Condition condition;
    if (a.rows() <= kExactConditionOrderLimit) {
        const Eigen::PartialPivLU<Eigen::MatrixXd> lu(a);
        BetweenSteps();
        if (ZeroPivot(lu)) return {Condition::Kind::Singular};
        condition.inverse = lu.inverse();
        condition.inverseNorm = InfinityNorm(*condition.inverse);
        condition.value = norm * condition.inverseNorm;
    } else {
        const Eigen::PartialPivLU<Eigen::MatrixXd> lu(a.transpose());
        BetweenSteps();
        if (ZeroPivot(lu)) return {Condition::Kind::Singular};
        condition.value = 1 / lu.rcond();
        condition.inverseNorm = condition.value / norm;
    }
    condition.kind = condition.value * kEpsilon < 1 ? Condition::Kind::Known : Condition::Kind::NumericallySingular;
    return condition;
}

void AddConditionLine(const Condition& condition, CheckResults& results) {
    results.add("condition_inf", condition.kind == Condition::Kind::Known ? std::optional(condition.value) : std::nullopt);
    switch (condition.kind) {
        case Condition::Kind::Known: {
            const std::string kappa = ShortNumberText(condition.value);
            results.lines.push_back(condition.inverse ? "条件数 κ∞(A) = ‖A‖∞·‖A⁻¹‖∞ = " + kappa
                                                      : "条件数 κ∞(A) ≈ " + kappa + "（阶数超过 " +
                                                            IndexText(kExactConditionOrderLimit) + "，为估计值）");
            break;
        }
        case Condition::Kind::NumericallySingular:
            results.lines.push_back("矩阵数值奇异：κ∞(A) 超过 1/ε ≈ " + ShortNumberText(1 / kEpsilon) +
                                    "，舍入误差就足以使它奇异，条件数没有可靠的值。");
            break;
        case Condition::Kind::Singular: results.lines.push_back("矩阵奇异：列主元消元遇到零主元，条件数为无穷大。"); break;
        case Condition::Kind::NotFinite: results.lines.push_back("矩阵含非有限元素，条件数无法计算。"); break;
    }
}

// The answer as the method computed it; a run that recorded only the printed one stands for it.
const std::vector<double>& MethodAnswer(const std::vector<double>& computed, const std::vector<double>& printed) {
    return computed.size() == printed.size() ? computed : printed;
}

// x̃ - x = A⁻¹(A·x̃ - b) exactly, so |x̃ - x| ≤ |A⁻¹|·|b - A·x̃| entry by entry. The computed
// residual itself is off by at most (n+1)u(|A|·|x̃| + |b|), which is added to it. Where only an
// estimate of ‖A⁻¹‖∞ is at hand, every entry gets the bound of the largest.
std::vector<double> SolutionErrorBounds(const RunFacts& facts, const std::vector<double>& computed,
                                        const Condition& condition) {
    const int n = facts.order;
    const auto a = Augmented(facts).leftCols(n);
    const auto b = Augmented(facts).col(n);
    const Eigen::Map<const Eigen::VectorXd> x(computed.data(), n);
    if (!x.allFinite()) return std::vector<double>(computed.size(), INFINITY);
    const Eigen::VectorXd residual =
        (b - a * x).cwiseAbs() + (n + 1) * kUnitRoundoff * (a.cwiseAbs() * x.cwiseAbs() + b.cwiseAbs());
    if (condition.inverse) {
        const Eigen::VectorXd bound = condition.inverse->cwiseAbs() * residual;
        return {bound.data(), bound.data() + n};
    }
    return std::vector<double>(computed.size(), condition.inverseNorm * residual.maxCoeff());
}

// With R = I - A·X: A⁻¹ - X = X·R·(I - R)⁻¹. To first order |X - A⁻¹| ≤ |X|·|R|, whose (i, j)
// entry is at most row i's Σ|X| times column j's largest |R|; dividing by 1 - ‖R‖∞ covers the
// higher terms of the Neumann series. The computed R is off by at most (n+1)u·|A|·|X|, whose
// column j is at most (n+1)u·‖A‖∞·max|X(:, j)|. With ‖R‖∞ ≥ 1 there is no bound.
std::vector<double> InverseErrorBounds(const RunFacts& facts, const std::vector<double>& computed) {
    const int n = facts.order;
    const auto a = Augmented(facts).leftCols(n);
    const Eigen::Map<const RowMajorMatrix> x(computed.data(), n, n);
    if (!x.allFinite()) return std::vector<double>(computed.size(), INFINITY);
    const Eigen::MatrixXd r = Eigen::MatrixXd::Identity(n, n) - a * x;
    BetweenSteps();
    const double normR = InfinityNorm(r);
    if (!(normR < 1)) return std::vector<double>(computed.size(), INFINITY);
    const Eigen::RowVectorXd columns =
        r.cwiseAbs().colwise().maxCoeff() + (n + 1) * kUnitRoundoff * InfinityNorm(a) * x.cwiseAbs().colwise().maxCoeff();
    const Eigen::VectorXd rows = x.cwiseAbs().rowwise().sum();
    std::vector<double> bounds;
    bounds.reserve(computed.size());
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) bounds.push_back(rows(i) * columns(j) / (1 - normR));
    }
    return bounds;
}

// What the checks say of a solution or an inverse: its name and how its entries are called.
struct Answer {
    std::string_view name;         // "解", "逆矩阵"
    std::string_view entries;      // "分量", "元素"
    std::string_view beforeValue;  // between an entry's name and its printed value
    std::string (*label)(std::size_t entry, int order);
    bool latinLabel;               // set off by blanks inside a Chinese sentence
};

std::string SolutionEntry(std::size_t entry, int /*order*/) { return "x(" + IndexText(static_cast<long long>(entry) + 1) + ")"; }

std::string InverseEntry(std::size_t entry, int order) {
    const auto n = static_cast<std::size_t>(order);
    return "第 " + IndexText(static_cast<long long>(entry / n) + 1) + " 行第 " + IndexText(static_cast<long long>(entry % n) + 1) +
           " 列的元素";
}

constexpr Answer kSolution{"解", "分量", "=", SolutionEntry, true};
constexpr Answer kInverse{"逆矩阵", "元素", " ", InverseEntry, false};

// What the line on the answer's digits rests on.
struct Evidence {
    std::span<const double> printed;
    int places = 0;
    int order = 0;
    std::optional<double> residual{};  // of the printed answer
    Condition::Kind condition = Condition::Kind::NotFinite;
    double errorAtLeast = 0;           // some entry of the printed answer is off by this much
    std::string atLeastReason{};       // how that was found
    std::vector<double> errorAtMost{};  // entry by entry, the most the computed answer is off
    std::string atMostRule{};           // the rule that gave it, before the entry's name
};

void AddDigitsVerdict(const Answer& answer, const Evidence& evidence, CheckResults& results) {
    const std::string name(answer.name);
    const auto say = [&](std::optional<double> digits, std::string line) {
        results.add("trusted_digits", digits);
        results.lines.push_back(std::move(line));
    };
    const auto finite = [](double v) { return std::isfinite(v); };
    if (!std::all_of(evidence.printed.begin(), evidence.printed.end(), finite)) {
        return say(0.0, name + "中有 Inf 或 NaN：这个" + name + "不可信。");
    }
    if (!evidence.residual) return say(std::nullopt, "残差无法计算：无法判断" + name + "有几位有效数字可信。");
    if (evidence.condition == Condition::Kind::Singular || evidence.condition == Condition::Kind::NumericallySingular) {
        const std::string_view singular = evidence.condition == Condition::Kind::Singular ? "矩阵奇异" : "矩阵数值奇异";
        return say(0.0, std::string(singular) + "：这个" + name + "不可信。");
    }
    const auto nonzero = [](double v) { return v != 0; };
    if (std::none_of(evidence.printed.begin(), evidence.printed.end(), nonzero)) {
        // Only b = 0 gives a zero residual for x = 0 (an inverse is never 0).
        if (*evidence.residual == 0) return say(double{kMostPrintedDigits}, "b = 0，x = 0 代回方程组残差为 0：x = 0 正是方程组的解。");
        return say(0.0, "报告保留 " + IndexText(evidence.places) + " 位小数，" + name + "的各" + std::string(answer.entries) +
                            "都印成了 0：" + name + "可能一位有效数字也不可信。");
    }

    const DigitsVerdict verdict =
        TrustedDigits({evidence.printed, evidence.places, evidence.errorAtLeast, evidence.errorAtMost});
    const std::string entry = answer.label(verdict.entry, evidence.order);
    std::string reason;
    switch (verdict.limit) {
        case DigitsLimit::Printed: {
            const double value = evidence.printed[verdict.entry];
            reason = "保留 " + IndexText(evidence.places) + " 位小数时" + (answer.latinLabel ? " " : "") + entry +
                     std::string(answer.beforeValue) + NumberText(value) + " 只含 " +
                     IndexText(PrintedDigits(value, evidence.places)) + " 位有效数字";
            break;
        }
        case DigitsLimit::PrintLength: reason = "报告中的数最多印出 " + IndexText(kMostPrintedDigits) + " 位有效数字"; break;
        case DigitsLimit::Residual: reason = evidence.atLeastReason; break;
        case DigitsLimit::Computation: {
            const double bound = evidence.errorAtMost[verdict.entry];
            const std::string spaced = answer.latinLabel ? " " + entry + " " : entry;
            reason = evidence.atMostRule + spaced + (std::isfinite(bound) ? "误差可达 " + ShortNumberText(bound) : "误差没有界");
            break;
        }
    }
    say(static_cast<double>(verdict.digits),
        verdict.digits >= 1 ? name + "约有 " + IndexText(verdict.digits) + " 位有效数字可信：" + reason + "。"
                            : name + "可能一位有效数字也不可信：" + reason + "。");
}

}  // namespace

void AddDirectSolverChecks(const RunFacts& facts, int places, CheckResults& results) {
    const auto a = Augmented(facts).leftCols(facts.order);
    const Residual residual = ResidualOf(facts, facts.solution);
    AddValueLine(results, "residual_inf", "残差 ‖b-Ax‖∞", residual.norm);
    AddValueLine(results, "relative_residual", "相对残差 ‖b-Ax‖∞/(‖A‖∞·‖x‖∞)", residual.relative);
    const Condition condition = ConditionOf(a);
    AddConditionLine(condition, results);

    Evidence evidence{.printed = facts.solution, .places = places, .order = facts.order, .residual = residual.norm,
                      .condition = condition.kind};
    if (residual.norm && condition.kind == Condition::Kind::Known) {
        // b - A·x̂ = A(x - x̂) and ‖A(x - x̂)‖∞ ≤ ‖A‖∞·‖x - x̂‖∞: some entry of x̂ is off by at least
        // ‖b - A·x̂‖∞/‖A‖∞.
        evidence.errorAtLeast = *residual.norm / InfinityNorm(a);
        evidence.atLeastReason = "残差表明有的分量误差至少为 ‖b-Ax‖∞/‖A‖∞ ≈ " + ShortNumberText(evidence.errorAtLeast);
        // The method's own answer, before the report rounded it, carries the rounding the method
        // really applied (every entry it stored rounded to its places, or an elimination whose
        // entries grew), relative to the entries it rounded: its residual measures it.
        evidence.errorAtMost = SolutionErrorBounds(facts, MethodAnswer(facts.methodSolution, facts.solution), condition);
        evidence.atMostRule =
            std::string(condition.inverse ? "按 |x̃-x| ≤ |A⁻¹|·|b-Ax̃|" : "按 ‖x̃-x‖∞ ≤ ‖A⁻¹‖∞·‖b-Ax̃‖∞") + "，舍入前的";
    }
    AddDigitsVerdict(kSolution, evidence, results);
}

void AddInverseChecks(const RunFacts& facts, int places, CheckResults& results) {
    const int n = facts.order;
    const auto a = Augmented(facts).leftCols(n);
    const Eigen::Map<const RowMajorMatrix> printed(facts.inverse.data(), n, n);
    std::optional<Eigen::MatrixXd> residualMatrix;
    if (a.allFinite() && printed.allFinite()) residualMatrix = Eigen::MatrixXd::Identity(n, n) - a * printed;
    BetweenSteps();
    const std::optional<double> residual = residualMatrix ? FiniteOrNothing(InfinityNorm(*residualMatrix)) : std::nullopt;
    AddValueLine(results, "inverse_residual_inf", "‖I-A·A⁻¹‖∞", residual, "（A⁻¹ 取报告中的逆矩阵）");
    const Condition condition = ConditionOf(a);
    AddConditionLine(condition, results);

    Evidence evidence{.printed = facts.inverse, .places = places, .order = n, .residual = residual, .condition = condition.kind};
    if (residual && condition.kind == Condition::Kind::Known) {
        // Each entry of A·E is a row of A times a column of E, so max|A·E| ≤ ‖A‖∞·max|E|.
        evidence.errorAtLeast = residualMatrix->cwiseAbs().maxCoeff() / InfinityNorm(a);
        evidence.atLeastReason = "残差表明有的元素误差至少为 max|I-A·A⁻¹|/‖A‖∞ ≈ " + ShortNumberText(evidence.errorAtLeast);
        evidence.errorAtMost = InverseErrorBounds(facts, MethodAnswer(facts.methodInverse, facts.inverse));
        evidence.atMostRule = "按 |X-A⁻¹| ≤ |X|·|I-A·X|/(1-‖I-A·X‖∞)，舍入前的逆矩阵 X 中";
    }
    AddDigitsVerdict(kInverse, evidence, results);
}

void AddDeterminantChecks(const RunFacts& facts, CheckResults& results) {
    const auto a = Augmented(facts).leftCols(facts.order);
    std::optional<double> determinant;
    if (a.allFinite()) determinant = FiniteOrNothing(Eigen::PartialPivLU<Eigen::MatrixXd>(a).determinant());
    results.add("determinant_double", determinant);
    const std::string reported = facts.determinant ? NumberText(*facts.determinant) : "无";
    results.lines.push_back(determinant ? "不舍入的 LU 分解所得行列式 = " + NumberText(*determinant) + "（报告为 " + reported + "）"
                                        : "不舍入的 LU 分解无法计算行列式。");
}

}  // namespace koravin
