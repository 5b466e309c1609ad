#include "plot/picture_scene.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace koravin {
namespace {

// Columns and step curves this short show their points as dots.
constexpr std::size_t kMostDottedNodes = 60;

// A sampled curve reaches a little past the view, so that panning shows no gap at its edge.
Interval SampledRange(const PictureBounds& shown) {
    const double width = shown.right - shown.left;
    return {ClampToPicture(shown.left - 0.02 * width), ClampToPicture(shown.right + 0.02 * width)};
}

// f sampled twice per pixel column and cut to the view.
Pieces SampledInView(const PlotFunction& f, const PictureBounds& shown, int columns) {
    const Interval range = SampledRange(shown);
    return Fitted(SampleCurve(f, range.lo, range.hi, 2 * columns, {shown.bottom, shown.top}), shown);
}

Pieces OnePiece(const std::optional<std::pair<PlotPoint, PlotPoint>>& segment) {
    if (!segment) return {};
    return {{segment->first, segment->second}};
}

std::vector<PlotPoint> PointsInView(const std::vector<PlotPoint>& points, const PictureBounds& view) {
    std::vector<PlotPoint> inView;
    for (const PlotPoint& point : points) {
        if (point.x >= view.left && point.x <= view.right && point.y >= view.bottom && point.y <= view.top) {
            inView.push_back(point);
        }
    }
    return inView;
}

std::string Numbered(std::string_view key, std::size_t run) { return std::string(key) + std::to_string(run + 1); }

constexpr Stroke kFStroke{kInk, 2};
constexpr Stroke kStepLineStroke{kLineBlue, 1.2, Stroke::Dash::Dashed};
constexpr Stroke kBracketStroke{kBracketTeal, 2.5};
constexpr Stroke kFirstStroke{kFirstBlue, 1.8};
constexpr Stroke kSecondStroke{kSecondRed, 1.8};
constexpr Stroke kExactStroke{kExactGrey, 1.4, Stroke::Dash::Dashed};
constexpr Stroke kDiagonalStroke{kExactGrey, 1.2, Stroke::Dash::Dashed};
constexpr Stroke kPathStroke{kOrange, 1.5};
constexpr Stroke kDropStroke{kAxisLine, 1, Stroke::Dash::Dotted};

}  // namespace

PictureContent FunctionContent(PlotFunction f, std::vector<IterateMark> marks, int columns) {
    PictureContent content;
    content.kind = PictureKind::Function;
    content.f = std::move(f);
    content.marks = std::move(marks);
    const auto any = [&](auto property) { return std::any_of(content.marks.begin(), content.marks.end(), property); };
    content.legend = {{"f(x)", kFStroke}};
    if (!content.marks.empty()) content.legend.push_back({"迭代点", {kOrange, 1}, LegendItem::Sample::Dot});
    if (any([](const IterateMark& m) { return m.through.size() == 1; })) content.legend.push_back({"切线", kStepLineStroke});
    if (any([](const IterateMark& m) { return m.through.size() > 1; })) content.legend.push_back({"割线", kStepLineStroke});
    if (any([](const IterateMark& m) { return m.bracket.has_value(); })) {
        content.legend.push_back({"有根区间", kBracketStroke, LegendItem::Sample::Bar});
    }
    content.home = FunctionHome(content.f, content.marks, 2 * columns);
    return content;
}

PictureContent ColumnsContent(std::span<const double> x, std::string_view firstHeading, std::span<const double> first,
                              std::string_view secondHeading, std::span<const double> second, PlotFunction exact,
                              int columns) {
    PictureContent content;
    content.kind = PictureKind::Columns;
    content.x.assign(x.begin(), x.end());
    content.first.assign(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(std::min(first.size(), x.size())));
    content.second.assign(second.begin(), second.begin() + static_cast<std::ptrdiff_t>(std::min(second.size(), x.size())));
    content.exact = std::move(exact);
    content.firstName = firstHeading;
    content.secondName = secondHeading;
    if (content.exact && !content.x.empty()) {
        const std::optional<double> atEnd = content.exact(content.x.back());
        const double truth = atEnd ? *atEnd : std::nan("");
        const auto withError = [&](std::string& name, const std::vector<double>& column) {
            const double error = column.size() == content.x.size() ? std::abs(column.back() - truth) : std::nan("");
            name += "（末点误差 " + ErrorText(error) + "）";
        };
        withError(content.firstName, content.first);
        withError(content.secondName, content.second);
    }
    content.legend = {{content.firstName, kFirstStroke}, {content.secondName, kSecondStroke}};
    if (content.exact) content.legend.push_back({"精确解y(x)", kExactStroke});
    content.home = ColumnsHome(content.x, content.first, content.second, content.exact, 2 * columns);
    return content;
}

