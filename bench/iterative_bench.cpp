// The iterative solvers at their sweep limit and the matrix-norm command's power iteration,
// alone and as whole commands (reading the editor text and writing the report included).

#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "command/scripted_interaction.h"
#include "linear/iterative_solver.h"
#include "linear/linear_commands.h"
#include "linear/power_iteration.h"
#include "matrix/matrix.h"

namespace {

using koravin::IterativeMethod;
using koravin::Matrix;

// Pairs of unknowns coupled by 0.99 and otherwise apart, solution all 1: every method converges,
// the Jacobi iteration by a factor 0.99 a sweep, so that 1E-4 takes nearly the 1000 sweeps.
Matrix SlowSystem(int n) {
    Matrix a(n, n + 1);
    for (int i = 1; i <= n; ++i) {
        a(i, i) = 1;
        a(i, i % 2 == 1 ? i + 1 : i - 1) = 0.99;
        a(i, n + 1) = 1.99;
    }
    return a;
}

std::string EditorText(const Matrix& a) {
    std::string text;
    for (int i = 1; i <= a.rows(); ++i) {
        for (int j = 1; j <= a.cols(); ++j) {
            text += a(i, j) == 0 ? "0" : a(i, j) == 1 ? "1" : a(i, j) == 0.99 ? "0.99" : "1.99";
            text += j < a.cols() ? " " : "\r\n";
        }
    }
    return text;
}

Matrix RandomMatrix(int n) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> entry(-9, 9);
    Matrix a(n, n + 1);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n + 1; ++j) a(i, j) = entry(random);
    }
    return a;
}

// A negative tolerance never passes: 1001 sweeps, then the limit.
void BM_IterateToTheLimit(benchmark::State& state) {
    const int n = 500;
    const Matrix a = SlowSystem(n);
    const auto method = static_cast<IterativeMethod>(state.range(0));
    for (auto _ : state) {
        const auto result = koravin::IterateLinearSystem(a, koravin::Vector(1, n), -1, 1.2, method);
        benchmark::DoNotOptimize(result.sweeps);
    }
    state.SetLabel(method == IterativeMethod::Jacobi ? "Jacobi" : method == IterativeMethod::GaussSeidel ? "Gauss-Seidel" : "SOR");
}
BENCHMARK(BM_IterateToTheLimit)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void RunCommand(benchmark::State& state, void (*command)(koravin::CommandContext&), const std::string& editor,
                const std::vector<std::string>& replies) {
    for (auto _ : state) {
        koravin::ScriptedInteraction user(replies, {});
        koravin::StringPane pane;
        koravin::CommandContext context{editor, pane, user, 6, {}, {}};
        command(context);
        benchmark::DoNotOptimize(pane.text().size());
    }
}

// Jacobi ends after 986 sweeps and writes its report.
void BM_JacobiDieNearTheLimit(benchmark::State& state) {
    RunCommand(state, koravin::JacobiDie, EditorText(SlowSystem(500)), {"1E-4", "500"});
}
BENCHMARK(BM_JacobiDieNearTheLimit)->Unit(benchmark::kMillisecond);

void BM_PowerIterationTwoNorm(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Matrix a = RandomMatrix(n);
    for (auto _ : state) benchmark::DoNotOptimize(koravin::PowerIterationTwoNorm(a, n));
}
BENCHMARK(BM_PowerIterationTwoNorm)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);

void BM_MatrixModel(benchmark::State& state) {
    const Matrix a = RandomMatrix(300);
    std::string editor;
    for (int i = 1; i <= 300; ++i) {
        for (int j = 1; j <= 301; ++j) editor += std::to_string(static_cast<int>(a(i, j))) + (j < 301 ? " " : "\r\n");
    }
    RunCommand(state, koravin::MatrixModel, editor, {"300"});
}
BENCHMARK(BM_MatrixModel)->Unit(benchmark::kMillisecond);

// An order far beyond the two typed rows: the rows after them repeat the last one, so MᵀM has
// one 2 x 2 block among zeros, which the product and the power steps leave out.
void BM_MatrixModelOrderBeyondTheText(benchmark::State& state) {
    RunCommand(state, koravin::MatrixModel, "1 2\r\n3 4", {"2000"});
}
BENCHMARK(BM_MatrixModelOrderBeyondTheText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
