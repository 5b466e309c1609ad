#include "ui/picture_pane.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include <QAction>
#include <QBuffer>
#include <QChart>
#include <QCategoryAxis>
#include <QChartView>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGraphicsEllipseItem>
#include <QGraphicsPathItem>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QLineF>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace koravin {
namespace {

using Function = PicturePane::Function;
using Segments = std::vector<QList<QPointF>>;

constexpr QRgb kInk = 0x1b263b;
constexpr QRgb kOrange = 0xf07f13;
constexpr QRgb kLineBlue = 0x3d6fc4;
constexpr QRgb kBracketTeal = 0x17998a;
constexpr QRgb kFirstBlue = 0x1f6fc0;
constexpr QRgb kSecondRed = 0xd2382a;
constexpr QRgb kExactGrey = 0x4a4f57;
constexpr QRgb kGrid = 0xe6e8ec;
constexpr QRgb kAxisLine = 0x8c96a3;
constexpr QRgb kText = 0x3a424d;

// Beyond this a value lies off every picture; it keeps the arithmetic of the view finite.
constexpr double kLargest = 1e300;
// Qt Charts paints each series through its own clip of the whole plot, about half a millisecond a
// series here; a curve in more pieces than this is drawn as one path over the plot instead.
constexpr std::size_t kMostSeries = 24;
// The commands stop after about a hundred steps; a longer list draws the lines of its first steps.
constexpr std::size_t kMostLines = 200;
// Columns this short show their nodes as dots.
constexpr std::size_t kMostDottedNodes = 60;

struct Interval {
    double lo;
    double hi;
};

double Clamp(double value) { return std::clamp(value, -kLargest, kLargest); }

// Evenly spaced points from lo to hi, the ends exact.
double Node(double lo, double hi, int i, int count) {
    return i == count - 1 ? hi : lo + (hi - lo) * (static_cast<double>(i) / (count - 1));
}

std::optional<double> FiniteValue(const Function& f, double x) {
    const std::optional<double> value = f(x);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return value;
}

// The body of the values: from the 5th to the 95th percentile, widened by that spread but never
// past the extremes, so a few samples beside a pole do not flatten everything else.
std::optional<Interval> Body(std::vector<double> values) {
    if (values.empty()) return std::nullopt;
    for (double& value : values) value = Clamp(value);
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    const Interval extremes{*low, *high};
    const std::size_t lowIndex = (values.size() - 1) * 5 / 100;
    const std::size_t highIndex = values.size() - 1 - lowIndex;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(lowIndex), values.end());
    const double p5 = values[lowIndex];
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(highIndex), values.end());
    const double p95 = values[highIndex];
    const double spread = p95 - p5;
    return Interval{std::max(extremes.lo, p5 - spread), std::min(extremes.hi, p95 + spread)};
}

// An interval with room to show it: a point becomes an interval around it, then a margin of
// `fraction` of the width goes on either side.
Interval Widened(Interval range, double fraction) {
    if (!(range.hi - range.lo > 1e-12 * std::max(std::abs(range.lo), std::abs(range.hi)))) {
        const double half = std::max(1.0, std::abs(range.lo) * 0.1);
        range = {range.lo - half, range.hi + half};
    }
    const double margin = (range.hi - range.lo) * fraction;
    return {Clamp(range.lo - margin), Clamp(range.hi + margin)};
}

// The part of the segment from a to b inside box (Liang-Barsky); nothing when none is. The ends
// that lie inside come back exactly as given.
std::optional<QList<QPointF>> Clipped(QPointF a, QPointF b, const PictureBounds& box) {
    double t0 = 0;
    double t1 = 1;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {a.x() - box.left, box.right - a.x(), a.y() - box.bottom, box.top - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return std::nullopt;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
    }
    if (t0 > t1) return std::nullopt;
    const auto at = [&](double t) { return t == 0 ? a : t == 1 ? b : QPointF(a.x() + t * dx, a.y() + t * dy); };
    return QList<QPointF>{at(t0), at(t1)};
}

// The pieces cut to the view, so that nothing is drawn outside it even where the painter does not
// clip (SVG has no clipping). A piece that leaves the view and comes back becomes two.
Segments Fitted(const Segments& pieces, const PictureBounds& view) {
    Segments fitted;
    for (const QList<QPointF>& piece : pieces) {
        QList<QPointF> current;
        for (qsizetype i = 1; i < piece.size(); ++i) {
            const std::optional<QList<QPointF>> part = Clipped(piece[i - 1], piece[i], view);
            if (!part) continue;
            if (current.isEmpty() || current.back() != part->front()) {
                if (current.size() >= 2) fitted.push_back(std::move(current));
                current = {part->front()};
            }
            current.append(part->back());
        }
        if (current.size() >= 2) fitted.push_back(std::move(current));
    }
    return fitted;
}

// Whether f jumps by at least `step` somewhere between a and b: a pole such as tan's or 1/x's, or
// a step, which a line from a to b would draw as a wall across the picture. The half with the
// larger rise keeps at least half of it, so a continuous f soon rises less than `step`, while a
// jump keeps its height however close the two ends come.
bool Jumps(const Function& f, double a, double fa, double b, double fb, double step) {
    for (int i = 0; i < 64; ++i) {
        if (!(std::abs(fb - fa) >= step)) return false;
        const double m = a + (b - a) / 2;
        if (m == a || m == b) break;
        const std::optional<double> value = FiniteValue(f, m);
        if (!value) return true;
        if (std::abs(*value - fa) >= std::abs(fb - *value)) {
            b = m;
            fb = *value;
        } else {
            a = m;
            fa = *value;
        }
    }
    return true;
}