PictureContent CobwebContent(PlotFunction phi, std::vector<IterateMark> marks) {
    PictureContent content;
    content.kind = PictureKind::Cobweb;
    content.f = std::move(phi);
    content.marks = std::move(marks);
    content.staircase = Staircase(content.f, content.marks);
    content.legend = {{"y=φ(x)", kFStroke}, {"y=x", kDiagonalStroke}, {"迭代路径", kPathStroke}};
    content.home = CobwebHome(content.f, content.marks);
    return content;
}

PictureContent DecayContent(const std::vector<DecayCurve>& runs, std::string sizeTitle) {
    PictureContent content;
    content.kind = PictureKind::Decay;
    content.xTitle = "k";
    content.yTitle = std::move(sizeTitle);
    content.xScale = AxisScale::Counting;
    content.yScale = AxisScale::Logarithmic;
    bool anyPrediction = false;
    for (std::size_t run = 0; run < runs.size() && run < kMostDecayCurves; ++run) {
        content.decayLabels.push_back(runs[run].label);
        content.decay.push_back(LogPieces(runs[run].sizes));
        content.decayPoints.push_back(LogPoints(runs[run].sizes));
        content.predicted.push_back(PredictedLine(runs[run].sizes, runs[run].radius));
        anyPrediction = anyPrediction || content.predicted.back().has_value();
        content.legend.push_back({runs[run].label, {kRunColours[run], 1.8}});
    }
    // The dashed lines share one entry: each has its run's colour.
    if (anyPrediction) content.legend.push_back({"C·ρᵏ", {kAxisLine, 1.2, Stroke::Dash::Dashed}});
    content.home = DecayHome(runs);
    return content;
}

ViewCurves CurvesInView(const PictureContent& content, const PictureBounds& shown, int columns) {
    ViewCurves view;
    const auto curve = [&view](std::string key, std::string name, Stroke stroke, Pieces pieces) {
        view.curves.push_back({std::move(key), std::move(name), stroke, std::move(pieces)});
    };
    switch (content.kind) {
    case PictureKind::Function: {
        const bool axisShown = shown.bottom <= 0 && shown.top >= 0;
        curve("axis", "", {kAxisLine, 1}, axisShown ? Pieces{{{shown.left, 0}, {shown.right, 0}}} : Pieces{});
        curve("f", "f(x)", kFStroke, SampledInView(content.f, shown, columns));
        Pieces tangents;
        Pieces secants;
        for (std::size_t i = 0; i < content.marks.size() && i < kMostLines; ++i) {
            const auto line = StepLine(content.marks[i]);
            if (!line) continue;
            Pieces clipped = OnePiece(Clipped(line->first, line->second, shown));
            if (clipped.empty()) continue;
            (content.marks[i].through.size() == 1 ? tangents : secants).push_back(std::move(clipped.front()));
        }
        curve("tangent", "切线", kStepLineStroke, std::move(tangents));
        curve("secant", "割线", kStepLineStroke, std::move(secants));
        std::vector<PlotPoint> iterates;
        for (const IterateMark& mark : content.marks) {
            if (IsStartingBracket(mark)) continue;
            if (axisShown && mark.x >= shown.left && mark.x <= shown.right) iterates.push_back({mark.x, 0});
        }
        view.dots.push_back({"iterates", kOrange, 9, std::move(iterates)});
        break;
    }
    case PictureKind::Columns: {
        const Interval xView{shown.left, shown.right};
        curve("first", content.firstName, kFirstStroke, Fitted(Decimate(content.x, content.first, xView, columns), shown));
        curve("second", content.secondName, kSecondStroke, Fitted(Decimate(content.x, content.second, xView, columns), shown));
        if (content.exact) curve("exact", "精确解y(x)", kExactStroke, SampledInView(content.exact, shown, columns));
        // A short table shows its nodes; only the real ones, not the ends of a cut curve.
        if (content.x.size() > kMostDottedNodes) break;
        const auto nodes = [&](const std::vector<double>& column) {
            std::vector<PlotPoint> points;
            for (std::size_t row = 0; row < column.size(); ++row) points.push_back({content.x[row], column[row]});
            return PointsInView(points, shown);
        };
        view.dots.push_back({"first nodes", kFirstBlue, 6, nodes(content.first)});
        view.dots.push_back({"second nodes", kSecondRed, 6, nodes(content.second)});
        break;
    }
    case PictureKind::Decay:
        for (std::size_t run = 0; run < content.decay.size(); ++run) {
            const Rgb colour = kRunColours[run];
            curve(Numbered("steps", run), content.decayLabels[run], {colour, 1.8}, Fitted(content.decay[run], shown));
            curve(Numbered("predicted", run), "", {colour, 1.2, Stroke::Dash::Dashed},
                  content.predicted[run] ? Fitted({*content.predicted[run]}, shown) : Pieces{});
            if (content.decayPoints[run].size() <= kMostDottedNodes) {
                view.dots.push_back({Numbered("steps", run) + " nodes", colour, 6, PointsInView(content.decayPoints[run], shown)});
            }
        }
        break;
    case PictureKind::Cobweb: {
        const Interval range = SampledRange(shown);
        curve("diagonal", "y=x", kDiagonalStroke, OnePiece(Clipped({range.lo, range.lo}, {range.hi, range.hi}, shown)));
        curve("phi", "y=φ(x)", kFStroke, SampledInView(content.f, shown, columns));
        curve("staircase", "迭代路径", kPathStroke, Fitted({content.staircase}, shown));
        std::vector<PlotPoint> iterates;
        for (const IterateMark& mark : content.marks) iterates.push_back({mark.x, mark.x});
        view.dots.push_back({"iterates", kOrange, 7, PointsInView(iterates, shown)});
        break;
    }
    case PictureKind::Empty: break;
    }
    return view;
}

