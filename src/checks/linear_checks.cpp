#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include <Eigen/Dense>

#include "checks/check_families.h"
#include "checks/check_text.h"
#include "checks/iteration_matrix.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"
#include "steps/stop_request.h"

namespace koravin {
namespace {

using RowMajorMatrix = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;

// The recorded augmented system [A b], viewed in place.
Eigen::Map<const RowMajorMatrix> Augmented(const RunFacts& facts) {
    return {facts.system.data(), facts.order, facts.order + 1};
}

template <typename Derived>
double InfinityNorm(const Eigen::MatrixBase<Derived>& m) {
    return m.cwiseAbs().rowwise().sum().maxCoeff();
}

// "label = value note", or "label：无法计算。"
void AddValueLine(CheckResults& results, std::string_view key, std::string_view label, std::optional<double> value,
                  std::string_view note = {}) {
    results.add(key, value);
    results.lines.push_back(std::string(label) + (value ? " = " + ShortNumberText(*value) + std::string(note) : "：无法计算。"));
}

// ‖b − A·x‖∞ and ‖b − A·x‖∞ / (‖A‖∞·‖x‖∞).
void AddResiduals(const RunFacts& facts, const std::vector<double>& answer, std::string_view subject,
                  CheckResults& results) {
    const auto a = Augmented(facts).leftCols(facts.order);
    const auto b = Augmented(facts).col(facts.order);
    const Eigen::Map<const Eigen::VectorXd> x(answer.data(), static_cast<Eigen::Index>(answer.size()));
    // The largest entry of a vector with a NaN in it is not defined: such a residual has no value.
    const bool finite = a.allFinite() && b.allFinite() && x.allFinite();
    const double residual = finite ? (b - a * x).lpNorm<Eigen::Infinity>() : std::nan("");
    const double relative = residual / (InfinityNorm(a) * x.lpNorm<Eigen::Infinity>());
    const std::string label = subject.empty() ? "残差 ‖b-Ax‖∞" : std::string(subject) + "的残差 ‖b-Ax‖∞";
    AddValueLine(results, "residual_inf", label, FiniteOrNothing(residual));
    if (subject.empty()) AddValueLine(results, "relative_residual", "相对残差 ‖b-Ax‖∞/(‖A‖∞·‖x‖∞)", FiniteOrNothing(relative));
}

struct Condition {
    std::optional<double> value;
    bool estimated = false;
};

bool Singular(const Eigen::PartialPivLU<Eigen::MatrixXd>& lu) {
    const auto pivots = lu.matrixLU().diagonal();
    return !pivots.allFinite() || (pivots.array() == 0.0).any();
}

// κ∞(A) = ‖A‖∞·‖A⁻¹‖∞, from the inverse up to the order limit; above it the LU of Aᵀ estimates
// ‖(Aᵀ)⁻¹‖₁ = ‖A⁻¹‖∞ without forming the inverse.
template <typename Derived>
Condition ConditionNumber(const Eigen::MatrixBase<Derived>& a) {
    if (!a.allFinite()) return {};
    if (a.rows() <= kExactConditionOrderLimit) {
        const Eigen::PartialPivLU<Eigen::MatrixXd> lu(a);
        BetweenSteps();
        if (Singular(lu)) return {};
        return {FiniteOrNothing(InfinityNorm(a) * InfinityNorm(lu.inverse())), false};
    }
    const Eigen::PartialPivLU<Eigen::MatrixXd> lu(a.transpose());
    BetweenSteps();
    if (Singular(lu)) return {};
    const double reciprocal = lu.rcond();
    if (!(reciprocal > 0)) return {};
    return {FiniteOrNothing(1 / reciprocal), true};
}

// κ∞(A) and, for `answer` ("解" or "逆矩阵"), what it means at the report's decimal places:
// roughly κ·10^-places is the relative error to expect.
void AddCondition(const RunFacts& facts, int places, std::string_view answer, CheckResults& results) {
    const Condition condition = ConditionNumber(Augmented(facts).leftCols(facts.order));
    results.add("condition_inf", condition.value);
    if (!condition.value) {
        results.lines.push_back("矩阵奇异（或含非有限元素），条件数无法计算。");
        return;
    }
    const std::string kappa = ShortNumberText(*condition.value);
    results.lines.push_back(condition.estimated
                                ? "条件数 κ∞(A) ≈ " + kappa + "（阶数超过 " + IndexText(kExactConditionOrderLimit) + "，为估计值）"
                                : "条件数 κ∞(A) = ‖A‖∞·‖A⁻¹‖∞ = " + kappa);
    const double expected = *condition.value * std::pow(10.0, -places);
    std::string sentence = "报告保留 " + IndexText(places) + " 位小数，" + std::string(answer) +
                           "的相对误差约可达 κ∞(A)×10^-" + IndexText(places) + " ≈ " + ShortNumberText(expected);
    if (expected >= 1) {
        sentence += "，不小于 1：这个" + std::string(answer) + "不可信。";
    } else if (const int trusted = static_cast<int>(std::floor(-std::log10(expected))); trusted >= 1) {
        sentence += "：约有 " + IndexText(trusted) + " 位有效数字可信。";
    } else {
        sentence += "：可能一位有效数字也不可信。";
    }
    results.lines.push_back(std::move(sentence));
}

std::string_view IterationMatrixName(std::string_view method) {
    if (method == "Jacobi") return "雅可比迭代矩阵";
    if (method == "Gauss-Seidel") return "高斯-塞德尔迭代矩阵";
    return "SOR 迭代矩阵";
}

IterativeMethod MethodOf(std::string_view method) {
    if (method == "Jacobi") return IterativeMethod::Jacobi;
    if (method == "Gauss-Seidel") return IterativeMethod::GaussSeidel;
    return IterativeMethod::Relaxation;
}

// The sweeps after which ρ^k falls to the tolerance: log e / log ρ, rounded up.
std::optional<double> PredictedSweeps(std::optional<double> radius, double tolerance) {
    if (!radius || !(*radius > 0 && *radius < 1) || !(tolerance > 0 && tolerance < 1)) return std::nullopt;
    return std::max(1.0, std::ceil(std::log(tolerance) / std::log(*radius)));
}

}  // namespace

void AddDirectSolverChecks(const RunFacts& facts, int places, CheckResults& results) {
    AddResiduals(facts, facts.solution, "", results);
    AddCondition(facts, places, "解", results);
}

void AddInverseChecks(const RunFacts& facts, int places, CheckResults& results) {
    const int n = facts.order;
    const Eigen::Map<const RowMajorMatrix> inverse(facts.inverse.data(), n, n);
    const auto a = Augmented(facts).leftCols(n);
    const double residual = a.allFinite() && inverse.allFinite()
                                ? InfinityNorm(Eigen::MatrixXd::Identity(n, n) - a * inverse)
                                : std::nan("");
    AddValueLine(results, "inverse_residual_inf", "‖I-A·A⁻¹‖∞", FiniteOrNothing(residual), "（A⁻¹ 取报告中的逆矩阵）");
    AddCondition(facts, places, "逆矩阵", results);
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

void AddIterativeChecks(const RunFacts& facts, CheckResults& results) {
    const int n = facts.order;
    std::optional<double> radius;
    if (n <= kSpectralRadiusOrderLimit) {
        Matrix system(n, n + 1);
        std::copy(facts.system.begin(), facts.system.end(), system.row(1));
        radius = IterationSpectralRadius(system, MethodOf(facts.iterativeMethod), facts.relaxation);
    }
    results.add("spectral_radius", radius);
    std::string name(IterationMatrixName(facts.iterativeMethod));
    if (facts.iterativeMethod == "SOR") name += "（w=" + NumberText(facts.relaxation) + "）";
    if (radius) {
        const std::string rho = ShortNumberText(*radius);
        results.lines.push_back(name + "的谱半径 ρ(B) = " + rho +
                                (*radius < 1 ? " < 1：对任何初值都收敛。" : " ≥ 1：一般不收敛。"));
    } else if (n > kSpectralRadiusOrderLimit) {
        results.lines.push_back("阶数超过 " + IndexText(kSpectralRadiusOrderLimit) + "，未计算谱半径。");
    } else {
        results.lines.push_back(name + "无法构成（对角元为零或有非有限元素），谱半径无法计算。");
    }
    const std::optional<double> predicted = PredictedSweeps(radius, facts.tolerance);
    results.add("sweeps", static_cast<double>(facts.sweeps));
    results.add("predicted_sweeps", predicted);
    std::string sweeps = "实际迭代 " + IndexText(facts.sweeps) + " 次；";
    sweeps += predicted ? "按 ρ(B) 预计约 " + IndexText(static_cast<long long>(*predicted)) + " 次（log e / log ρ(B)，e=" +
                              NumberText(facts.tolerance) + "）。"
                        : "无法按 ρ(B) 预计次数。";
    results.lines.push_back(std::move(sweeps));
    AddResiduals(facts, facts.finalIterate, "最后迭代值", results);
}

}  // namespace koravin
