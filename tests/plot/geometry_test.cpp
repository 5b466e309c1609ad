// Cutting curves to the view, the views around them, and the ticks of their axes.

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "plot/axis_ticks.h"
#include "plot/plot_geometry.h"

namespace koravin {
namespace {

constexpr PictureBounds kUnitBox{0, 1, 0, 1};

TEST(Clipped, KeepsTheInsideAndEndsExactlyAsGiven) {
    struct Case {
        const char* name;
        PlotPoint a, b;
        std::optional<std::pair<PlotPoint, PlotPoint>> part;
    };
    const Case cases[] = {
        {"inside", {0.1, 0.2}, {0.3, 0.9}, std::pair(PlotPoint{0.1, 0.2}, PlotPoint{0.3, 0.9})},
        {"across the box", {-1, 0.5}, {2, 0.5}, std::pair(PlotPoint{0, 0.5}, PlotPoint{1, 0.5})},
        {"leaving through the top", {0.5, 0.5}, {0.5, 3}, std::pair(PlotPoint{0.5, 0.5}, PlotPoint{0.5, 1})},
        {"beside the box", {2, 0}, {3, 1}, std::nullopt},
        {"past a corner", {0.9, 1.2}, {1.2, 0.9}, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Clipped(c.a, c.b, kUnitBox), c.part) << c.name;
    }
}

TEST(Fitted, APieceThatLeavesAndComesBackBecomesTwo) {
    const Pieces out = Fitted({{{0.1, 0.5}, {0.5, 2}, {0.9, 0.5}}, {{5, 5}, {6, 6}}}, kUnitBox);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].front(), (PlotPoint{0.1, 0.5}));
    EXPECT_EQ(out[1].back(), (PlotPoint{0.9, 0.5}));
    for (const Polyline& piece : out) {
        for (const PlotPoint& p : piece) EXPECT_TRUE(p.x >= 0 && p.x <= 1 && p.y >= 0 && p.y <= 1);
    }
}

TEST(Ranges, ABodyIgnoresAFewHugeValuesAndEveryRangeHasRoom) {
    std::vector<double> values;
    for (int i = 0; i <= 100; ++i) values.push_back(i / 100.0);
    values.push_back(1e200);
    const Interval body = *Body(values);
    EXPECT_GE(body.lo, 0);
    EXPECT_LE(body.hi, 2);
    EXPECT_GE(body.hi, 0.95);
    EXPECT_FALSE(Body({}).has_value());

    struct Case { Interval range; double fraction; Interval widened; };
    for (const Case& c : {Case{{2, 2}, 0, {1, 3}}, Case{{0, 10}, 0.1, {-1, 11}}, Case{{50, 50}, 0, {45, 55}}}) {
        const Interval w = Widened(c.range, c.fraction);
        EXPECT_DOUBLE_EQ(w.lo, c.widened.lo);
        EXPECT_DOUBLE_EQ(w.hi, c.widened.hi);
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Interval span = *Span({nan, 3, -2, INFINITY, 1});
    EXPECT_EQ(span.lo, -2);
    EXPECT_EQ(span.hi, 3);

    const PictureBounds sane = SaneBounds({nan, 1, 5, 5});
    EXPECT_EQ(sane.left, -1);
    EXPECT_EQ(sane.right, 1);
    EXPECT_LT(sane.bottom, sane.top);
}

TEST(TicksFor, LabelsForEachScale) {
    struct Case {
        const char* name;
        double lo, hi, count;
        AxisScale scale;
        std::vector<std::string> labels;
    };
    const Case cases[] = {
        {"tenths", -0.25, 0.25, 5, AxisScale::Linear, {"-0.2", "-0.1", "0", "0.1", "0.2"}},
        {"large values with an exponent", 0, 3e6, 3, AxisScale::Linear, {"0", "1.0E+06", "2.0E+06", "3.0E+06"}},
        {"steps are whole", -0.5, 3.2, 8, AxisScale::Counting, {"0", "1", "2", "3"}},
        {"decades", -5.2, 0.3, 3, AxisScale::Logarithmic, {"1E-4", "1E-2", "1E0"}},
        {"within a decade", 0, 0.5, 2, AxisScale::Logarithmic, {"1E0", "1.58", "2.51"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> labels;
        for (const Tick& tick : TicksFor(c.lo, c.hi, c.count, c.scale).ticks) labels.push_back(tick.label);
        EXPECT_EQ(labels, c.labels) << c.name;
    }
    EXPECT_EQ(ErrorText(0.1234), "1.2E-01");
    EXPECT_EQ(ErrorText(std::nan("")), "NaN");
}

}  // namespace
}  // namespace koravin
