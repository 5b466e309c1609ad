#pragma once

// A picture told without a toolkit, so that the windows (Qt Charts) and the browser edition (SVG)
// draw the same one: what each kind of picture shows (its curves, their strokes, its legend and
// home view), its curves for the view shown, and what is drawn over the plot in its pixels
// (bisection's brackets, the drops from the curve, the iterates' names, the legend's place).

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "command/interaction.h"
#include "plot/axis_ticks.h"
#include "plot/convergence.h"
#include "plot/labels.h"
#include "plot/plot_geometry.h"
#include "plot/sampling.h"

namespace koravin {

using Rgb = std::uint32_t;

inline constexpr Rgb kInk = 0x1b263b;
inline constexpr Rgb kOrange = 0xf07f13;
inline constexpr Rgb kLineBlue = 0x3d6fc4;
inline constexpr Rgb kBracketTeal = 0x17998a;
inline constexpr Rgb kFirstBlue = 0x1f6fc0;
inline constexpr Rgb kSecondRed = 0xd2382a;
inline constexpr Rgb kExactGrey = 0x4a4f57;
inline constexpr Rgb kAxisLine = 0x8c96a3;
inline constexpr Rgb kText = 0x3a424d;
inline constexpr Rgb kGrid = 0xe6e8ec;
inline constexpr Rgb kNameBrown = 0xc0660f;  // the iterates' names: the dots' orange, darker
inline constexpr Rgb kRunColours[] = {0x1f6fc0, 0xd2382a, 0x17998a, 0xf07f13, 0x7b4fb0, 0x4a4f57};
static_assert(std::size(kRunColours) >= kMostDecayCurves);

// The commands stop after about a hundred steps; a longer list draws the lines of its first steps.
inline constexpr std::size_t kMostLines = 200;

struct Stroke {
    enum class Dash { Solid, Dashed, Dotted };
    Rgb colour = kInk;
    double width = 1;
    Dash dash = Dash::Solid;
};

struct LegendItem {
    enum class Sample { Line, Dot, Bar };
    std::string text;
    Stroke stroke;
    Sample sample = Sample::Line;
};

enum class PictureKind { Empty, Function, Columns, Decay, Cobweb };

// What a picture shows, the same for every view of it.
struct PictureContent {
    PictureKind kind = PictureKind::Empty;
    std::string xTitle = "x";
    std::string yTitle = "y";
    AxisScale xScale = AxisScale::Linear;
    AxisScale yScale = AxisScale::Linear;
    PlotFunction f;  // f, or φ of a cobweb
    std::vector<IterateMark> marks;
    std::vector<double> x;
    std::vector<double> first;
    std::vector<double> second;
    std::string firstName;   // the columns' names, with their errors at the last node
    std::string secondName;
    PlotFunction exact;
    std::vector<std::string> decayLabels;
    std::vector<Pieces> decay;                       // each run's steps, as (k, log10 size)
    std::vector<Polyline> decayPoints;               // the same points, a lone one among them too
    std::vector<std::optional<Polyline>> predicted;  // and the line its radius predicts
    Polyline staircase;
    std::vector<LegendItem> legend;
    PictureBounds home{-5, 5, -1, 1};
};

// f with a run's iterates, brackets, tangents and secants; `columns` is the plot's width in pixels.
PictureContent FunctionContent(PlotFunction f, std::vector<IterateMark> marks, int columns);
// A table's two columns against x, with the exact solution y(x) when one is given.
PictureContent ColumnsContent(std::span<const double> x, std::string_view firstHeading, std::span<const double> first,
                              std::string_view secondHeading, std::span<const double> second, PlotFunction exact,
                              int columns);
// The cobweb of x = φ(x).
PictureContent CobwebContent(PlotFunction phi, std::vector<IterateMark> marks);
// The step sizes of the runs (the first kMostDecayCurves of them) on a logarithmic axis.
PictureContent DecayContent(const std::vector<DecayCurve>& runs, std::string sizeTitle);

// A curve or the dots of a picture for the view shown, in the units of its axes.
struct SceneCurve {
    std::string key;   // "f", "tangent", "first", "steps1", "predicted1", ...
    std::string name;  // as a legend would name it; "" for the unnamed
    Stroke stroke;
    Pieces pieces;
};

struct SceneDots {
    std::string key;
    Rgb colour = kOrange;
    double size = 6;  // the diameter in pixels
    std::vector<PlotPoint> points;
};

struct ViewCurves {
    std::vector<SceneCurve> curves;
    std::vector<SceneDots> dots;
};

// The curves for the view `shown` of a plot `columns` pixels wide: functions sampled twice a
// pixel column, tables thinned to the columns, everything cut to the view.
ViewCurves CurvesInView(const PictureContent& content, const PictureBounds& shown, int columns);

// The plot's pixels: where a point of the view lands, y down.
struct PlotFrame {
    PixelRect area;
    PictureBounds shown;
    PixelPoint toPixel(double x, double y) const;
    PixelPoint toPixel(PlotPoint point) const { return toPixel(point.x, point.y); }
    PlotPoint toValue(PixelPoint pixel) const;
};

// The view zoomed by (factorX, factorY) about the point under `pixel`, a pixel outside the plot
// taken at its edge: a wheel's turn.
PictureBounds ZoomedView(const PlotFrame& frame, PixelPoint pixel, double factorX, double factorY);
// The view `frame` showed when a drag began at `start`, moved with the pointer now at `now`.
PictureBounds DraggedView(const PlotFrame& frame, PixelPoint start, PixelPoint now);

// The pixels the curves and lines pass through, no more than 4 pixels apart, and the dots.
std::vector<PixelPoint> DrawnPixels(const ViewCurves& view, const PlotFrame& frame);

// What is drawn over the plot, in its pixels.
struct OverlayPath {
    Stroke stroke;
    double opacity = 1;
    std::vector<std::vector<PixelPoint>> lines;  // each drawn from its first point through the others
};

struct OverlayCircle {
    PixelPoint centre;
    double radius = 3;
    Stroke stroke;
    Rgb fill = 0xffffff;
};

struct OverlayText {
    std::string text;
    PixelRect box;
    Rgb colour = kText;
};

struct Overlay {
    std::vector<OverlayPath> paths;
    std::vector<OverlayCircle> circles;
    std::vector<OverlayText> texts;
};

// The picture's font, measured in pixels at a size (in the units the face sizes its fonts in).
struct TextMeasure {
    double size = 9;  // the font's size
    std::function<double(std::string_view text, double size)> width;
    std::function<double(double size)> height;  // a line's height
};

// Over the plot: for f with a run, bisection's brackets stacked beside the axis, the drops from
// the curve's points to the axis, the ends of the first bracket and the iterates' names; for the
// cobweb, the names under the plot with dotted drops from y = x. Each rectangle used goes into
// `taken`.
Overlay StepsOverlay(const PictureContent& content, const PlotFrame& frame, std::span<const PixelPoint> drawn,
                     const TextMeasure& measure, std::vector<PixelRect>& taken);

// The legend laid out: its place (in the plot's corner, or in a band below the plot), the font's
// size (smaller under a narrow plot, down to 60 %), each entry's sample width, and a row's height.
struct LegendLayout {
    LegendPlace place;
    double fontSize = 9;
    double sampleWidth = 24;
    double textHeight = 14;
    double padding = 6;
};

// Nothing for an empty legend.
std::optional<LegendLayout> LayOutLegend(const std::vector<LegendItem>& legend, const PixelRect& area,
                                         std::span<const PixelPoint> drawn, std::span<const PixelRect> taken,
                                         const TextMeasure& measure);

// Ticks for an axis `pixels` long: one about every 90 pixels across, 45 up.
AxisTicks XTicks(const PictureContent& content, const PictureBounds& shown, double pixels);
AxisTicks YTicks(const PictureContent& content, const PictureBounds& shown, double pixels);

}  // namespace koravin