// f at `count` evenly spaced points of [lo, hi], as curves: a point without a finite value ends
// one, and so does a jump of more than a quarter of the view's height between two neighbours.
Segments SampleCurve(const Function& f, double lo, double hi, int count, Interval view) {
    Segments segments;
    QList<QPointF> current;
    const auto close = [&] {
        if (current.size() >= 2) segments.push_back(std::move(current));
        current = {};
    };
    double previousX = 0;
    double previous = 0;
    for (int i = 0; i < count; ++i) {
        const double x = Node(lo, hi, i, count);
        const std::optional<double> value = FiniteValue(f, x);
        if (!value) {
            close();
            continue;
        }
        const bool seen = !((previous > view.hi && *value > view.hi) || (previous < view.lo && *value < view.lo));
        if (!current.isEmpty() && seen && Jumps(f, previousX, previous, x, *value, (view.hi - view.lo) / 4)) close();
        current.append(QPointF(x, *value));
        previousX = x;
        previous = *value;
    }
    close();
    return segments;
}

// The rows as curves for a view `columns` pixels wide: where several rows fall into one pixel
// column, the first, lowest, highest and last of them stand for all, which keeps the shape. Rows
// left and right of the view each share one column. A value that is not finite ends a curve.
Segments Decimate(std::span<const double> x, std::span<const double> y, Interval xView, int columns) {
    Segments segments;
    QList<QPointF> current;
    const auto add = [&](std::size_t row) { current.append(QPointF(x[row], y[row])); };
    const auto close = [&] {
        if (current.size() >= 2) segments.push_back(std::move(current));
        current = {};
    };
    const std::size_t rows = std::min(x.size(), y.size());
    if (rows <= 2 * static_cast<std::size_t>(columns)) {
        for (std::size_t row = 0; row < rows; ++row) {
            if (std::isfinite(x[row]) && std::isfinite(y[row])) {
                add(row);
            } else {
                close();
            }
        }
        close();
        return segments;
    }
    const double columnWidth = (xView.hi - xView.lo) / columns;
    const auto columnOf = [&](double value) {
        return static_cast<long>(std::clamp(std::floor((value - xView.lo) / columnWidth), -1.0, static_cast<double>(columns)));
    };
    struct Bucket {
        long column;
        std::size_t first, lowest, highest, last;
    };
    std::optional<Bucket> bucket;
    const auto flush = [&] {
        if (!bucket) return;
        std::size_t kept[] = {bucket->first, bucket->lowest, bucket->highest, bucket->last};
        std::sort(std::begin(kept), std::end(kept));
        for (std::size_t k = 0; k < 4; ++k) {
            if (k == 0 || kept[k] != kept[k - 1]) add(kept[k]);
        }
        bucket.reset();
    };
    for (std::size_t row = 0; row < rows; ++row) {
        if (!std::isfinite(x[row]) || !std::isfinite(y[row])) {
            flush();
            close();
            continue;
        }
        const long column = columnOf(x[row]);
        if (bucket && bucket->column == column) {
            if (y[row] < y[bucket->lowest]) bucket->lowest = row;
            if (y[row] > y[bucket->highest]) bucket->highest = row;
            bucket->last = row;
        } else {
            flush();
            bucket = Bucket{column, row, row, row, row};
        }
    }
    flush();
    close();
    return segments;
}

// The line a step of Newton's method or of the secant method draws: from its points on the curve
// to the new iterate on the x axis, as one segment that holds all of them.
std::optional<std::pair<QPointF, QPointF>> StepLine(const IterateMark& mark) {
    if (mark.through.empty()) return std::nullopt;
    std::vector<QPointF> points{QPointF(mark.x, 0)};
    for (const IterateMark::Point& point : mark.through) points.emplace_back(point.x, point.y);
    for (const QPointF& point : points) {
        if (!std::isfinite(point.x()) || !std::isfinite(point.y())) return std::nullopt;
    }
    const auto [first, last] = std::minmax_element(points.begin(), points.end(), [](QPointF a, QPointF b) {
        return a.x() != b.x() ? a.x() < b.x() : a.y() < b.y();
    });
    if (mark.through.size() == 1) return std::pair(points[1], points[0]);
    return std::pair(*first, *last);
}

// Tick spacing of 1, 2 or 5 times a power of ten, about `count` ticks to the range.
double NiceStep(double span, double count) {
    const double raw = span / std::max(count, 1.0);
    if (!(raw > 0) || !std::isfinite(raw)) return 1;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double fraction = raw / magnitude;
    return (fraction < 1.5 ? 1 : fraction < 3.5 ? 2 : fraction < 7.5 ? 5 : 10) * magnitude;
}

// As many decimals as the tick spacing needs; large values, and spacings far below them, with an
// exponent. The tick at 0 reads "0", whatever rounding left of it.
QString TickText(double value, double lo, double hi, double step) {
    if (std::abs(value) < step * 1e-6) return QStringLiteral("0");
    const double largest = std::max(std::abs(lo), std::abs(hi));
    if (largest >= 1e6 || step < 1e-6) {
        return QString::number(value, 'E', std::clamp(static_cast<int>(std::ceil(std::log10(largest / step))), 0, 12));
    }
    return QString::number(value, 'f', std::clamp(static_cast<int>(-std::floor(std::log10(step) + 1e-9)), 0, 12));
}

// The axis's ticks are categories ending at each multiple of the spacing, so each label is written
// here rather than by the axis.
void SetAxis(QCategoryAxis* axis, double lo, double hi, double pixels, double pixelsPerTick) {
    const double step = NiceStep(hi - lo, std::max(pixels, 100.0) / pixelsPerTick);
    for (const QString& label : axis->categoriesLabels()) axis->remove(label);
    axis->setRange(lo, hi);
    const double firstTick = std::ceil(lo / step);
    axis->setStartValue((firstTick - 1) * step);
    for (int i = 0; i < 100 && (firstTick + i) * step <= hi; ++i) {
        const double value = (firstTick + i) * step;
        axis->append(TickText(value, lo, hi, step), value);
    }
}

QString ErrorText(double error) {
    if (std::isnan(error)) return QStringLiteral("NaN");
    if (std::isinf(error)) return QStringLiteral("Inf");
    return QString::number(error, 'E', 1);
}

struct CurveStyle {
    QString name;
    QPen pen;
};

