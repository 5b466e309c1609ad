// What the picture draws over Qt Charts' series, in pixels: curves in too many pieces for series,
// bisection brackets, the drops from the curve, the iterates' numbers and the legend.

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


}  // namespace

void PicturePane::Impl::PlaceOverlay() {
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
        for (const Polyline& piece : curve.pieces) {
            path.moveTo(ToPixel(piece.front().x, piece.front().y));
            for (std::size_t i = 1; i < piece.size(); ++i) path.lineTo(ToPixel(piece[i].x, piece[i].y));
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
std::vector<QPointF> PicturePane::Impl::CurvePixels() const {
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
void PicturePane::Impl::PlaceSteps(const QRectF& area, const std::vector<QPointF>& drawn, std::vector<QRectF>& taken) {
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
void PicturePane::Impl::PlaceLegend(const QRectF& area, const std::vector<QPointF>& drawn, const std::vector<QRectF>& taken) {
    if (legend.empty()) return;
    const double padding = 6;
    const double inset = 8;
    QFont font = TextFont();
    const double fullSize = font.pointSizeF();
    double sampleWidth = 24;
    // A narrow pane gets a smaller legend rather than none: curves without names say nothing.
    const auto legendSize = [&] {
        const QFontMetricsF metrics(font);
        double textWidth = 0;
        for (const LegendEntry& entry : legend) textWidth = std::max(textWidth, metrics.horizontalAdvance(entry.text));
        return QSizeF(padding * 3 + sampleWidth + textWidth, padding * 2 + (metrics.height() + 2) * legend.size() - 2);
    };
    QSizeF size = legendSize();
    while (size.width() + 2 * inset > area.width() || size.height() + 2 * inset > area.height()) {
        if (font.pointSizeF() - 0.5 < fullSize * 0.6) return;
        font.setPointSizeF(font.pointSizeF() - 0.5);
        sampleWidth = 16;
        size = legendSize();
    }
    const QFontMetricsF metrics(font);
    const double row = metrics.height() + 2;
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

}  // namespace koravin
