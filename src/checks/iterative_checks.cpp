// The checks of Jacobi, Gauss-Seidel and relaxation: what the spectrum of the iteration matrix B
// says about the run.

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "checks/check_families.h"
#include "checks/check_text.h"
#include "checks/iteration_matrix.h"
#include "checks/iteration_eigenvalues.h"
#include "checks/linear_system.h"
#include "linear/iterative_solver.h"
#include "numbers/number_conversions.h"
#include "steps/stop_request.h"

namespace koravin {
namespace {

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();
// ρ(B) is shown to 4 significant digits; an uncertainty below half a unit of the last is none.
constexpr double kShownRadiusPrecision = 5e-5;

std::string IterationMatrixName(const RunFacts& facts) {
    if (facts.iterativeMethod == "Jacobi") return "雅可比迭代矩阵";
    if (facts.iterativeMethod == "Gauss-Seidel") return "高斯-塞德尔迭代矩阵";
    return "SOR 迭代矩阵（w=" + NumberText(facts.relaxation) + "）";
}

IterativeMethod MethodOf(std::string_view method) {
    if (method == "Jacobi") return IterativeMethod::Jacobi;
    if (method == "Gauss-Seidel") return IterativeMethod::GaussSeidel;
    return IterativeMethod::Relaxation;
}

std::optional<IterationEigenvalues> EigenvaluesOf(const RunFacts& facts) {
    const int n = facts.order;
    if (n > kSpectralRadiusOrderLimit) return std::nullopt;
    Matrix system(n, n + 1);
    std::copy(facts.system.begin(), facts.system.end(), system.row(1));
    const std::optional<Eigen::MatrixXd> b = IterationMatrix(system, MethodOf(facts.iterativeMethod), facts.relaxation);
    if (!b) return std::nullopt;
    return IterationEigenvalues::Of(*b);
}

// How far the computed ρ(B) may be off: the uncertainty of every eigenvalue that could be the
// largest. Those below half the radius would need an error of half the radius to matter.
double RadiusUncertainty(const IterationEigenvalues& spectrum) {
    double uncertainty = 0;
    for (std::size_t k = 0; k < spectrum.size(); ++k) {
        BetweenSteps();
        if (!spectrum.conjugateOfPrevious(k) && std::abs(spectrum.eigenvalue(k)) >= spectrum.radius() / 2) {
            uncertainty = std::max(uncertainty, spectrum.uncertainty(k));
        }
    }
    return uncertainty;
}

// ρ to 4 digits, unless those would round a radius below 1 up to "1".
std::string RadiusText(double radius) {
    const std::string text = ShortNumberText(radius);
    return text == "1" && radius != 1 ? NumberText(radius) : text;
}

std::string RadiusLine(const std::string& name, double radius, double uncertainty) {
    if (uncertainty <= kShownRadiusPrecision * radius) {
        return name + "的谱半径 ρ(B) = " + RadiusText(radius) + (radius < 1 ? " < 1：对任何初值都收敛。" : " ≥ 1：一般不收敛。");
    }
    const std::string line = name + "的谱半径 ρ(B) ≈ " + ShortNumberText(radius) + "，但特征值问题病态，这个值的误差可达 " +
                             ShortNumberText(uncertainty);
    if (radius + uncertainty < 1) return line + "，仍小于 1：对任何初值都收敛。";
    if (radius - uncertainty >= 1) return line + "，仍不小于 1：一般不收敛。";
    return line + "：无法判断它是否小于 1。";
}

struct Prediction {
    std::optional<double> sweeps{};
    std::optional<double> condition{};    // κ(λ) of the eigenvalue that weighs most against it
    std::string text{};                   // what follows the count of the run's sweeps
    std::optional<double> errorFactor{};  // the error of the last iterate per unit of the last change
    std::optional<int> exactAfter{};      // sweeps after which a nilpotent B leaves the exact solution
};

// The sweeps after which ρ(B)ᵏ falls to the tolerance e, k* = log e / log ρ(B) rounded up, is
// how many a run takes when the error shrinks by ρ(B) per sweep from the start. With
// B = Σ λᵢPᵢ the error after k sweeps is Σ λᵢᵏPᵢe₀, and ‖Pᵢ‖ is κ(λᵢ): a component may stand
// κ(λᵢ)(|λᵢ|/ρ)ᵏ times above ρᵏ, and then the run needs log of that over |log ρ| sweeps more.
// When that could be more than half of k* (the factor above 1/√e), k* says little, and is
// not given.
Prediction Predict(const IterationEigenvalues& spectrum, double radius, double uncertainty, double tolerance) {
    Prediction prediction;
    if (const std::optional<int> bound = spectrum.nilpotencyBound()) {
        // Bᵐ = 0: the m-th iterate is the solution, and the next sweep changes nothing.
        const int m = *bound;
        prediction.sweeps = m + 1;
        prediction.exactAfter = m;
        prediction.text = m == 1 ? "B = 0，第 1 次迭代即得准确解，预计至多 2 次（第 2 次的改变量为 0）。"
                                 : "B 是幂零矩阵，B^" + IndexText(m) + " = 0：第 " + IndexText(m) + " 次迭代即得准确解，预计至多 " +
                                       IndexText(m + 1) + " 次。";
        return prediction;
    }
    if (uncertainty > kShownRadiusPrecision * radius) {
        prediction.text = "ρ(B) 算不准，无法按它预计次数。";
        return prediction;
    }
    if (!(radius < 1)) {
        prediction.text = "ρ(B) ≥ 1，无法按 ρ(B) 预计次数。";
        return prediction;
    }
    if (!(tolerance > 0 && tolerance < 1) || radius == 0) {
        prediction.text = "无法按 ρ(B) 预计次数。";
        return prediction;
    }
    const double sweeps = std::max(1.0, std::ceil(std::log(tolerance) / std::log(radius)));
    const double bearable = 1 / std::sqrt(tolerance);
    double largest = 0;
    for (std::size_t k = 0; k < spectrum.size(); ++k) {
        BetweenSteps();
        const double weight = std::pow(std::abs(spectrum.eigenvalue(k)) / radius, sweeps);
        if (largest == INFINITY) break;
        if (spectrum.conjugateOfPrevious(k)) continue;
        // A component this small stays below the bearable factor unless its eigenvectors are
        // parallel beyond working precision, κ over 1/ε.
        if (weight <= bearable * kEpsilon) continue;
        const double condition = spectrum.condition(k);
        if (condition * weight > largest) {
            largest = condition * weight;
            prediction.condition = condition;
        }
    }
    if (largest > bearable) {
        const double condition = prediction.condition.value_or(INFINITY);
        const std::string why = condition * kEpsilon < 1 ? "特征值条件数约 " + ShortNumberText(condition) : "有亏损的特征值";
        prediction.text = "B 的特征值问题病态（" + why + "）：误差可能先增长，再按 ρ(B)ᵏ 减小，无法按 ρ(B) 可靠地预计次数。";
        return prediction;
    }
    prediction.sweeps = sweeps;
    prediction.errorFactor = radius / (1 - radius);
    prediction.text = "按 ρ(B) 预计约 " + IndexText(static_cast<long long>(sweeps)) + " 次（log e / log ρ(B)，e=" +
                      NumberText(tolerance) + "）。";
    return prediction;
}

}  // namespace

void AddIterativeChecks(const RunFacts& facts, CheckResults& results) {
    const std::string name = IterationMatrixName(facts);
    const std::optional<IterationEigenvalues> spectrum = EigenvaluesOf(facts);
    std::optional<double> radius;
    Prediction prediction{.text = "无法按 ρ(B) 预计次数。"};
    if (spectrum) {
        radius = spectrum->radius();
        const double uncertainty = RadiusUncertainty(*spectrum);
        results.lines.push_back(RadiusLine(name, *radius, uncertainty));
        prediction = Predict(*spectrum, *radius, uncertainty, facts.tolerance);
    } else if (facts.order > kSpectralRadiusOrderLimit) {
        results.lines.push_back("阶数超过 " + IndexText(kSpectralRadiusOrderLimit) + "，未计算谱半径。");
    } else {
        results.lines.push_back(name + "无法构成（对角元为零或有非有限元素），谱半径无法计算。");
    }
    results.add("spectral_radius", radius);
    results.add("sweeps", static_cast<double>(facts.sweeps));
    results.add("predicted_sweeps", prediction.sweeps);
    results.add("eigenvalue_condition", prediction.condition ? FiniteOrNothing(*prediction.condition) : std::nullopt);

    const std::string sweeps = IndexText(facts.sweeps);
    if (facts.converged) {
        results.lines.push_back("实际迭代 " + sweeps + " 次；" + prediction.text);
    } else if (facts.sweeps > kSweepLimit) {
        results.lines.push_back("迭代 " + sweeps + " 次仍未满足精度，方法以提示信息结束；" + prediction.text);
    } else {
        results.lines.push_back("第 " + sweeps + " 次迭代时迭代值溢出，方法以提示信息结束；" + prediction.text);
    }

    // The stop test looks at the change of the last sweep, not at the error. Once the error
    // e_k = x(k) - x* shrinks by the dominant eigenvalue λ per sweep, x(k) - x(k-1) = e_k(1 - 1/λ),
    // so the error is |λ|/|1 - λ| times the last change: ρ/(1 - ρ) for λ = ρ, less for the other
    // λ with |λ| = ρ, and in the largest entry a mixture of eigenvectors may give a little more.
    // For a normal B it is the bound ‖e_k‖₂ ≤ ρ/(1 - ρ)·‖x(k) - x(k-1)‖₂.
    const std::optional<double> lastChange = facts.sweeps > 0 ? FiniteOrNothing(facts.lastChange) : std::nullopt;
    std::optional<double> errorEstimate;
    if (facts.converged && lastChange) {
        const std::string change = "最后一次迭代的改变量为 " + ShortNumberText(*lastChange);
        if (prediction.exactAfter && facts.sweeps >= *prediction.exactAfter) {
            errorEstimate = 0;
            results.lines.push_back("第 " + IndexText(*prediction.exactAfter) + " 次迭代起迭代值已是准确解，误差只剩舍入误差。");
        } else if (prediction.exactAfter) {
            results.lines.push_back(change + "；迭代在 B 的幂成为 0 之前停止，误差无法按 ρ(B) 估计。");
        } else if (prediction.errorFactor) {
            errorEstimate = *prediction.errorFactor * *lastChange;
            results.lines.push_back(change + "，停止检验只看它；误差约为它的 ρ(B)/(1-ρ(B)) 倍 ≈ " +
                                    ShortNumberText(*errorEstimate) + "。");
        } else {
            results.lines.push_back(change + "；误差无法按 ρ(B) 估计。");
        }
    }
    results.add("last_change", lastChange);
    results.add("error_estimate", errorEstimate);
    AddValueLine(results, "residual_inf", "最后迭代值的残差 ‖b-Ax‖∞", ResidualOf(facts, facts.finalIterate).norm);
}

}  // namespace koravin