QPen Pen(QRgb colour, double width, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen{QColor(colour), width, style, Qt::RoundCap, Qt::RoundJoin};
    pen.setCosmetic(true);
    return pen;
}

struct LegendEntry {
    enum class Sample { Line, Dot, Bar };
    QString text;
    QPen pen;
    Sample sample = Sample::Line;
};

QString AskExportFileName(QWidget* owner) {
    QString filter;
    QString name = QFileDialog::getSaveFileName(owner, QStringLiteral("导出图片"), QString(),
                                                QStringLiteral("PNG 图片(*.png);;SVG 图片(*.svg)"), &filter);
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty()) {
        name += filter.contains(QStringLiteral("svg")) ? QStringLiteral(".svg") : QStringLiteral(".png");
    }
    return name;
}

}  // namespace

struct PicturePane::Impl {
    enum class Mode { Empty, Function, Columns };

    PicturePane& pane;
    QChart* chart = new QChart;
    QChartView* view = nullptr;
    QCategoryAxis* axisX = new QCategoryAxis;
    QCategoryAxis* axisY = new QCategoryAxis;
    QGraphicsRectItem* overlay = nullptr;
    QGraphicsSimpleTextItem* placeholder = nullptr;

    Mode mode = Mode::Empty;
    Function f;
    std::vector<IterateMark> marks;
    std::vector<double> x;
    std::vector<double> first;
    std::vector<double> second;
    Function exact;

    PictureBounds home{-5, 5, -1, 1};
    PictureBounds shown = home;
    std::map<QString, std::vector<QLineSeries*>> curves;  // each curve's pieces between its gaps
    struct Path {
        Segments pieces;
        QPen pen;
    };
    std::map<QString, Path> paths;  // the curves in too many pieces for series
    std::map<QString, CurveStyle> styles;
    std::map<QString, QScatterSeries*> dots;  // the iterates, or the nodes of a short table
    std::vector<LegendEntry> legend;
    double sampledWidth = 0;
    bool placing = false;

    std::optional<QPointF> dragStart;
    PictureBounds dragBounds;
    ExportFileAsker asker = AskExportFileName;

    explicit Impl(PicturePane& owner) : pane(owner) {}

    QRectF plot() const { return chart->plotArea(); }

    int Columns() const { return static_cast<int>(std::clamp(plot().width(), 100.0, 4000.0)); }

    QFont TextFont() const {
        QFont font = pane.font();
        font.setPointSizeF(std::max(8.0, font.pointSizeF()));
        return font;
    }

    void Build() {
        chart->setTheme(QChart::ChartThemeLight);
        chart->setBackgroundRoundness(0);
        chart->setBackgroundBrush(Qt::white);
        chart->setBackgroundPen(Qt::NoPen);
        chart->setMargins(QMargins(4, 8, 14, 4));
        chart->legend()->hide();
        for (QCategoryAxis* axis : {axisX, axisY}) {
            axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
            axis->setGridLineColor(QColor(kGrid));
            axis->setMinorGridLineVisible(false);
            axis->setLinePenColor(QColor(kAxisLine));
            axis->setLabelsColor(QColor(kText));
            axis->setLabelsFont(TextFont());
            QFont title = TextFont();
            title.setItalic(true);
            axis->setTitleFont(title);
            axis->setTitleBrush(QColor(kText));
        }
        axisX->setTitleText(QStringLiteral("x"));
        axisY->setTitleText(QStringLiteral("y"));
        chart->addAxis(axisX, Qt::AlignBottom);
        chart->addAxis(axisY, Qt::AlignLeft);

        overlay = new QGraphicsRectItem(chart);
        overlay->setPen(Qt::NoPen);
        overlay->setFlag(QGraphicsItem::ItemClipsChildrenToShape);
        overlay->setZValue(1000);
        placeholder = new QGraphicsSimpleTextItem(QStringLiteral("暂无图形"), chart);
        placeholder->setBrush(QColor(0x9a, 0xa1, 0xab));
        placeholder->setFont(TextFont());
        placeholder->setZValue(1000);

        view = new QChartView(chart, &pane);
        view->setRenderHint(QPainter::Antialiasing);
        view->setFrameShape(QFrame::NoFrame);
        view->setContextMenuPolicy(Qt::NoContextMenu);
        view->setBackgroundBrush(Qt::white);
        view->viewport()->installEventFilter(&pane);
        auto* layout = new QVBoxLayout(&pane);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view);

