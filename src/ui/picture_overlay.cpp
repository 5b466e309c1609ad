// What the picture draws over Qt Charts' series, in pixels: curves in too many pieces for series,
// bisection brackets, the drops from the curve, the iterates' names and the legend. Which names
// and where, and where the legend goes, is src/plot's (labels.h); this draws it.

#include <algorithm>
#include <cmath>
#include <limits>

#include <QFontMetricsF>
#include <QGraphicsEllipseItem>
#include <QGraphicsPathItem>
#include <QLineF>
#include <QPainterPath>

#include "ui/picture_pane_impl.h"

namespace koravin {
namespace {

PixelRect ToPixelRect(const QRectF& rect) { return {rect.left(), rect.top(), rect.width(), rect.height()}; }
QRectF ToRectF(const PixelRect& rect) { return {rect.left, rect.top, rect.width, rect.height}; }

// Below the plot the legend keeps this far from the chart's edge.
constexpr int kChartMargin = 4;

}  // namespace

void PicturePane::Impl::PlaceOverlay() {
    for (QGraphicsItem* item : overlay->childItems()) delete item;
    delete legendBelow;
    legendBelow = nullptr;
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
        for (const Polyline& piece : curve.pieces) {
            path.moveTo(ToPixel(piece.front().x, piece.front().y));
            for (std::size_t i = 1; i < piece.size(); ++i) path.lineTo(ToPixel(piece[i].x, piece[i].y));
        }
        auto* item = new QGraphicsPathItem(path, overlay);
        item->setPen(curve.pen);
    }
    const std::vector<PixelPoint> drawn = CurvePixels();
    std::vector<PixelRect> taken;
    if (mode == Mode::Function) PlaceSteps(area, drawn, taken);
    if (mode == Mode::Cobweb) PlaceCobwebNames(area, drawn, taken);
    PlaceLegend(area, drawn, taken);
}

// The pixels the curves and lines pass through, no more than 4 pixels apart.
std::vector<PixelPoint> PicturePane::Impl::CurvePixels() const {
    std::vector<QList<QPointF>> pieces;
    for (const auto& [key, series] : curves) {
        if (key == QStringLiteral("axis")) continue;
        for (const QLineSeries* piece : series) pieces.push_back(piece->points());
    }
    for (const auto& [key, curve] : paths) {
        for (const Polyline& piece : curve.pieces) {
            QList<QPointF>& points = pieces.emplace_back();
            for (const PlotPoint& point : piece) points.append(QPointF(point.x, point.y));
        }
    }
    std::vector<PixelPoint> drawn;
    const auto add = [&drawn](QPointF point) { drawn.push_back({point.x(), point.y()}); };
    for (const QList<QPointF>& points : pieces) {
        QPointF previous;
        for (qsizetype i = 0; i < points.size(); ++i) {
            const QPointF point = ToPixel(points[i].x(), points[i].y());
            const int steps = i == 0 ? 1 : std::clamp(static_cast<int>(QLineF(previous, point).length() / 4), 1, 100);
            for (int s = 1; s <= steps; ++s) add(previous + (point - previous) * (static_cast<double>(s) / steps));
            previous = point;
        }
    }
    for (const auto& [key, series] : dots) {
        for (const QPointF& point : series->points()) add(ToPixel(point.x(), point.y()));
    }
    return drawn;
}

// Brackets, the drops from the curve to the axis, and the iterates' names, in pixels.
void PicturePane::Impl::PlaceSteps(const QRectF& area, const std::vector<PixelPoint>& drawn, std::vector<PixelRect>& taken) {
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
        taken.push_back(ToPixelRect(QRectF(QPointF(a, y - cap), QPointF(b, y + cap))));
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
    // The bracket's ends stand on the axis as ticks; their names go beside them like the iterates'.
    QPainterPath ends;
    for (const IterateMark& mark : marks) {
        if (!IsStartingBracket(mark)) continue;
        for (const double end : {mark.bracket->first, mark.bracket->second}) {
            const double px = ToPixel(end, 0).x();
            if (!std::isfinite(end) || px < area.left() || px > area.right()) continue;
            ends.moveTo(px, axisY0 - 4);
            ends.lineTo(px, axisY0 + 4);
        }
    }
    auto* endItem = new QGraphicsPathItem(ends, overlay);
    endItem->setPen(Pen(kBracketTeal, 2));
    const bool below = brackets.empty() ? axisY0 + 24 < area.bottom() : direction < 0;
    PlaceNames(IterateLabels(marks), area, axisY0, below, drawn, taken);
}

