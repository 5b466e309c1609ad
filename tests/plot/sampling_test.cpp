// Curves for a view: gaps and poles left open, tables thinned to the pixels, the lines of the
// steps, and the views that hold a run whole.

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "plot/sampling.h"

namespace koravin {
namespace {

using Value = std::optional<double>;

TEST(SampleCurve, BreaksWhereTheFunctionHasNoValueOrAPole) {
    struct Case {
        const char* name;
        PlotFunction f;
        double lo, hi;
        std::vector<double> breaks;  // no piece reaches across these
        std::size_t pieces;
    };
    const double pi = std::numbers::pi;
    const Case cases[] = {
        {"log(x) over [-1, 1]", [](double x) -> Value { return std::log(x); }, -1, 1, {0}, 1},
        {"sqrt(1-x^2) over [-2, 2]", [](double x) -> Value { return std::sqrt(1 - x * x); }, -2, 2, {-1, 1}, 1},
        {"no value inside [-1, 1]", [](double x) -> Value { return std::abs(x) < 1 ? Value() : x; }, -2, 2, {-0.99, 0.99}, 2},
        {"1/x over [-1, 1]", [](double x) -> Value { return 1 / x; }, -1, 1, {0}, 2},
        {"tan(x) over [-5, 5]", [](double x) -> Value { return std::tan(x); }, -5, 5, {-3 * pi / 2, -pi / 2, pi / 2, 3 * pi / 2}, 5},
    };
    for (const Case& c : cases) {
        const Pieces curve = SampleCurve(c.f, c.lo, c.hi, 800, {-4, 4});
        EXPECT_EQ(curve.size(), c.pieces) << c.name;
        for (const Polyline& piece : curve) {
            for (double x : c.breaks) EXPECT_TRUE(piece.front().x > x || piece.back().x < x) << c.name << " at " << x;
        }
    }
}

TEST(Decimate, KeepsEachPixelColumnsExtremesAndEnds) {
    std::vector<double> x, y;
    for (int i = 0; i <= 10000; ++i) {
        x.push_back(i / 10000.0);
        y.push_back(i == 4321 ? 7.0 : std::sin(40 * x.back()));
    }
    x.push_back(NAN);
    y.push_back(0);
    const Pieces pieces = Decimate(x, y, {0, 1}, 100);
    ASSERT_EQ(pieces.size(), 1u);
    const Polyline& kept = pieces[0];
    EXPECT_LE(kept.size(), 4u * 102);
    EXPECT_EQ(kept.front(), (PlotPoint{0, 0}));
    EXPECT_EQ(kept.back(), (PlotPoint{1, std::sin(40.0)}));
    EXPECT_NE(std::find(kept.begin(), kept.end(), PlotPoint{0.4321, 7}), kept.end());
    // A short table keeps every row.
    EXPECT_EQ(Decimate(std::span(x).first(11), std::span(y).first(11), {0, 1}, 100)[0].size(), 11u);
}

TEST(StepLine, RunsFromTheCurveToTheIterate) {
    const IterateMark tangent{1, 2.5, {{3, 4}}};
    EXPECT_EQ(StepLine(tangent), std::pair(PlotPoint{3, 4}, PlotPoint{2.5, 0}));
    const IterateMark secant{2, 1, {{2, 3}, {3, 5}}};
    EXPECT_EQ(StepLine(secant), std::pair(PlotPoint{1, 0}, PlotPoint{3, 5}));
    EXPECT_FALSE(StepLine({3, 1}).has_value());
    EXPECT_FALSE(StepLine({3, 1, {{NAN, 1}}}).has_value());
}

TEST(Homes, HoldEveryStepAndRoomForBrackets) {
    const PlotFunction cubic = [](double x) -> Value { return x * x * x - 2 * x - 5; };
    const PictureBounds empty = FunctionHome(cubic, {}, 400);
    EXPECT_EQ(empty.left, -5);
    EXPECT_EQ(empty.right, 5);
    const PictureBounds bisection = FunctionHome(cubic, {{0, 2, {}, std::pair(2.0, 3.0)}, {1, 2.5, {}, std::pair(2.0, 2.5)}}, 400);
    EXPECT_LT(bisection.left, 2);
    EXPECT_GT(bisection.right, 3);
    EXPECT_LT(bisection.bottom, -bisection.top / 3);

    const std::vector<double> x{0, 0.5, 1}, first{1, 2, 3}, second{1, NAN, 4};
    const PictureBounds columns = ColumnsHome(x, first, second, {}, 100);
    EXPECT_LT(columns.left, 0);
    EXPECT_GT(columns.right, 1);
    EXPECT_LT(columns.bottom, 1);
    EXPECT_GT(columns.top, 4);
}

}  // namespace
}  // namespace koravin