        QObject::connect(chart, &QChart::plotAreaChanged, &pane, [this] { PlotAreaChanged(); });
        ShowEmpty();
    }

    void RemoveSeries() {
        chart->removeAllSeries();
        curves.clear();
        paths.clear();
        dots.clear();
    }

    void ShowEmpty() {
        mode = Mode::Empty;
        RemoveSeries();
        f = {};
        exact = {};
        marks.clear();
        x.clear();
        first.clear();
        second.clear();
        legend.clear();
        axisX->setVisible(false);
        axisY->setVisible(false);
        PlaceOverlay();
    }

    void StartShowing(Mode newMode) {
        RemoveSeries();
        mode = newMode;
        axisX->setVisible(true);
        axisY->setVisible(true);
    }

    void SetCurve(const QString& key, Segments segments) {
        std::vector<QLineSeries*>& pieces = curves[key];
        const bool asPath = segments.size() > kMostSeries;
        while (pieces.size() > (asPath ? 0 : segments.size())) {
            chart->removeSeries(pieces.back());
            delete pieces.back();
            pieces.pop_back();
        }
        // A wide pen strokes a curve that zigzags across the plot (an unstable method's table, a
        // function that oscillates faster than the pixels) hundreds of times slower than a thin one.
        QPen pen = styles[key].pen;
        if (PixelLength(segments) > 6 * (plot().width() + plot().height())) pen.setWidthF(std::min(pen.widthF(), 1.0));
        if (asPath) {
            paths[key] = {std::move(segments), pen};
            return;
        }
        paths.erase(key);
        const CurveStyle& style = styles[key];
        for (std::size_t i = 0; i < segments.size(); ++i) {
            if (i == pieces.size()) {
                auto* series = new QLineSeries;
                series->setObjectName(key);
                series->setName(style.name);
                chart->addSeries(series);
                series->attachAxis(axisX);
                series->attachAxis(axisY);
                pieces.push_back(series);
            }
            // After addSeries, which gives a new series the theme's pen.
            if (pieces[i]->pen() != pen) pieces[i]->setPen(pen);
            pieces[i]->replace(segments[i]);
        }
    }

    double PixelLength(const Segments& segments) const {
        double length = 0;
        for (const QList<QPointF>& piece : segments) {
            for (qsizetype i = 1; i < piece.size(); ++i) {
                length += QLineF(ToPixel(piece[i - 1].x(), piece[i - 1].y()), ToPixel(piece[i].x(), piece[i].y())).length();
            }
        }
        return length;
    }

    // The curves for the view shown, sampled or thinned to its width in pixels.
    void RefreshData() {
        if (mode == Mode::Empty) return ApplyAxes();
        const int columns = Columns();
        sampledWidth = plot().width();
        const double width = shown.right - shown.left;
        const Interval xView{shown.left, shown.right};
        const Interval yView{shown.bottom, shown.top};
        const double lo = Clamp(shown.left - 0.02 * width);
        const double hi = Clamp(shown.right + 0.02 * width);
        const bool axisShown = shown.bottom <= 0 && shown.top >= 0;
        if (mode == Mode::Function) {
            SetCurve(QStringLiteral("axis"), axisShown ? Segments{{QPointF(shown.left, 0), QPointF(shown.right, 0)}} : Segments{});
            SetCurve(QStringLiteral("f"), Fitted(SampleCurve(f, lo, hi, 2 * columns, yView), shown));
            Segments tangents;
            Segments secants;
            for (std::size_t i = 0; i < marks.size() && i < kMostLines; ++i) {
                const auto line = StepLine(marks[i]);
                if (!line) continue;
                if (auto clipped = Clipped(line->first, line->second, shown)) {
                    (marks[i].through.size() == 1 ? tangents : secants).push_back(std::move(*clipped));
                }
            }
            SetCurve(QStringLiteral("tangent"), std::move(tangents));
            SetCurve(QStringLiteral("secant"), std::move(secants));
            QList<QPointF> points;
            for (const IterateMark& mark : marks) {
                if (axisShown && mark.x >= shown.left && mark.x <= shown.right) points.append(QPointF(mark.x, 0));
            }
            SetDots(QStringLiteral("iterates"), kOrange, 9, points);
        } else {
            SetCurve(QStringLiteral("first"), Fitted(Decimate(x, first, xView, columns), shown));
            SetCurve(QStringLiteral("second"), Fitted(Decimate(x, second, xView, columns), shown));
            if (exact) SetCurve(QStringLiteral("exact"), Fitted(SampleCurve(exact, lo, hi, 2 * columns, yView), shown));
            // A short table shows its nodes; only the real ones, not the ends of a cut curve.
            if (x.size() <= kMostDottedNodes) {
                const auto nodes = [&](const std::vector<double>& column) {
                    QList<QPointF> points;
                    for (std::size_t row = 0; row < column.size(); ++row) {
                        if (x[row] >= shown.left && x[row] <= shown.right && column[row] >= shown.bottom && column[row] <= shown.top) {
                            points.append(QPointF(x[row], column[row]));
                        }
                    }
                    return points;
                };
                SetDots(QStringLiteral("first nodes"), kFirstBlue, 6, nodes(first));
                SetDots(QStringLiteral("second nodes"), kSecondRed, 6, nodes(second));
            }
        }
        // Attaching a new series may have fitted the axes to its points.
        ApplyAxes();
    }

    void SetDots(const QString& key, QRgb colour, double size, const QList<QPointF>& points) {
        QScatterSeries*& series = dots[key];
        if (series == nullptr) {
            series = new QScatterSeries;
            series->setObjectName(key);
            chart->addSeries(series);
            series->attachAxis(axisX);
            series->attachAxis(axisY);
            series->setMarkerShape(QScatterSeries::MarkerShapeCircle);
            series->setMarkerSize(size);
            series->setColor(QColor(colour));
            series->setBorderColor(Qt::white);
        }
        series->replace(points);
    }

    void ApplyAxes() {
        const QRectF area = plot();
        SetAxis(axisX, shown.left, shown.right, area.width(), 90);
        SetAxis(axisY, shown.bottom, shown.top, area.height(), 45);
    }

    void Show(const PictureBounds& bounds) {
        shown = Sane(bounds);
        RefreshData();
        PlaceOverlay();
    }

    static PictureBounds Sane(PictureBounds b) {
        const auto fix = [](double& lo, double& hi) {
            if (!std::isfinite(lo) || !std::isfinite(hi) || !(lo < hi)) {
                lo = -1;
                hi = 1;
            }
            lo = Clamp(lo);
            hi = Clamp(hi);
            const double smallest = 1e-12 * std::max({std::abs(lo), std::abs(hi), 1e-200});
            if (hi - lo < smallest) {
                const double centre = lo + (hi - lo) / 2;
                lo = centre - smallest / 2;
                hi = centre + smallest / 2;
            }
        };
        fix(b.left, b.right);
        fix(b.bottom, b.top);
        return b;
    }

    void PlotAreaChanged() {
        if (placing) return;
        placing = true;
        if (mode != Mode::Empty && std::abs(plot().width() - sampledWidth) >= 1) {
            RefreshData();
        } else {
            ApplyAxes();
        }
        PlaceOverlay();
        placing = false;
    }

    QPointF ToPixel(double vx, double vy) const {
        const QRectF area = plot();
        const double px = area.left() + (vx - shown.left) / (shown.right - shown.left) * area.width();
        const double py = area.bottom() - (vy - shown.bottom) / (shown.top - shown.bottom) * area.height();
        return {std::clamp(px, -1e6, 1e6), std::clamp(py, -1e6, 1e6)};
    }

    QPointF ToValue(QPointF pixel) const {
        const QRectF area = plot();
        return {shown.left + (pixel.x() - area.left()) / area.width() * (shown.right - shown.left),
                shown.bottom + (area.bottom() - pixel.y()) / area.height() * (shown.top - shown.bottom)};
    }

    void PlaceOverlay() {
        for (QGraphicsItem* item : overlay->childItems()) delete item;
        const QRectF area = plot();
        overlay->setRect(area);
        placeholder->setVisible(mode == Mode::Empty);
        if (mode == Mode::Empty) {
            const QRectF text = placeholder->boundingRect();
            placeholder->setPos(chart->rect().center() - text.center());
            return;
        }
        for (const auto& [key, curve] : paths) {
            QPainterPath path;
            for (const QList<QPointF>& piece : curve.pieces) {
                path.moveTo(ToPixel(piece.front().x(), piece.front().y()));
                for (qsizetype i = 1; i < piece.size(); ++i) path.lineTo(ToPixel(piece[i].x(), piece[i].y()));
            }
            auto* item = new QGraphicsPathItem(path, overlay);
            item->setPen(curve.pen);
        }
        const std::vector<QPointF> drawn = CurvePixels();
        std::vector<QRectF> taken;
        if (mode == Mode::Function) PlaceSteps(area, drawn, taken);
        PlaceLegend(area, drawn, taken);
    }

    // The pixels the curves and lines pass through, no more than 4 pixels apart.
    std::vector<QPointF> CurvePixels() const {
        std::vector<QList<QPointF>> pieces;
        for (const auto& [key, series] : curves) {
            if (key == QStringLiteral("axis")) continue;
            for (const QLineSeries* piece : series) pieces.push_back(piece->points());
        }
        for (const auto& [key, curve] : paths) pieces.insert(pieces.end(), curve.pieces.begin(), curve.pieces.end());
        std::vector<QPointF> drawn;
        for (const QList<QPointF>& points : pieces) {
            QPointF previous;
            for (qsizetype i = 0; i < points.size(); ++i) {
                const QPointF point = ToPixel(points[i].x(), points[i].y());
                const int steps = i == 0 ? 1 : std::clamp(static_cast<int>(QLineF(previous, point).length() / 4), 1, 100);
                for (int s = 1; s <= steps; ++s) drawn.push_back(previous + (point - previous) * (static_cast<double>(s) / steps));
                previous = point;
            }
        }
        for (const auto& [key, series] : dots) {
            for (const QPointF& point : series->points()) drawn.push_back(ToPixel(point.x(), point.y()));
        }
        return drawn;
    }

    // Brackets, the drops from the curve to the axis, and the iterates' numbers, in pixels.
    void PlaceSteps(const QRectF& area, const std::vector<QPointF>& drawn, std::vector<QRectF>& taken) {
        const double axisY0 = ToPixel(0, 0).y();
        const bool axisShown = axisY0 >= area.top() && axisY0 <= area.bottom();

        std::vector<const IterateMark*> brackets;
        for (const IterateMark& mark : marks) {
            if (mark.bracket && std::isfinite(mark.bracket->first) && std::isfinite(mark.bracket->second)) brackets.push_back(&mark);
        }
        // The brackets stack down from the axis, or up from it when there is no room below, or up
        // from the bottom of the plot when there is none above either; the numbers go on the
        // other side of the axis. The last, narrowest brackets give way when even that is short.
        const double gap = 9;
        const double roomBelow = axisShown ? area.bottom() - axisY0 - gap - 4 : 0;
        const double roomAbove = axisShown ? axisY0 - area.top() - gap - 4 : 0;
        const double fewest = 3.0 * brackets.size();
        double barStart = area.bottom() - 6;
        double direction = -1;
        double room = area.height() * 0.4;
        if (roomBelow >= std::min(fewest, 24.0)) {
            barStart = axisY0 + gap;
            direction = 1;
            room = roomBelow;
        } else if (roomAbove >= std::min(fewest, 24.0)) {
            barStart = axisY0 - gap;
            room = roomAbove;
        }
        const double spacing = brackets.empty() ? 0 : std::clamp(room / brackets.size(), 3.0, 8.0);
        brackets.resize(std::min(brackets.size(), static_cast<std::size_t>(room / spacing) + 1));
        for (std::size_t k = 0; k < brackets.size(); ++k) {
            const double y = barStart + direction * spacing * k;
            const double a = ToPixel(std::min(brackets[k]->bracket->first, brackets[k]->bracket->second), 0).x();
            const double b = ToPixel(std::max(brackets[k]->bracket->first, brackets[k]->bracket->second), 0).x();
            if (b < area.left() || a > area.right()) continue;
            const double cap = std::min(3.0, spacing / 2);
            QPainterPath path;
            path.moveTo(std::max(a, area.left()), y);
            path.lineTo(std::min(b, area.right()), y);
            for (double end : {a, b}) {
                if (b - a <= 6 || end < area.left() || end > area.right()) continue;
                path.moveTo(end, y - cap);
                path.lineTo(end, y + cap);
            }
            auto* bar = new QGraphicsPathItem(path, overlay);
            bar->setPen(Pen(kBracketTeal, std::clamp(spacing * 0.5, 1.5, 2.0)));
            // The earlier, wider brackets fade; the last is the strongest.
            bar->setOpacity(brackets.size() == 1 ? 1.0 : 0.45 + 0.55 * k / (brackets.size() - 1));
            taken.push_back(QRectF(QPointF(a, y - cap), QPointF(b, y + cap)));
        }

        QPainterPath drops;
        for (std::size_t i = 0; i < marks.size() && i < kMostLines; ++i) {
            for (const IterateMark::Point& point : marks[i].through) {
                if (!std::isfinite(point.x) || !std::isfinite(point.y)) continue;
                const QPointF onCurve = ToPixel(point.x, point.y);
                if (onCurve.x() < area.left() || onCurve.x() > area.right()) continue;
                drops.moveTo(onCurve.x(), std::clamp(axisY0, area.top(), area.bottom()));
                drops.lineTo(onCurve.x(), std::clamp(onCurve.y(), area.top(), area.bottom()));
                if (!area.contains(onCurve)) continue;
                auto* dot = new QGraphicsEllipseItem(QRectF(onCurve - QPointF(3, 3), QSizeF(6, 6)), overlay);
                dot->setPen(Pen(kLineBlue, 1.3));
                dot->setBrush(Qt::white);
                dot->setZValue(1);
            }
        }
        auto* dropItem = new QGraphicsPathItem(drops, overlay);
        dropItem->setPen(Pen(kAxisLine, 1, Qt::DotLine));

        if (!axisShown) return;
        const bool below = brackets.empty() ? axisY0 + 24 < area.bottom() : direction < 0;
        const QFont font = TextFont();
        const QFontMetricsF metrics(font);
        std::vector<const IterateMark*> ordered;
        for (const IterateMark& mark : marks) ordered.push_back(&mark);
        std::stable_sort(ordered.begin(), ordered.end(), [](const IterateMark* a, const IterateMark* b) { return a->index < b->index; });
        const auto crossed = [&](const QRectF& rect) {
            return std::any_of(drawn.begin(), drawn.end(), [&](const QPointF& point) { return rect.contains(point); });
        };
        // A number goes where nothing else is, on its side of the axis or else on the other; over a
        // curve if it must; never over another number or a bracket.
        for (const IterateMark* mark : ordered) {
            if (!std::isfinite(mark->x)) continue;
            const double px = ToPixel(mark->x, 0).x();
            if (px < area.left() || px > area.right()) continue;
            const QString text = QStringLiteral("x%1").arg(mark->index);
            const QSizeF size(metrics.horizontalAdvance(text), metrics.height());
            const double left = std::clamp(px - size.width() / 2, area.left() + 1, area.right() - 1 - size.width());
            const QRectF under(QPointF(left, axisY0 + 6), size);
            const QRectF over(QPointF(left, axisY0 - 6 - size.height()), size);
            std::optional<QRectF> place;
            for (bool avoidCurves : {true, false}) {
                for (const QRectF& rect : {below ? under : over, below ? over : under}) {
                    const QRectF padded = rect.adjusted(-3, 0, 3, 0);
                    if (!area.contains(rect) || (avoidCurves && crossed(rect))) continue;
                    if (std::any_of(taken.begin(), taken.end(), [&](const QRectF& other) { return other.intersects(padded); })) continue;
                    place = rect;
                    break;
                }
                if (place) break;
            }
            if (!place) continue;
            taken.push_back(place->adjusted(-3, 0, 3, 0));
            auto* label = new QGraphicsSimpleTextItem(text, overlay);
            label->setFont(font);
            label->setBrush(QColor(kOrange).darker(125));
            label->setPos(place->topLeft());
            label->setZValue(2);
        }
    }

    // The legend in the corner of the plot where it hides the least.
    void PlaceLegend(const QRectF& area, const std::vector<QPointF>& drawn, const std::vector<QRectF>& taken) {
        if (legend.empty()) return;
        const QFont font = TextFont();
        const QFontMetricsF metrics(font);
        const double sampleWidth = 24;
        const double padding = 6;
        const double row = metrics.height() + 2;
        double textWidth = 0;
        for (const LegendEntry& entry : legend) textWidth = std::max(textWidth, metrics.horizontalAdvance(entry.text));
        const QSizeF size(padding * 3 + sampleWidth + textWidth, padding * 2 + row * legend.size() - 2);

        const double inset = 8;
        if (size.width() + 2 * inset > area.width() || size.height() + 2 * inset > area.height()) return;
        const QPointF corners[] = {
            {area.left() + inset, area.top() + inset},
            {area.right() - inset - size.width(), area.top() + inset},
            {area.right() - inset - size.width(), area.bottom() - inset - size.height()},
            {area.left() + inset, area.bottom() - inset - size.height()},
        };
        QRectF best;
        std::size_t fewest = std::numeric_limits<std::size_t>::max();
        for (const QPointF& corner : corners) {
            const QRectF rect(corner, size);
            std::size_t covered = 0;
            for (const QPointF& point : drawn) covered += rect.contains(point) ? 1 : 0;
            for (const QRectF& other : taken) covered += rect.intersects(other) ? 1000 : 0;
            if (covered < fewest) {
                fewest = covered;
                best = rect;
            }
        }

        auto* box = new QGraphicsRectItem(best, overlay);
        box->setPen(QPen(QColor(0xd5, 0xd9, 0xdf), 1));
        box->setBrush(QColor(255, 255, 255, 225));
        box->setZValue(3);
        for (std::size_t i = 0; i < legend.size(); ++i) {
            const LegendEntry& entry = legend[i];
            const double top = best.top() + padding + row * i;
            const double middle = top + metrics.height() / 2;
            const double left = best.left() + padding;
            QGraphicsItem* sample = nullptr;
            if (entry.sample == LegendEntry::Sample::Dot) {
                auto* dot = new QGraphicsEllipseItem(QRectF(left + sampleWidth / 2 - 4.5, middle - 4.5, 9, 9), box);
                dot->setPen(QPen(Qt::white, 1));
                dot->setBrush(entry.pen.color());
                sample = dot;
            } else {
                QPainterPath path;
                path.moveTo(left, middle);
                path.lineTo(left + sampleWidth, middle);
                if (entry.sample == LegendEntry::Sample::Bar) {
                    path.moveTo(left, middle - 3);
                    path.lineTo(left, middle + 3);
                    path.moveTo(left + sampleWidth, middle - 3);
                    path.lineTo(left + sampleWidth, middle + 3);
                }
                auto* line = new QGraphicsPathItem(path, box);
                line->setPen(entry.pen);
                sample = line;
            }
            sample->setZValue(1);
            auto* text = new QGraphicsSimpleTextItem(entry.text, box);
            text->setFont(font);
            text->setBrush(QColor(kText));
            text->setPos(left + sampleWidth + padding, top);
        }
    }

    void ZoomAt(QPointF pixel, double factorX, double factorY) {
        const QRectF area = plot();
        if (mode == Mode::Empty || area.isEmpty()) return;
        pixel.setX(std::clamp(pixel.x(), area.left(), area.right()));
        pixel.setY(std::clamp(pixel.y(), area.top(), area.bottom()));
        const QPointF at = ToValue(pixel);
        Show({at.x() - (at.x() - shown.left) * factorX, at.x() + (shown.right - at.x()) * factorX,
              at.y() - (at.y() - shown.bottom) * factorY, at.y() + (shown.top - at.y()) * factorY});
    }

    void DragTo(QPointF pixel) {
        const QRectF area = plot();
        if (!dragStart || area.isEmpty()) return;
        const double dx = (pixel.x() - dragStart->x()) / area.width() * (dragBounds.right - dragBounds.left);
        const double dy = (pixel.y() - dragStart->y()) / area.height() * (dragBounds.top - dragBounds.bottom);
        Show({dragBounds.left - dx, dragBounds.right - dx, dragBounds.bottom + dy, dragBounds.top + dy});
    }

    QPointF ChartPosition(QPointF viewportPosition) const {
        return chart->mapFromScene(view->mapToScene(viewportPosition.toPoint()));
    }

    // The chart laid out and drawn as it now stands, before it is grabbed or rendered.
    void Settle() {
        QCoreApplication::sendPostedEvents();
        PlotAreaChanged();
    }
};

