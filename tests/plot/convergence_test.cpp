// Step sizes on a logarithmic axis, the line a spectral radius predicts, the runs a picture
// keeps, their legends, and the cobweb of a fixed-point iteration.

#include <cmath>

#include <gtest/gtest.h>

#include "plot/convergence.h"

namespace koravin {
namespace {

TEST(StepSizes, DifferencesOfTheIteratesInTheOrderOfTheirNumbers) {
    const std::vector<IterateMark> marks{{0, 2}, {2, 2.09}, {1, 2.1}, {3, 2.0946}};
    const std::vector<PlotPoint> sizes = StepSizes(marks);
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_EQ(sizes[0], (PlotPoint{1, std::abs(2.1 - 2)}));
    EXPECT_EQ(sizes[1], (PlotPoint{2, std::abs(2.09 - 2.1)}));
    EXPECT_EQ(sizes[2], (PlotPoint{3, std::abs(2.0946 - 2.09)}));
    EXPECT_TRUE(StepSizes({{0, 1}}).empty());
}

TEST(LogPieces, ZeroAndNonFiniteSizesLeaveGaps) {
    const double changes[] = {100, 10, 0, 1, 0.1, 0.01, NAN, 1e-3};
    const Pieces pieces = LogPieces(SweepSizes(changes));
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], (Polyline{{1, 2}, {2, 1}}));
    EXPECT_EQ(pieces[1], (Polyline{{4, 0}, {5, -1}, {6, -2}}));
    EXPECT_EQ(LogPoints(SweepSizes(changes)), (Polyline{{1, 2}, {2, 1}, {4, 0}, {5, -1}, {6, -2}, {8, -3}}));
}

TEST(PredictedLine, StartsAtTheFirstStepAndFallsByLogRhoPerStep) {
    struct Case {
        const char* name;
        std::vector<double> changes;
        std::optional<double> radius;
        std::optional<Polyline> line;
    };
    const Case cases[] = {
        {"from the first sweep", {0.5, 0.3, 0.2, 0.1}, 0.5,
         Polyline{{1, std::log10(0.5)}, {4, std::log10(0.5) + 3 * std::log10(0.5)}}},
        {"from the first sweep that moved", {0, 1, 0.1}, 0.25, Polyline{{2, 0}, {3, std::log10(0.25)}}},
        {"a diverging run", {1, 2, 4}, 2.0, Polyline{{1, 0}, {3, 2 * std::log10(2.0)}}},
        {"no radius", {1, 0.5}, std::nullopt, std::nullopt},
        {"radius zero", {1, 0.5}, 0.0, std::nullopt},
        {"one sweep", {1}, 0.5, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(PredictedLine(SweepSizes(c.changes), c.radius), c.line) << c.name;
}

TEST(KeptRuns, ARunReplacesOneOfItsLabelAndTheOldestGoes) {
    std::vector<DecayCurve> kept;
    for (const char* label : {"Jacobi", "Gauss-Seidel", "Jacobi"}) KeepCurve(kept, {label, {{1, 1}}, {}});
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].label, "Gauss-Seidel");
    EXPECT_EQ(kept[1].label, "Jacobi");
    for (int i = 0; i < 10; ++i) KeepCurve(kept, {"SOR " + std::to_string(i), {}, {}});
    ASSERT_EQ(kept.size(), kMostDecayCurves);
    EXPECT_EQ(kept.back().label, "SOR 9");

    const PictureBounds home = DecayHome({{"a", {{1, 1e-2}, {2, 1e-4}}, {}}, {"b", {{1, 10}, {30, 0}}, {}}});
    EXPECT_LT(home.left, 0);
    EXPECT_GT(home.right, 30);
    EXPECT_LT(home.bottom, -4);
    EXPECT_GT(home.top, 1);
}

TEST(SweepLabel, MethodRelaxationAndRadius) {
    struct Case { const char* method; double w; std::optional<double> radius; const char* label; };
    const Case cases[] = {
        {"Jacobi", 1, 0.5, "Jacobi ρ=0.5"},
        {"Gauss-Seidel", 1, 0.25, "Gauss-Seidel ρ=0.25"},
        {"SOR", 1.2, 0.3, "SOR ω=1.2 ρ=0.3"},
        {"Jacobi", 1, 0.95949297361449737, "Jacobi ρ=0.9595"},
        {"Gauss-Seidel", 1, 0, "Gauss-Seidel ρ=0"},
        {"SOR", 1.05, std::nullopt, "SOR ω=1.05"},
    };
    for (const Case& c : cases) EXPECT_EQ(SweepLabel(c.method, c.w, c.radius), c.label);
}

TEST(Staircase, UpToPhiAcrossToTheDiagonalAndAlongItForAnAcceleratedStep) {
    const PlotFunction half = [](double x) -> std::optional<double> { return x / 2 + 1; };
    // x(k+1) = x(k)/2 + 1 from 0: 1, 1.5, 1.75.
    EXPECT_EQ(Staircase(half, {{0, 0}, {1, 1}, {2, 1.5}, {3, 1.75}}),
              (Polyline{{0, 0}, {0, 1}, {1, 1}, {1, 1.5}, {1.5, 1.5}, {1.5, 1.75}, {1.75, 1.75}}));
    // An accelerated step lands on the root 2 rather than on φ(0) = 1.
    EXPECT_EQ(Staircase(half, {{0, 0}, {1, 2}}), (Polyline{{0, 0}, {0, 1}, {1, 1}, {2, 2}}));
    // φ without a value ends the path.
    const PlotFunction root = [](double x) -> std::optional<double> { return x < 0 ? std::nullopt : std::optional(std::sqrt(x)); };
    EXPECT_EQ(Staircase(root, {{0, 4}, {1, -1}, {2, 3}}), (Polyline{{4, 4}, {4, 2}, {2, 2}, {-1, -1}}));
    EXPECT_TRUE(Staircase(half, {{0, 0}}).empty());

    const PictureBounds home = CobwebHome(half, {{0, 0}, {1, 1}});
    EXPECT_EQ(home.left, home.bottom);
    EXPECT_EQ(home.right, home.top);
    EXPECT_LT(home.left, 0);
    EXPECT_GT(home.right, 1.5);
}

}  // namespace
}  // namespace koravin
