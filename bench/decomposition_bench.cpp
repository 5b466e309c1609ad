// The triangular decompositions at the sizes a generated system can reach: each method with its
// report from a matrix already read, the whole LU command from editor text, and LAPACK's
// dgetrf and dpotrf as outside yardsticks for the bare factorisations.

#include <benchmark/benchmark.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "command/scripted_interaction.h"
#include "linear/linear_commands.h"
#include "linear/triangular_common.h"
#include "matrix/matrix.h"

#ifdef KORAVIN_HAVE_LAPACK
extern "C" void dgetrf_(const int* m, const int* n, double* a, const int* lda, int* ipiv, int* info);
extern "C" void dpotrf_(const char* uplo, const int* n, double* a, const int* lda, int* info);
#endif

namespace {

using koravin::Matrix;

enum class Shape { DiagonallyDominant, Random, SymmetricPositive, Tridiagonal };

Matrix Generated(int n, Shape shape) {
    std::mt19937 random(static_cast<unsigned>(n));
    std::uniform_real_distribution<double> entry(-1.0, 1.0);
    Matrix a(n, n + 1);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n + 1; ++j) a(i, j) = entry(random);
    }
    for (int i = 1; i <= n; ++i) {
        if (shape == Shape::SymmetricPositive) {
            for (int j = 1; j < i; ++j) a(j, i) = a(i, j);
        }
        if (shape == Shape::Tridiagonal) {
            for (int j = 1; j <= n; ++j) {
                if (j < i - 1 || j > i + 1) a(i, j) = 0.0;
            }
        }
        if (shape != Shape::Random) a(i, i) += shape == Shape::Tridiagonal ? 4.0 : n;
    }
    return a;
}

void RunMethod(benchmark::State& state, koravin::TriangularMethod method, Shape shape) {
    const int n = static_cast<int>(state.range(0));
    const Matrix a = Generated(n, shape);
    for (auto _ : state) {
        std::optional<koravin::TriangularReport> report = method(a, 6);
        if (!report) state.SkipWithError("zero pivot");
        benchmark::DoNotOptimize(report);
    }
}

void BM_LU_break(benchmark::State& state) { RunMethod(state, koravin::LuBreakReport, Shape::DiagonallyDominant); }
void BM_MatrixBreak(benchmark::State& state) {
    RunMethod(state, koravin::MatrixBreakReport, Shape::DiagonallyDominant);
}
void BM_TierLU(benchmark::State& state) { RunMethod(state, koravin::TierLuReport, Shape::Random); }
void BM_SqrtRoot(benchmark::State& state) { RunMethod(state, koravin::SqrtRootReport, Shape::SymmetricPositive); }
void BM_MendSqrt(benchmark::State& state) { RunMethod(state, koravin::MendSqrtReport, Shape::SymmetricPositive); }
void BM_Purase(benchmark::State& state) { RunMethod(state, koravin::PuraseReport, Shape::Tridiagonal); }

BENCHMARK(BM_LU_break)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatrixBreak)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TierLU)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqrtRoot)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MendSqrt)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Purase)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// The factorisations alone, without substitutions and report.
void BM_DoolittleDecomposition(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Matrix a = Generated(n, Shape::DiagonallyDominant);
    for (auto _ : state) benchmark::DoNotOptimize(koravin::DoolittleDecomposition(a));
}
void BM_ColumnPivotDecomposition(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Matrix a = Generated(n, Shape::Random);
    for (auto _ : state) benchmark::DoNotOptimize(koravin::ColumnPivotDecomposition(a));
}
void BM_SquareRootFactor(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Matrix a = Generated(n, Shape::SymmetricPositive);
    for (auto _ : state) benchmark::DoNotOptimize(koravin::SquareRootFactor(a));
}
void BM_RootFreeDecomposition(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Matrix a = Generated(n, Shape::SymmetricPositive);
    for (auto _ : state) benchmark::DoNotOptimize(koravin::RootFreeDecomposition(a));
}
BENCHMARK(BM_DoolittleDecomposition)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColumnPivotDecomposition)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SquareRootFactor)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RootFreeDecomposition)->Arg(1000)->Unit(benchmark::kMillisecond);

// The whole command as the window runs it, editor text read entry by entry included.
std::string EditorText(const Matrix& a) {
    std::string text;
    for (int i = 1; i <= a.rows(); ++i) {
        for (int j = 1; j <= a.cols(); ++j) {
            if (j > 1) text += ' ';
            text += std::to_string(a(i, j));
        }
        text += "\r\n";
    }
    return text;
}

void BM_LU_break_Command(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::string editor = EditorText(Generated(n, Shape::DiagonallyDominant));
    for (auto _ : state) {
        koravin::ScriptedInteraction user({std::to_string(n)}, {});
        koravin::StringPane pane;
        koravin::CommandContext context{editor, pane, user, 6, {}, {}};
        koravin::LU_break(context);
        benchmark::DoNotOptimize(pane.text());
    }
}
BENCHMARK(BM_LU_break_Command)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

#ifdef KORAVIN_HAVE_LAPACK
// Column-major copies of the coefficient matrix for LAPACK.
std::vector<double> ColumnMajor(const Matrix& a) {
    const int n = a.rows();
    std::vector<double> data(static_cast<std::size_t>(n) * static_cast<std::size_t>(n));
    for (int j = 1; j <= n; ++j) {
        for (int i = 1; i <= n; ++i) data[static_cast<std::size_t>(j - 1) * n + (i - 1)] = a(i, j);
    }
    return data;
}

void BM_LapackDgetrf(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> original = ColumnMajor(Generated(n, Shape::Random));
    std::vector<int> pivots(static_cast<std::size_t>(n));
    for (auto _ : state) {
        std::vector<double> a = original;
        int info = 0;
        dgetrf_(&n, &n, a.data(), &n, pivots.data(), &info);
        benchmark::DoNotOptimize(a.data());
    }
}
void BM_LapackDpotrf(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> original = ColumnMajor(Generated(n, Shape::SymmetricPositive));
    for (auto _ : state) {
        std::vector<double> a = original;
        int info = 0;
        dpotrf_("L", &n, a.data(), &n, &info);
        benchmark::DoNotOptimize(a.data());
    }
}
BENCHMARK(BM_LapackDgetrf)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LapackDpotrf)->Arg(1000)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();
