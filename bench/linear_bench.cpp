// The Gauss family on large generated systems: reading the editor text, the elimination with its
// interior rounding, the whole command, and LAPACK's dgesv as an outside yardstick.

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "command/scripted_interaction.h"
#include "linear/linear_commands.h"
#include "matrix/fixed_rounding.h"
#include "matrix/matrix_routines.h"
#include "matrix/matrix_text.h"
#include "matrix/report.h"
#include "numbers/number_conversions.h"

#ifdef KORAVIN_HAVE_LAPACK
extern "C" void dgesv_(const int* n, const int* nrhs, double* a, const int* lda, int* ipiv, double* b,
                       const int* ldb, int* info);
#endif

namespace {

using koravin::Matrix;

// A diagonally dominant system typed as 6-digit entries ("-123.456"), one row per line.
std::string SystemText(int n) {
    std::mt19937 random(static_cast<unsigned>(n));
    std::uniform_int_distribution<int> entry(-999999, 999999);
    std::string text;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n + 1; ++j) {
            if (j > 1) text += ' ';
            const int value = entry(random);
            const int magnitude = value < 0 ? -value : value;
            if (value < 0) text += '-';
            text += std::to_string(i == j ? 1000 * n + magnitude / 1000 : magnitude / 1000);
            text += '.';
            text += std::to_string(1000 + magnitude % 1000).substr(1);
        }
        text += "\r\n";
    }
    return text;
}

Matrix SystemMatrix(int n) {
    Matrix a(n, n + 1);
    koravin::ReadAugmentedMatrix(SystemText(n), n, a);
    return a;
}

void BM_ReadAugmentedMatrix(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::string text = SystemText(n);
    for (auto _ : state) {
        Matrix a(n, n + 1);
        koravin::ReadAugmentedMatrix(text, n, a);
        benchmark::DoNotOptimize(a.row(1));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ReadAugmentedMatrix)->Arg(300)->Unit(benchmark::kMillisecond);

void BM_Elimination(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Matrix a = SystemMatrix(n);
    const koravin::FixedRounding round(7);
    for (auto _ : state) {
        Matrix w = a;
        for (int k = 1; k <= n; ++k) koravin::EliminateColumnBelow(w, k, n, n + 1, round);
        benchmark::DoNotOptimize(w.row(n));
    }
}
BENCHMARK(BM_Elimination)->Arg(1000)->Unit(benchmark::kMillisecond);

// The same elimination with the general RoundDigits, to show what the fixed rounding saves.
void BM_EliminationWithRoundDigits(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Matrix a = SystemMatrix(n);
    for (auto _ : state) {
        Matrix w = a;
        for (int k = 1; k <= n; ++k) {
            const double* pivot = w.row(k);
            for (int i = k + 1; i <= n; ++i) {
                double* row = w.row(i);
                const double m = row[k - 1] / pivot[k - 1];
                for (int j = k - 1; j <= n; ++j) row[j] = koravin::RoundDigits(row[j] - m * pivot[j], 7);
            }
        }
        benchmark::DoNotOptimize(w.row(n));
    }
}
BENCHMARK(BM_EliminationWithRoundDigits)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_MatrixReport(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Matrix a = SystemMatrix(n);
    for (auto _ : state) {
        std::string report;
        koravin::AppendMatrixRows(report, a, n, n + 1, "  ", 6);
        benchmark::DoNotOptimize(report.data());
    }
}
BENCHMARK(BM_MatrixReport)->Arg(1000)->Unit(benchmark::kMillisecond);

void RunGaussCommand(benchmark::State& state, void (*command)(koravin::CommandContext&)) {
    const int n = static_cast<int>(state.range(0));
    const std::string text = SystemText(n);
    for (auto _ : state) {
        koravin::ScriptedInteraction user({std::to_string(n)}, {});
        koravin::StringPane pane;
        koravin::CommandContext context{text, pane, user, 6, {}, {}};
        command(context);
        benchmark::DoNotOptimize(pane.text().data());
    }
}

void BM_Gauss_1(benchmark::State& state) { RunGaussCommand(state, koravin::Gauss_1); }
BENCHMARK(BM_Gauss_1)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_GaussTier(benchmark::State& state) { RunGaussCommand(state, koravin::GaussTier); }
BENCHMARK(BM_GaussTier)->Arg(300)->Unit(benchmark::kMillisecond);

void BM_GaussFull(benchmark::State& state) { RunGaussCommand(state, koravin::GaussFull); }
BENCHMARK(BM_GaussFull)->Arg(300)->Unit(benchmark::kMillisecond);

void BM_A_matrix(benchmark::State& state) { RunGaussCommand(state, koravin::A_matrix); }
BENCHMARK(BM_A_matrix)->Arg(300)->Unit(benchmark::kMillisecond);

void BM_A_range(benchmark::State& state) { RunGaussCommand(state, koravin::A_range); }
BENCHMARK(BM_A_range)->Arg(300)->Unit(benchmark::kMillisecond);

#ifdef KORAVIN_HAVE_LAPACK
void BM_LapackDgesv(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Matrix a = SystemMatrix(n);
    // Column-major coefficients and the right-hand side.
    std::vector<double> columns(static_cast<std::size_t>(n) * static_cast<std::size_t>(n));
    std::vector<double> rhs(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) columns[static_cast<std::size_t>(j - 1) * n + (i - 1)] = a(i, j);
        rhs[static_cast<std::size_t>(i - 1)] = a(i, n + 1);
    }
    std::vector<int> pivots(static_cast<std::size_t>(n));
    const int one = 1;
    for (auto _ : state) {
        std::vector<double> lu = columns;
        std::vector<double> b = rhs;
        int info = 0;
        dgesv_(&n, &one, lu.data(), &n, pivots.data(), b.data(), &n, &info);
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK(BM_LapackDgesv)->Arg(1000)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();