PicturePane::PicturePane(QWidget* parent) : QWidget(parent), impl_(std::make_unique<Impl>(*this)) {
    setObjectName(QStringLiteral("Picture"));
    setAccessibleName(QStringLiteral("图形区域"));
    setMinimumSize(240, 160);
    impl_->Build();

    auto* exportAction = new QAction(QStringLiteral("导出图片…"), this);
    exportAction->setObjectName(QStringLiteral("exportPicture"));
    connect(exportAction, &QAction::triggered, this, [this] {
        const QString fileName = impl_->asker ? impl_->asker(this) : QString();
        if (fileName.isEmpty()) return;
        emit exported(fileName, exportPicture(fileName));
    });
    auto* resetAction = new QAction(QStringLiteral("恢复原来的视图"), this);
    resetAction->setObjectName(QStringLiteral("resetView"));
    connect(resetAction, &QAction::triggered, this, &PicturePane::resetView);
    addAction(exportAction);
    addAction(resetAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

PicturePane::~PicturePane() {
    // The view and its chart outlive impl_ by a little: QWidget deletes its children after this.
    impl_->view->viewport()->removeEventFilter(this);
    disconnect(impl_->chart, nullptr, this, nullptr);
}

void PicturePane::showFunction(Function f, const std::vector<IterateMark>& marks) {
    Impl& d = *impl_;
    d.StartShowing(Impl::Mode::Function);
    d.f = std::move(f);
    d.marks = marks;

    std::vector<double> xs;
    std::vector<double> ys{0};
    bool tangents = false;
    bool secants = false;
    bool brackets = false;
    for (const IterateMark& mark : marks) {
        xs.push_back(mark.x);
        for (const IterateMark::Point& point : mark.through) {
            xs.push_back(point.x);
            if (std::isfinite(point.y)) ys.push_back(point.y);
        }
        if (mark.bracket) {
            xs.push_back(mark.bracket->first);
            xs.push_back(mark.bracket->second);
            brackets = true;
        }
        if (mark.through.size() == 1) tangents = true;
        if (mark.through.size() > 1) secants = true;
    }
    std::erase_if(xs, [](double value) { return !std::isfinite(value); });
    Interval xRange{-5, 5};
    if (!xs.empty()) {
        const auto [low, high] = std::minmax_element(xs.begin(), xs.end());
        xRange = Widened({Clamp(*low), Clamp(*high)}, 0.15);
    }

    const int count = 2 * d.Columns();
    std::vector<double> values;
    for (int i = 0; i < count; ++i) {
        if (const auto value = FiniteValue(d.f, Node(xRange.lo, xRange.hi, i, count))) values.push_back(*value);
    }
    Interval yRange{0, 0};
    if (const auto body = Body(std::move(values))) yRange = *body;
    for (double y : ys) {
        yRange.lo = std::min(yRange.lo, Clamp(y));
        yRange.hi = std::max(yRange.hi, Clamp(y));
    }
    // The brackets stack under the axis: a quarter of the height at least is kept for them there.
    if (brackets && yRange.hi > 0) yRange.lo = std::min(yRange.lo, -yRange.hi / 3);
    yRange = Widened(yRange, 0.08);

    d.styles[QStringLiteral("axis")] = {QString(), Pen(kAxisLine, 1)};
    d.styles[QStringLiteral("f")] = {QStringLiteral("f(x)"), Pen(kInk, 2)};
    d.styles[QStringLiteral("tangent")] = {QStringLiteral("切线"), Pen(kLineBlue, 1.2, Qt::DashLine)};
    d.styles[QStringLiteral("secant")] = {QStringLiteral("割线"), Pen(kLineBlue, 1.2, Qt::DashLine)};
    d.legend = {{QStringLiteral("f(x)"), Pen(kInk, 2)}};
    if (!marks.empty()) d.legend.push_back({QStringLiteral("迭代点"), Pen(kOrange, 1), LegendEntry::Sample::Dot});
    if (tangents) d.legend.push_back({QStringLiteral("切线"), Pen(kLineBlue, 1.2, Qt::DashLine)});
    if (secants) d.legend.push_back({QStringLiteral("割线"), Pen(kLineBlue, 1.2, Qt::DashLine)});
    if (brackets) d.legend.push_back({QStringLiteral("有根区间"), Pen(kBracketTeal, 2.5), LegendEntry::Sample::Bar});

    d.home = {xRange.lo, xRange.hi, yRange.lo, yRange.hi};
    d.Show(d.home);
}

void PicturePane::showColumns(std::span<const double> x, const QString& firstHeading, std::span<const double> first,
                              const QString& secondHeading, std::span<const double> second, Function exact) {
    Impl& d = *impl_;
    d.StartShowing(Impl::Mode::Columns);
    d.x.assign(x.begin(), x.end());
    d.first.assign(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(std::min(first.size(), x.size())));
    d.second.assign(second.begin(), second.begin() + static_cast<std::ptrdiff_t>(std::min(second.size(), x.size())));
    d.exact = std::move(exact);

    std::vector<double> xs;
    for (double value : d.x) {
        if (std::isfinite(value)) xs.push_back(value);
    }
    Interval xRange{-5, 5};
    if (!xs.empty()) {
        const auto [low, high] = std::minmax_element(xs.begin(), xs.end());
        xRange = Widened({Clamp(*low), Clamp(*high)}, 0.02);
    }
    std::vector<double> values;
    for (const std::vector<double>* column : {&d.first, &d.second}) {
        for (std::size_t row = 0; row < column->size(); ++row) {
            if (std::isfinite((*column)[row]) && std::isfinite(d.x[row])) values.push_back((*column)[row]);
        }
    }
    QString firstName = firstHeading;
    QString secondName = secondHeading;
    if (d.exact) {
        const int count = 2 * d.Columns();
        for (int i = 0; i < count; ++i) {
            if (const auto value = FiniteValue(d.exact, Node(xRange.lo, xRange.hi, i, count))) values.push_back(*value);
        }
        if (!d.x.empty()) {
            const std::optional<double> atEnd = d.exact(d.x.back());
            const double truth = atEnd ? *atEnd : std::nan("");
            const auto withError = [&](const QString& heading, const std::vector<double>& column) {
                const double error = column.size() == d.x.size() ? std::abs(column.back() - truth) : std::nan("");
                return heading + QStringLiteral("（末点误差 %1）").arg(ErrorText(error));
            };
            firstName = withError(firstHeading, d.first);
            secondName = withError(secondHeading, d.second);
        }
    }
    Interval yRange{-1, 1};
    if (const auto body = Body(std::move(values))) yRange = *body;
    yRange = Widened(yRange, 0.08);

    d.styles[QStringLiteral("first")] = {firstName, Pen(kFirstBlue, 1.8)};
    d.styles[QStringLiteral("second")] = {secondName, Pen(kSecondRed, 1.8)};
    d.styles[QStringLiteral("exact")] = {QStringLiteral("精确解y(x)"), Pen(kExactGrey, 1.4, Qt::DashLine)};
    d.legend = {{firstName, Pen(kFirstBlue, 1.8)}, {secondName, Pen(kSecondRed, 1.8)}};
    if (d.exact) d.legend.push_back({QStringLiteral("精确解y(x)"), Pen(kExactGrey, 1.4, Qt::DashLine)});

    d.home = {xRange.lo, xRange.hi, yRange.lo, yRange.hi};
    d.Show(d.home);
}

void PicturePane::clear() { impl_->ShowEmpty(); }

bool PicturePane::isEmpty() const { return impl_->mode == Impl::Mode::Empty; }

PictureBounds PicturePane::bounds() const { return impl_->shown; }

PictureBounds PicturePane::homeBounds() const { return impl_->home; }

void PicturePane::setBounds(const PictureBounds& bounds) {
    if (!isEmpty()) impl_->Show(bounds);
}

void PicturePane::resetView() { setBounds(impl_->home); }

bool PicturePane::exportPicture(const QString& fileName) {
    Impl& d = *impl_;
    d.Settle();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (fileName.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        const QSize size = d.view->viewport()->size();
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setTitle(QStringLiteral("图形"));
        // Text sizes in points then come out as they look on the screen.
        generator.setResolution(d.view->logicalDpiX());
        QPainter painter(&generator);
        painter.setRenderHint(QPainter::Antialiasing);
        d.view->render(&painter, QRectF(QPointF(0, 0), size), QRect(QPoint(0, 0), size));
    } else if (!d.view->grab().save(&buffer, "PNG")) {
        return false;
    }
    const QByteArray bytes = buffer.data();
    QSaveFile file(fileName);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly)) return false;
    // commit() alone can report success after a write that failed.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void PicturePane::setExportFileAsker(ExportFileAsker asker) { impl_->asker = std::move(asker); }

QChart* PicturePane::chart() const { return impl_->chart; }

bool PicturePane::eventFilter(QObject* watched, QEvent* event) {
    Impl& d = *impl_;
    if (watched != d.view->viewport() || d.mode == Impl::Mode::Empty) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Wheel: {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const QPoint delta = wheel->angleDelta();
        const int steps = delta.y() != 0 ? delta.y() : delta.x();
        if (steps == 0) return true;
        const double factor = std::pow(0.85, steps / 120.0);
        const Qt::KeyboardModifiers keys = wheel->modifiers();
        d.ZoomAt(d.ChartPosition(wheel->position()), keys & Qt::ShiftModifier ? 1.0 : factor,
                 keys & Qt::ControlModifier ? 1.0 : factor);
        return true;
    }
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) return false;
        d.dragStart = d.ChartPosition(mouse->position());
        d.dragBounds = d.shown;
        d.view->viewport()->setCursor(Qt::ClosedHandCursor);
        return true;
    }
    case QEvent::MouseMove:
        if (!d.dragStart) return false;
        d.DragTo(d.ChartPosition(static_cast<QMouseEvent*>(event)->position()));
        return true;
    case QEvent::MouseButtonRelease:
        if (!d.dragStart) return false;
        d.dragStart.reset();
        d.view->viewport()->unsetCursor();
        return true;
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
        d.dragStart.reset();
        resetView();
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

}  // namespace koravin