// The iterates' names along the bottom of the plot, each with a dotted line up to its point on
// y = x.
void PicturePane::Impl::PlaceCobwebNames(const QRectF& area, const std::vector<PixelPoint>& drawn,
                                         std::vector<PixelRect>& taken) {
    const std::vector<AxisLabel> names = IterateLabels(marks);
    const std::vector<std::optional<QRectF>> places = PlaceNames(names, area, area.bottom(), false, drawn, taken);
    QPainterPath drops;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!places[i]) continue;
        const QPointF onDiagonal = ToPixel(names[i].x, names[i].x);
        drops.moveTo(onDiagonal.x(), std::clamp(onDiagonal.y(), area.top(), area.bottom()));
        drops.lineTo(onDiagonal.x(), places[i]->top() - 1);
    }
    auto* dropItem = new QGraphicsPathItem(drops, overlay);
    dropItem->setPen(Pen(kAxisLine, 1, Qt::DotLine));
}

// The names src/plot placed, drawn where it put them; nothing for those it left out.
std::vector<std::optional<QRectF>> PicturePane::Impl::PlaceNames(const std::vector<AxisLabel>& names, const QRectF& area,
                                                                double axisY, bool below,
                                                                const std::vector<PixelPoint>& drawn,
                                                                std::vector<PixelRect>& taken) {
    const QFont font = TextFont();
    const QFontMetricsF metrics(font);
    std::vector<LabelBox> boxes;
    for (const AxisLabel& name : names) {
        boxes.push_back({ToPixel(name.x, 0).x(), metrics.horizontalAdvance(FromUtf8(name.text)), metrics.height()});
    }
    const std::vector<std::optional<PixelRect>> places = PlaceLabels(boxes, ToPixelRect(area), axisY, below, drawn, taken);
    std::vector<std::optional<QRectF>> placed;
    for (std::size_t i = 0; i < names.size(); ++i) {
        placed.push_back(places[i] ? std::optional(ToRectF(*places[i])) : std::nullopt);
        if (!places[i]) continue;
        auto* label = new QGraphicsSimpleTextItem(FromUtf8(names[i].text), overlay);
        label->setFont(font);
        label->setBrush(QColor(kOrange).darker(125));
        label->setPos(places[i]->left, places[i]->top);
        label->setZValue(2);
    }
    return placed;
}

// The legend in the corner of the plot where it hides the least, or below the plot when it would
// hide the curves wherever it stood; the chart makes room for it there.
void PicturePane::Impl::PlaceLegend(const QRectF& area, const std::vector<PixelPoint>& drawn,
                                    const std::vector<PixelRect>& taken) {
    const auto room = [this](double height) {
        QMargins margins = chart->margins();
        if (margins.bottom() != kChartMargin + static_cast<int>(std::ceil(height))) {
            margins.setBottom(kChartMargin + static_cast<int>(std::ceil(height)));
            chart->setMargins(margins);
        }
    };
    if (legend.empty()) return room(0);
    const double padding = 6;
    const double inset = 8;
    QFont font = TextFont();
    const double fullSize = font.pointSizeF();
    double sampleWidth = 24;
    const auto entryWidths = [&] {
        const QFontMetricsF metrics(font);
        std::vector<double> widths;
        for (const LegendEntry& entry : legend) widths.push_back(sampleWidth + padding + metrics.horizontalAdvance(entry.text));
        return widths;
    };
    // Under a narrow plot the entries get smaller before they are cut.
    std::vector<double> widths = entryWidths();
    while (*std::max_element(widths.begin(), widths.end()) + 2 * padding > area.width() &&
           font.pointSizeF() - 0.5 >= fullSize * 0.6) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        sampleWidth = 16;
        widths = entryWidths();
    }
    const QFontMetricsF metrics(font);
    const double row = metrics.height() + 2;
    const LegendPlace place = koravin::PlaceLegend(widths, row, padding, ToPixelRect(area), inset, drawn, taken);
    room(place.below ? place.box.height : 0);
    QRectF best = ToRectF(place.box);
    QGraphicsItem* layer = overlay;
    if (place.below) {
        best.moveTo(area.left(), chart->rect().bottom() - kChartMargin - place.box.height);
        legendBelow = new QGraphicsRectItem(chart);
        legendBelow->setPen(Qt::NoPen);
        legendBelow->setZValue(1000);
        layer = legendBelow;
    }

    auto* box = new QGraphicsRectItem(best, layer);
    box->setPen(QPen(QColor(0xd5, 0xd9, 0xdf), 1));
    box->setBrush(QColor(255, 255, 255, 225));
    box->setZValue(3);
    for (std::size_t i = 0; i < legend.size(); ++i) {
        const LegendEntry& entry = legend[i];
        const double top = best.top() + place.entries[i].y;
        const double middle = top + metrics.height() / 2;
        const double left = best.left() + place.entries[i].x;
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

}  // namespace koravin
