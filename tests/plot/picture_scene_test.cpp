// What each kind of picture shows and what a view of it holds, as both the windows and the
// browser edition draw it.

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "plot/function_of_x.h"
#include "plot/picture_scene.h"

namespace koravin {
namespace {

std::vector<std::string> LegendTexts(const PictureContent& content) {
    std::vector<std::string> texts;
    for (const LegendItem& item : content.legend) texts.push_back(item.text);
    return texts;
}

std::vector<std::string> Keys(const ViewCurves& view) {
    std::vector<std::string> keys;
    for (const SceneCurve& curve : view.curves) keys.push_back(curve.key);
    for (const SceneDots& dots : view.dots) keys.push_back(dots.key);
    return keys;
}

TEST(PictureContent, EachKindHasTheLegendOfWhatItDraws) {
    const std::vector<IterateMark> bisection = {{0, 2.0, {}, std::pair(2.0, 3.0)}, {1, 2.5, {}, std::pair(2.0, 2.5)}};
    const std::vector<IterateMark> newton = {{0, 2.0}, {1, 2.1, {{2.0, -1.0}}}};
    const std::vector<IterateMark> secant = {{2, 2.05, {{2.0, -1.0}, {3.0, 16.0}}}};
    const std::vector<double> x = {0, 0.5, 1};
    const std::vector<double> first = {1, 1.5, 2.25};
    const std::vector<double> second = {1, 1.625, 2.640625};
    struct Case {
        const char* name;
        PictureContent content;
        std::vector<std::string> legend;
    };
    const Case cases[] = {
        {"f before any run", FunctionContent(FunctionOfX("x^2-2"), {}, 400), {"f(x)"}},
        {"bisection", FunctionContent(FunctionOfX("x^3-2*x-5"), bisection, 400), {"f(x)", "迭代点", "有根区间"}},
        {"Newton", FunctionContent(FunctionOfX("x^3-2*x-5"), newton, 400), {"f(x)", "迭代点", "切线"}},
        {"secant", FunctionContent(FunctionOfX("x^3-2*x-5"), secant, 400), {"f(x)", "迭代点", "割线"}},
        {"cobweb", CobwebContent(FunctionOfX("cos(x)"), newton), {"y=φ(x)", "y=x", "迭代路径"}},
        {"columns with y(x): each with its error at the last node",
         ColumnsContent(x, "Y(n)", first, "Z(n)", second, FunctionOfX("exp(x)"), 400),
         {"Y(n)（末点误差 4.7E-01）", "Z(n)（末点误差 7.8E-02）", "精确解y(x)"}},
        {"columns without y(x)", ColumnsContent(x, "Y(n)", first, "Z(n)", second, {}, 400), {"Y(n)", "Z(n)"}},
        {"decay runs; the dashed lines share one entry",
         DecayContent({{"Jacobi ρ=0.5", {{1, 1}, {2, 0.5}, {3, 0.25}}, 0.5}, {"牛顿切线法", {{1, 1}, {2, 0.1}}, {}}}, "s"),
         {"Jacobi ρ=0.5", "牛顿切线法", "C·ρᵏ"}},
        {"decay without a radius", DecayContent({{"二分法", {{1, 0.5}, {2, 0.25}}, {}}}, "s"), {"二分法"}},
    };
    for (const Case& c : cases) EXPECT_EQ(LegendTexts(c.content), c.legend) << c.name;
}

TEST(CurvesInView, EveryViewOfAPictureHasTheSameCurvesSoAnEmptyOneClearsWhatWasDrawn) {
    const PictureContent content = FunctionContent(FunctionOfX("x^3-2*x-5"), {{0, 2.0}, {1, 2.1, {{2.0, -1.0}}}}, 300);
    const ViewCurves home = CurvesInView(content, content.home, 300);
    const ViewCurves away = CurvesInView(content, {100, 110, -2e6, -1e6}, 300);
    EXPECT_EQ(Keys(home), (std::vector<std::string>{"axis", "f", "tangent", "secant", "iterates"}));
    EXPECT_EQ(Keys(away), Keys(home));
    for (const SceneCurve& curve : away.curves) EXPECT_TRUE(curve.pieces.empty()) << curve.key;
}

TEST(PlotFrame, ZoomKeepsThePointUnderThePointerAndDragMovesTheViewWithIt) {
    const PlotFrame frame{{10, 20, 200, 100}, {0, 4, -1, 1}};
    const PixelPoint centre = frame.toPixel(1, 0.5);
    EXPECT_DOUBLE_EQ(centre.x, 60);
    EXPECT_DOUBLE_EQ(centre.y, 45);
    const PictureBounds zoomed = ZoomedView(frame, centre, 0.5, 0.5);
    EXPECT_DOUBLE_EQ(zoomed.left, 0.5);
    EXPECT_DOUBLE_EQ(zoomed.right, 2.5);
    EXPECT_DOUBLE_EQ(zoomed.bottom, -0.25);
    EXPECT_DOUBLE_EQ(zoomed.top, 0.75);
    // A pointer outside the plot zooms about the plot's edge.
    EXPECT_DOUBLE_EQ(ZoomedView(frame, {-500, 45}, 0.5, 1).left, 0);
    // Dragging 50 pixels right and 25 down shows what was a quarter view left and up.
    const PictureBounds dragged = DraggedView(frame, {60, 45}, {110, 70});
    EXPECT_DOUBLE_EQ(dragged.left, -1);
    EXPECT_DOUBLE_EQ(dragged.right, 3);
    EXPECT_DOUBLE_EQ(dragged.bottom, -0.5);
    EXPECT_DOUBLE_EQ(dragged.top, 1.5);
}

TEST(StepsOverlay, BisectionStacksItsBracketsUnderTheAxisAndNamesItsEnds) {
    const std::vector<IterateMark> marks = {{0, 2.0, {}, std::pair(2.0, 3.0)}, {1, 2.5, {}, std::pair(2.0, 2.5)},
                                            {2, 2.25, {}, std::pair(2.0, 2.25)}};
    const PictureContent content = FunctionContent(FunctionOfX("x^3-2*x-5"), marks, 400);
    const PlotFrame frame{{0, 0, 400, 300}, {1.5, 3.5, -20, 20}};
    const ViewCurves view = CurvesInView(content, frame.shown, 400);
    const TextMeasure measure{12, [](std::string_view text, double) { return 7.0 * static_cast<double>(text.size()); },
                              [](double) { return 15.0; }};
    std::vector<PixelRect> taken;
    const Overlay overlay = StepsOverlay(content, frame, DrawnPixels(view, frame), measure, taken);
    std::vector<std::string> names;
    for (const OverlayText& text : overlay.texts) names.push_back(text.text);
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "x1", "x2"}));
    // Three brackets, each a bar under the axis (y = 150), the later ones lower and stronger.
    ASSERT_GE(overlay.paths.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_GT(overlay.paths[k].lines.front().front().y, 150) << k;
        if (k > 0) {
            EXPECT_GT(overlay.paths[k].opacity, overlay.paths[k - 1].opacity);
        }
    }
    EXPECT_EQ(taken.size(), 3u + names.size());
}

}  // namespace
}  // namespace koravin