PixelPoint PlotFrame::toPixel(double x, double y) const {
    const double px = area.left + (x - shown.left) / (shown.right - shown.left) * area.width;
    const double py = area.bottom() - (y - shown.bottom) / (shown.top - shown.bottom) * area.height;
    return {std::clamp(px, -1e6, 1e6), std::clamp(py, -1e6, 1e6)};
}

PlotPoint PlotFrame::toValue(PixelPoint pixel) const {
    return {shown.left + (pixel.x - area.left) / area.width * (shown.right - shown.left),
            shown.bottom + (area.bottom() - pixel.y) / area.height * (shown.top - shown.bottom)};
}

PictureBounds ZoomedView(const PlotFrame& frame, PixelPoint pixel, double factorX, double factorY) {
    pixel.x = std::clamp(pixel.x, frame.area.left, frame.area.right());
    pixel.y = std::clamp(pixel.y, frame.area.top, frame.area.bottom());
    const PlotPoint at = frame.toValue(pixel);
    const PictureBounds& shown = frame.shown;
    return {at.x - (at.x - shown.left) * factorX, at.x + (shown.right - at.x) * factorX,
            at.y - (at.y - shown.bottom) * factorY, at.y + (shown.top - at.y) * factorY};
}

PictureBounds DraggedView(const PlotFrame& frame, PixelPoint start, PixelPoint now) {
    const PictureBounds& before = frame.shown;
    const double dx = (now.x - start.x) / frame.area.width * (before.right - before.left);
    const double dy = (now.y - start.y) / frame.area.height * (before.top - before.bottom);
    return {before.left - dx, before.right - dx, before.bottom + dy, before.top + dy};
}

std::vector<PixelPoint> DrawnPixels(const ViewCurves& view, const PlotFrame& frame) {
    std::vector<PixelPoint> drawn;
    for (const SceneCurve& curve : view.curves) {
        if (curve.key == "axis") continue;
        for (const Polyline& piece : curve.pieces) {
            PixelPoint previous{};
            for (std::size_t i = 0; i < piece.size(); ++i) {
                const PixelPoint point = frame.toPixel(piece[i]);
                const double length = std::hypot(point.x - previous.x, point.y - previous.y);
                // A point every 4 pixels, at most 100 a segment (also for one with no length at all).
                int steps = 1;
                if (i > 0) steps = length < 400 ? std::max(1, static_cast<int>(length / 4)) : 100;
                for (int s = 1; s <= steps; ++s) {
                    const double t = static_cast<double>(s) / steps;
                    drawn.push_back({previous.x + (point.x - previous.x) * t, previous.y + (point.y - previous.y) * t});
                }
                previous = point;
            }
        }
    }
    for (const SceneDots& dots : view.dots) {
        for (const PlotPoint& point : dots.points) drawn.push_back(frame.toPixel(point));
    }
    return drawn;
}

