// The names a picture writes on its x axis, which of them stay where they would overlap, and
// where the legend goes.

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "plot/labels.h"

namespace koravin {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const PixelRect kArea{0, 0, 400, 300};

TEST(IterateLabels, NameTheMarksAsTheReportDoes) {
    struct Case {
        const char* name;
        std::vector<IterateMark> marks;
        std::vector<AxisLabel> labels;
    };
    const Case cases[] = {
        {"Newton from x0", {{0, 2.0}, {1, 2.1, {{2.0, -1.0}}}, {2, 2.09}},
         {{"x0", 2.0}, {"x1", 2.1}, {"x2", 2.09}}},
        {"bisection: the bracket's ends, then the midpoints from x1",
         {{0, 2.0, {}, std::pair(2.0, 3.0)}, {1, 2.5, {}, std::pair(2.0, 2.5)}, {2, 2.25, {}, std::pair(2.0, 2.25)}},
         {{"a", 2.0}, {"b", 3.0}, {"x1", 2.5}, {"x2", 2.25}}},
        {"bisection with the bounds typed the wrong way round", {{0, 3.0, {}, std::pair(3.0, 2.0)}},
         {{"a", 3.0}, {"b", 2.0}}},
        {"in the order of their numbers; an iterate without a value unnamed",
         {{2, 1.5}, {0, 1.0}, {1, kNaN}}, {{"x0", 1.0}, {"x2", 1.5}}},
    };
    for (const Case& c : cases) EXPECT_EQ(IterateLabels(c.marks), c.labels) << c.name;
}

TEST(PlaceLabels, ThinsWhatWouldOverlapAndAvoidsCurves) {
    struct Case {
        const char* name;
        std::vector<LabelBox> labels;
        std::vector<PixelPoint> drawn;
        bool below;
        std::vector<std::optional<PixelRect>> places;
    };
    const Case cases[] = {
        {"apart, on the preferred side", {{100, 20, 10}, {200, 20, 10}}, {}, true,
         {PixelRect{90, 156, 20, 10}, PixelRect{190, 156, 20, 10}}},
        {"the second over the axis where it would touch the first", {{100, 20, 10}, {110, 20, 10}}, {}, true,
         {PixelRect{90, 156, 20, 10}, PixelRect{100, 134, 20, 10}}},
        {"a third at the same place is left out", {{100, 20, 10}, {110, 20, 10}, {105, 20, 10}}, {}, true,
         {PixelRect{90, 156, 20, 10}, PixelRect{100, 134, 20, 10}, std::nullopt}},
        {"away from a curve under the axis", {{100, 20, 10}}, {{100, 160}}, true, {PixelRect{90, 134, 20, 10}}},
        {"over a curve when there is no other place", {{100, 20, 10}}, {{100, 160}, {100, 140}}, true,
         {PixelRect{90, 156, 20, 10}}},
        {"kept inside the area at its edge", {{2, 20, 10}}, {}, false, {PixelRect{1, 134, 20, 10}}},
        {"outside the area: none", {{500, 20, 10}}, {}, true, {std::nullopt}},
    };
    for (const Case& c : cases) {
        std::vector<PixelRect> taken;
        const auto places = PlaceLabels(c.labels, kArea, 150, c.below, c.drawn, taken);
        ASSERT_EQ(places.size(), c.places.size()) << c.name;
        for (std::size_t i = 0; i < places.size(); ++i) {
            ASSERT_EQ(places[i].has_value(), c.places[i].has_value()) << c.name << " " << i;
            if (!places[i]) continue;
            EXPECT_EQ(places[i]->left, c.places[i]->left) << c.name << " " << i;
            EXPECT_EQ(places[i]->top, c.places[i]->top) << c.name << " " << i;
        }
    }
}

TEST(PlaceLabels, ManyCrowdedLabelsNeverOverlap) {
    std::vector<LabelBox> labels;
    for (int k = 0; k < 60; ++k) labels.push_back({200 + 100 * std::pow(0.8, k), 18, 10});
    std::vector<PixelRect> taken = {{150, 155, 40, 6}};
    const auto places = PlaceLabels(labels, kArea, 150, true, {}, taken);
    std::vector<PixelRect> placed;
    for (const auto& place : places) {
        if (place) placed.push_back(*place);
    }
    EXPECT_GT(placed.size(), 3u);
    EXPECT_LT(placed.size(), labels.size());
    for (std::size_t i = 0; i < placed.size(); ++i) {
        EXPECT_FALSE(placed[i].intersects({150, 155, 40, 6}));
        for (std::size_t j = i + 1; j < placed.size(); ++j) EXPECT_FALSE(placed[i].intersects(placed[j])) << i << " " << j;
    }
}

TEST(PlaceLegend, GoesToTheFreestCornerOrBelowThePlot) {
    const std::vector<double> entries = {80, 120};
    // Curves along the top and the left: the bottom right corner is free.
    std::vector<PixelPoint> edge;
    for (double t = 0; t <= 400; t += 4) edge.push_back({t, 20});
    for (double t = 0; t <= 300; t += 4) edge.push_back({20, t});
    const LegendPlace corner = PlaceLegend(entries, 16, 6, kArea, 8, edge, {});
    EXPECT_FALSE(corner.below);
    EXPECT_EQ(corner.box.right(), 392);
    EXPECT_EQ(corner.box.bottom(), 292);
    EXPECT_EQ(corner.entries.size(), 2u);
    EXPECT_EQ(corner.entries[1].y, 22);

    // Curves through every corner, or a plot too small for the legend: below it, in rows.
    std::vector<PixelPoint> everywhere;
    for (double x = 0; x <= 400; x += 4) {
        for (double y = 0; y <= 300; y += 4) everywhere.push_back({x, y});
    }
    const LegendPlace below = PlaceLegend(entries, 16, 6, kArea, 8, everywhere, {});
    EXPECT_TRUE(below.below);
    EXPECT_EQ(below.box.width, 400);
    EXPECT_EQ(below.entries[1].y, below.entries[0].y);
    const LegendPlace narrow = PlaceLegend(entries, 16, 6, {0, 0, 140, 300}, 8, {}, {});
    EXPECT_TRUE(narrow.below);
    EXPECT_EQ(narrow.entries[1].x, narrow.entries[0].x);
    EXPECT_EQ(narrow.box.height, 6 + 16 * 2 + 6);
}

}  // namespace
}  // namespace koravin
