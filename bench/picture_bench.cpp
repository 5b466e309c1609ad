// The pictures beside the reports, drawn offscreen in a pane of a workspace's size: the sweep
// sizes of three iterative runs of 1000 sweeps each, the cobweb of 100 fixed-point steps, and the
// spectral radius the sweeps' legend needs, computed on the worker thread before the report shows.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include <QApplication>

#include "checks/iteration_matrix.h"
#include "ui/application.h"
#include "ui/function_of_x.h"
#include "ui/picture_pane.h"

namespace {

using koravin::PicturePane;

// Sweep sizes falling by about ρ a sweep, with the wobble of a real run's first sweeps.
std::vector<koravin::DecayCurve> ThreeRuns(int sweeps) {
    std::mt19937 random(17);
    std::uniform_real_distribution<double> wobble(0.7, 1.3);
    std::vector<koravin::DecayCurve> runs;
    for (const double radius : {0.99, 0.98, 0.97}) {
        koravin::DecayCurve run{"Jacobi", {}, radius};
        for (int k = 1; k <= sweeps; ++k) run.sizes.push_back({static_cast<double>(k), std::pow(radius, k) * wobble(random)});
        runs.push_back(std::move(run));
    }
    return runs;
}

void BM_SweepPicture(benchmark::State& state) {
    PicturePane pane;
    pane.resize(600, 480);
    pane.show();
    const std::vector<koravin::DecayCurve> runs = ThreeRuns(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        pane.showDecay(runs, QStringLiteral("‖x⁽ᵏ⁾−x⁽ᵏ⁻¹⁾‖∞"));
        benchmark::DoNotOptimize(pane.grab());
    }
}
BENCHMARK(BM_SweepPicture)->Arg(1000)->Unit(benchmark::kMillisecond);

// x = cos(x) from 0 takes about 100 steps to 1E-8.
void BM_CobwebPicture(benchmark::State& state) {
    PicturePane pane;
    pane.resize(600, 480);
    pane.show();
    std::vector<koravin::IterateMark> marks;
    double x = 0;
    for (int k = 0; k <= state.range(0); ++k, x = std::cos(x)) marks.push_back({k, x});
    for (auto _ : state) {
        pane.showCobweb(koravin::FunctionOfX("cos(x)"), marks);
        benchmark::DoNotOptimize(pane.grab());
    }
}
BENCHMARK(BM_CobwebPicture)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_SpectralRadius(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::mt19937 random(static_cast<unsigned>(n));
    std::uniform_real_distribution<double> entry(-1, 1);
    koravin::Matrix system(n, n + 1);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n + 1; ++j) system(i, j) = i == j ? n : entry(random);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(koravin::IterationSpectralRadius(system, koravin::IterativeMethod::Jacobi, 1));
    }
}
BENCHMARK(BM_SpectralRadius)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    koravin::PrepareApplication(application);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