namespace {

// The names placed where src/plot's rule puts them; nothing for those it leaves out.
std::vector<std::optional<PixelRect>> PlaceNames(const std::vector<AxisLabel>& names, const PlotFrame& frame,
                                                 double axisY, bool below, std::span<const PixelPoint> drawn,
                                                 const TextMeasure& measure, std::vector<PixelRect>& taken,
                                                 Overlay& overlay) {
    std::vector<LabelBox> boxes;
    for (const AxisLabel& name : names) {
        boxes.push_back({frame.toPixel(name.x, 0).x, measure.width(name.text, measure.size), measure.height(measure.size)});
    }
    const std::vector<std::optional<PixelRect>> places = PlaceLabels(boxes, frame.area, axisY, below, drawn, taken);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (places[i]) overlay.texts.push_back({names[i].text, *places[i], kNameBrown});
    }
    return places;
}

void FunctionSteps(const PictureContent& content, const PlotFrame& frame, std::span<const PixelPoint> drawn,
                   const TextMeasure& measure, std::vector<PixelRect>& taken, Overlay& overlay) {
    const PixelRect& area = frame.area;
    const double axisY0 = frame.toPixel(0, 0).y;
    const bool axisShown = axisY0 >= area.top && axisY0 <= area.bottom();

    std::vector<const IterateMark*> brackets;
    for (const IterateMark& mark : content.marks) {
        if (mark.bracket && std::isfinite(mark.bracket->first) && std::isfinite(mark.bracket->second)) {
            brackets.push_back(&mark);
        }
    }
    // The brackets stack down from the axis, or up from it when there is no room below, or up
    // from the bottom of the plot when there is none above either; the numbers go on the
    // other side of the axis. The last, narrowest brackets give way when even that is short.
    const double gap = 9;
    const double roomBelow = axisShown ? area.bottom() - axisY0 - gap - 4 : 0;
    const double roomAbove = axisShown ? axisY0 - area.top - gap - 4 : 0;
    const double fewest = 3.0 * static_cast<double>(brackets.size());
    double barStart = area.bottom() - 6;
    double direction = -1;
    double room = area.height * 0.4;
    if (roomBelow >= std::min(fewest, 24.0)) {
        barStart = axisY0 + gap;
        direction = 1;
        room = roomBelow;
    } else if (roomAbove >= std::min(fewest, 24.0)) {
        barStart = axisY0 - gap;
        room = roomAbove;
    }
    const double spacing = brackets.empty() ? 0 : std::clamp(room / static_cast<double>(brackets.size()), 3.0, 8.0);
    if (!brackets.empty()) brackets.resize(std::min(brackets.size(), static_cast<std::size_t>(room / spacing) + 1));
    for (std::size_t k = 0; k < brackets.size(); ++k) {
        const double y = barStart + direction * spacing * static_cast<double>(k);
        const double a = frame.toPixel(std::min(brackets[k]->bracket->first, brackets[k]->bracket->second), 0).x;
        const double b = frame.toPixel(std::max(brackets[k]->bracket->first, brackets[k]->bracket->second), 0).x;
        if (b < area.left || a > area.right()) continue;
        const double cap = std::min(3.0, spacing / 2);
        OverlayPath bar{{kBracketTeal, std::clamp(spacing * 0.5, 1.5, 2.0)}, 1, {}};
        bar.lines.push_back({{std::max(a, area.left), y}, {std::min(b, area.right()), y}});
        for (const double end : {a, b}) {
            if (b - a <= 6 || end < area.left || end > area.right()) continue;
            bar.lines.push_back({{end, y - cap}, {end, y + cap}});
        }
        // The earlier, wider brackets fade; the last is the strongest.
        bar.opacity = brackets.size() == 1 ? 1.0 : 0.45 + 0.55 * static_cast<double>(k) / static_cast<double>(brackets.size() - 1);
        overlay.paths.push_back(std::move(bar));
        taken.push_back({a, y - cap, b - a, 2 * cap});
    }

    OverlayPath drops{kDropStroke, 1, {}};
    for (std::size_t i = 0; i < content.marks.size() && i < kMostLines; ++i) {
        for (const IterateMark::Point& point : content.marks[i].through) {
            if (!std::isfinite(point.x) || !std::isfinite(point.y)) continue;
            const PixelPoint onCurve = frame.toPixel(point.x, point.y);
            if (onCurve.x < area.left || onCurve.x > area.right()) continue;
            drops.lines.push_back({{onCurve.x, std::clamp(axisY0, area.top, area.bottom())},
                                   {onCurve.x, std::clamp(onCurve.y, area.top, area.bottom())}});
            if (area.contains(onCurve)) overlay.circles.push_back({onCurve, 3, {kLineBlue, 1.3}, 0xffffff});
        }
    }
    overlay.paths.push_back(std::move(drops));

    if (!axisShown) return;
    // The bracket's ends stand on the axis as ticks; their names go beside them like the iterates'.
    OverlayPath ends{{kBracketTeal, 2}, 1, {}};
    for (const IterateMark& mark : content.marks) {
        if (!IsStartingBracket(mark)) continue;
        for (const double end : {mark.bracket->first, mark.bracket->second}) {
            const double px = frame.toPixel(end, 0).x;
            if (!std::isfinite(end) || px < area.left || px > area.right()) continue;
            ends.lines.push_back({{px, axisY0 - 4}, {px, axisY0 + 4}});
        }
    }
    overlay.paths.push_back(std::move(ends));
    const bool below = brackets.empty() ? axisY0 + 24 < area.bottom() : direction < 0;
    PlaceNames(IterateLabels(content.marks), frame, axisY0, below, drawn, measure, taken, overlay);
}

