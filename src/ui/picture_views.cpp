// What each kind of picture shows: its home view, its curves for the view shown (sampled or
// thinned to the plot's width in pixels) and its legend.

#include <algorithm>
#include <cmath>

#include "plot/sampling.h"
#include "ui/picture_pane_impl.h"

namespace koravin {
namespace {

// Columns and step curves this short show their points as dots.
constexpr std::size_t kMostDottedNodes = 60;
constexpr QRgb kRunColours[] = {0x1f6fc0, 0xd2382a, 0x17998a, 0xf07f13, 0x7b4fb0, 0x4a4f57};
static_assert(std::size(kRunColours) >= kMostDecayCurves);

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

QList<QPointF> PointsInView(const std::vector<PlotPoint>& points, const PictureBounds& view) {
    QList<QPointF> inView;
    for (const PlotPoint& point : points) {
        if (point.x >= view.left && point.x <= view.right && point.y >= view.bottom && point.y <= view.top) {
            inView.append(QPointF(point.x, point.y));
        }
    }
    return inView;
}

QString StepsKey(std::size_t run) { return QStringLiteral("steps%1").arg(run + 1); }
QString PredictedKey(std::size_t run) { return QStringLiteral("predicted%1").arg(run + 1); }

}  // namespace

void PicturePane::Impl::RefreshData() {
    if (mode == Mode::Empty) return ApplyAxes();
    const int columns = Columns();
    sampledWidth = plot().width();
    switch (mode) {
    case Mode::Function: RefreshFunction(columns); break;
    case Mode::Columns: RefreshColumns(columns); break;
    case Mode::Decay: RefreshDecay(); break;
    case Mode::Cobweb: RefreshCobweb(columns); break;
    case Mode::Empty: break;
    }
    // Attaching a new series may have fitted the axes to its points.
    ApplyAxes();
}

void PicturePane::Impl::RefreshFunction(int columns) {
    const bool axisShown = shown.bottom <= 0 && shown.top >= 0;
    SetCurve(QStringLiteral("axis"), axisShown ? Pieces{{{shown.left, 0}, {shown.right, 0}}} : Pieces{});
    SetCurve(QStringLiteral("f"), SampledInView(f, shown, columns));
    Pieces tangents;
    Pieces secants;
    for (std::size_t i = 0; i < marks.size() && i < kMostLines; ++i) {
        const auto line = StepLine(marks[i]);
        if (!line) continue;
        Pieces clipped = OnePiece(Clipped(line->first, line->second, shown));
        if (clipped.empty()) continue;
        (marks[i].through.size() == 1 ? tangents : secants).push_back(std::move(clipped.front()));
    }
    SetCurve(QStringLiteral("tangent"), std::move(tangents));
    SetCurve(QStringLiteral("secant"), std::move(secants));
    QList<QPointF> points;
    for (const IterateMark& mark : marks) {
        if (IsStartingBracket(mark)) continue;
        if (axisShown && mark.x >= shown.left && mark.x <= shown.right) points.append(QPointF(mark.x, 0));
    }
    SetDots(QStringLiteral("iterates"), kOrange, 9, points);
}

void PicturePane::Impl::RefreshColumns(int columns) {
    const Interval xView{shown.left, shown.right};
    SetCurve(QStringLiteral("first"), Fitted(Decimate(x, first, xView, columns), shown));
    SetCurve(QStringLiteral("second"), Fitted(Decimate(x, second, xView, columns), shown));
    if (exact) SetCurve(QStringLiteral("exact"), SampledInView(exact, shown, columns));
    // A short table shows its nodes; only the real ones, not the ends of a cut curve.
    if (x.size() > kMostDottedNodes) return;
    const auto nodes = [&](const std::vector<double>& column) {
        std::vector<PlotPoint> points;
        for (std::size_t row = 0; row < column.size(); ++row) points.push_back({x[row], column[row]});
        return PointsInView(points, shown);
    };
    SetDots(QStringLiteral("first nodes"), kFirstBlue, 6, nodes(first));
    SetDots(QStringLiteral("second nodes"), kSecondRed, 6, nodes(second));
}

void PicturePane::Impl::RefreshDecay() {
    for (std::size_t run = 0; run < decay.size(); ++run) {
        SetCurve(StepsKey(run), Fitted(decay[run], shown));
        SetCurve(PredictedKey(run), predicted[run] ? Fitted({*predicted[run]}, shown) : Pieces{});
        if (decayPoints[run].size() <= kMostDottedNodes) {
            SetDots(StepsKey(run) + QStringLiteral(" nodes"), kRunColours[run], 6, PointsInView(decayPoints[run], shown));
        }
    }
}

void PicturePane::Impl::RefreshCobweb(int columns) {
    const Interval range = SampledRange(shown);
    SetCurve(QStringLiteral("diagonal"), OnePiece(Clipped({range.lo, range.lo}, {range.hi, range.hi}, shown)));
    SetCurve(QStringLiteral("phi"), SampledInView(f, shown, columns));
    SetCurve(QStringLiteral("staircase"), Fitted({staircase}, shown));
    std::vector<PlotPoint> iterates;
    for (const IterateMark& mark : marks) iterates.push_back({mark.x, mark.x});
    SetDots(QStringLiteral("iterates"), kOrange, 7, PointsInView(iterates, shown));
}

void PicturePane::showFunction(Function f, const std::vector<IterateMark>& marks) {
    Impl& d = *impl_;
    d.StartShowing(Impl::Mode::Function, QStringLiteral("x"), QStringLiteral("y"), AxisScale::Linear, AxisScale::Linear);
    d.f = std::move(f);
    d.marks = marks;
    const bool tangents = std::any_of(marks.begin(), marks.end(), [](const IterateMark& m) { return m.through.size() == 1; });
    const bool secants = std::any_of(marks.begin(), marks.end(), [](const IterateMark& m) { return m.through.size() > 1; });
    const bool brackets = std::any_of(marks.begin(), marks.end(), [](const IterateMark& m) { return m.bracket.has_value(); });

    d.styles[QStringLiteral("axis")] = {QString(), Pen(kAxisLine, 1)};
    d.styles[QStringLiteral("f")] = {QStringLiteral("f(x)"), Pen(kInk, 2)};
    d.styles[QStringLiteral("tangent")] = {QStringLiteral("切线"), Pen(kLineBlue, 1.2, Qt::DashLine)};
    d.styles[QStringLiteral("secant")] = {QStringLiteral("割线"), Pen(kLineBlue, 1.2, Qt::DashLine)};
    d.legend = {{QStringLiteral("f(x)"), Pen(kInk, 2)}};
    if (!marks.empty()) d.legend.push_back({QStringLiteral("迭代点"), Pen(kOrange, 1), LegendEntry::Sample::Dot});
    if (tangents) d.legend.push_back({QStringLiteral("切线"), Pen(kLineBlue, 1.2, Qt::DashLine)});
    if (secants) d.legend.push_back({QStringLiteral("割线"), Pen(kLineBlue, 1.2, Qt::DashLine)});
    if (brackets) d.legend.push_back({QStringLiteral("有根区间"), Pen(kBracketTeal, 2.5), LegendEntry::Sample::Bar});

    d.home = FunctionHome(d.f, d.marks, 2 * d.Columns());
    d.Show(d.home);
}

void PicturePane::showColumns(std::span<const double> x, const QString& firstHeading, std::span<const double> first,
                              const QString& secondHeading, std::span<const double> second, Function exact) {
    Impl& d = *impl_;
    d.StartShowing(Impl::Mode::Columns, QStringLiteral("x"), QStringLiteral("y"), AxisScale::Linear, AxisScale::Linear);
    d.x.assign(x.begin(), x.end());
    d.first.assign(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(std::min(first.size(), x.size())));
    d.second.assign(second.begin(), second.begin() + static_cast<std::ptrdiff_t>(std::min(second.size(), x.size())));
    d.exact = std::move(exact);

    QString firstName = firstHeading;
    QString secondName = secondHeading;
    if (d.exact && !d.x.empty()) {
        const std::optional<double> atEnd = d.exact(d.x.back());
        const double truth = atEnd ? *atEnd : std::nan("");
        const auto withError = [&](const QString& heading, const std::vector<double>& column) {
            const double error = column.size() == d.x.size() ? std::abs(column.back() - truth) : std::nan("");
            return heading + QStringLiteral("（末点误差 %1）").arg(FromUtf8(ErrorText(error)));
        };
        firstName = withError(firstHeading, d.first);
        secondName = withError(secondHeading, d.second);
    }
    d.styles[QStringLiteral("first")] = {firstName, Pen(kFirstBlue, 1.8)};
    d.styles[QStringLiteral("second")] = {secondName, Pen(kSecondRed, 1.8)};
    d.styles[QStringLiteral("exact")] = {QStringLiteral("精确解y(x)"), Pen(kExactGrey, 1.4, Qt::DashLine)};
    d.legend = {{firstName, Pen(kFirstBlue, 1.8)}, {secondName, Pen(kSecondRed, 1.8)}};
    if (d.exact) d.legend.push_back({QStringLiteral("精确解y(x)"), Pen(kExactGrey, 1.4, Qt::DashLine)});

    d.home = ColumnsHome(d.x, d.first, d.second, d.exact, 2 * d.Columns());
    d.Show(d.home);
}

void PicturePane::showCobweb(Function phi, const std::vector<IterateMark>& marks) {
    Impl& d = *impl_;
    d.StartShowing(Impl::Mode::Cobweb, QStringLiteral("x"), QStringLiteral("y"), AxisScale::Linear, AxisScale::Linear);
    d.f = std::move(phi);
    d.marks = marks;
    d.staircase = Staircase(d.f, d.marks);
    const Impl::CurveStyle phiStyle{QStringLiteral("y=φ(x)"), Pen(kInk, 2)};
    const Impl::CurveStyle diagonalStyle{QStringLiteral("y=x"), Pen(kExactGrey, 1.2, Qt::DashLine)};
    const Impl::CurveStyle pathStyle{QStringLiteral("迭代路径"), Pen(kOrange, 1.5)};
    d.styles[QStringLiteral("phi")] = phiStyle;
    d.styles[QStringLiteral("diagonal")] = diagonalStyle;
    d.styles[QStringLiteral("staircase")] = pathStyle;
    d.legend = {{phiStyle.name, phiStyle.pen}, {diagonalStyle.name, diagonalStyle.pen}, {pathStyle.name, pathStyle.pen}};
    d.home = CobwebHome(d.f, d.marks);
    d.Show(d.home);
}

void PicturePane::showDecay(const std::vector<DecayCurve>& runs, const QString& sizeTitle) {
    Impl& d = *impl_;
    d.StartShowing(Impl::Mode::Decay, QStringLiteral("k"), sizeTitle, AxisScale::Counting, AxisScale::Logarithmic);
    bool anyPrediction = false;
    for (std::size_t run = 0; run < runs.size() && run < kMostDecayCurves; ++run) {
        d.decay.push_back(LogPieces(runs[run].sizes));
        d.decayPoints.push_back(LogPoints(runs[run].sizes));
        d.predicted.push_back(PredictedLine(runs[run].sizes, runs[run].radius));
        anyPrediction = anyPrediction || d.predicted.back().has_value();
        const QString label = FromUtf8(runs[run].label);
        d.styles[StepsKey(run)] = {label, Pen(kRunColours[run], 1.8)};
        d.styles[PredictedKey(run)] = {QString(), Pen(kRunColours[run], 1.2, Qt::DashLine)};
        d.legend.push_back({label, Pen(kRunColours[run], 1.8)});
    }
    // The dashed lines share one entry: each has its run's colour.
    if (anyPrediction) d.legend.push_back({QStringLiteral("C·ρᵏ"), Pen(kAxisLine, 1.2, Qt::DashLine)});
    d.home = DecayHome(runs);
    d.Show(d.home);
}

}  // namespace koravin