// The iterates' names along the bottom of the plot, each with a dotted line up to its point on
// y = x.
void CobwebNames(const PictureContent& content, const PlotFrame& frame, std::span<const PixelPoint> drawn,
                 const TextMeasure& measure, std::vector<PixelRect>& taken, Overlay& overlay) {
    const std::vector<AxisLabel> names = IterateLabels(content.marks);
    const auto places = PlaceNames(names, frame, frame.area.bottom(), false, drawn, measure, taken, overlay);
    OverlayPath drops{kDropStroke, 1, {}};
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!places[i]) continue;
        const PixelPoint onDiagonal = frame.toPixel(names[i].x, names[i].x);
        drops.lines.push_back({{onDiagonal.x, std::clamp(onDiagonal.y, frame.area.top, frame.area.bottom())},
                               {onDiagonal.x, places[i]->top - 1}});
    }
    overlay.paths.push_back(std::move(drops));
}

}  // namespace

Overlay StepsOverlay(const PictureContent& content, const PlotFrame& frame, std::span<const PixelPoint> drawn,
                     const TextMeasure& measure, std::vector<PixelRect>& taken) {
    Overlay overlay;
    if (content.kind == PictureKind::Function) FunctionSteps(content, frame, drawn, measure, taken, overlay);
    if (content.kind == PictureKind::Cobweb) CobwebNames(content, frame, drawn, measure, taken, overlay);
    return overlay;
}

std::optional<LegendLayout> LayOutLegend(const std::vector<LegendItem>& legend, const PixelRect& area,
                                         std::span<const PixelPoint> drawn, std::span<const PixelRect> taken,
                                         const TextMeasure& measure) {
    if (legend.empty()) return std::nullopt;
    LegendLayout layout;
    layout.fontSize = measure.size;
    const double inset = 8;
    const auto entryWidths = [&] {
        std::vector<double> widths;
        for (const LegendItem& item : legend) {
            widths.push_back(layout.sampleWidth + layout.padding + measure.width(item.text, layout.fontSize));
        }
        return widths;
    };
    // Under a narrow plot the entries get smaller before they are cut.
    std::vector<double> widths = entryWidths();
    while (*std::max_element(widths.begin(), widths.end()) + 2 * layout.padding > area.width &&
           layout.fontSize - 0.5 >= measure.size * 0.6) {
        layout.fontSize -= 0.5;
        layout.sampleWidth = 16;
        widths = entryWidths();
    }
    layout.textHeight = measure.height(layout.fontSize);
    layout.place = PlaceLegend(widths, layout.textHeight + 2, layout.padding, area, inset, drawn, taken);
    return layout;
}

AxisTicks XTicks(const PictureContent& content, const PictureBounds& shown, double pixels) {
    return TicksFor(shown.left, shown.right, std::max(pixels, 100.0) / 90, content.xScale);
}

AxisTicks YTicks(const PictureContent& content, const PictureBounds& shown, double pixels) {
    return TicksFor(shown.bottom, shown.top, std::max(pixels, 100.0) / 45, content.yScale);
}

}  // namespace koravin
