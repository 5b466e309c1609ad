// What the picture draws over Qt Charts' series, in pixels: curves in too many pieces for series,
// bisection brackets, the drops from the curve, the iterates' names and the legend. What goes
// where is src/plot's (picture_scene.h); this draws it.

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

PlotFrame PicturePane::Impl::Frame() const { return {ToPixelRect(plot()), shown}; }

TextMeasure PicturePane::Impl::Measure() const {
    const QFont font = TextFont();
    return {font.pointSizeF(),
            [font](std::string_view text, double size) {
                QFont sized = font;
                sized.setPointSizeF(size);
                return QFontMetricsF(sized).horizontalAdvance(FromUtf8(text));
            },
            [font](double size) {
                QFont sized = font;
                sized.setPointSizeF(size);
                return QFontMetricsF(sized).height();
            }};
}

void PicturePane::Impl::PlaceOverlay() {
    for (QGraphicsItem* item : overlay->childItems()) delete item;
    delete legendBelow;
    legendBelow = nullptr;
    const QRectF area = plot();
    overlay->setRect(area);
    const bool empty = content.kind == PictureKind::Empty;
    placeholder->setVisible(empty);
    if (empty) {
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
    const PlotFrame frame = Frame();
    const std::vector<PixelPoint> drawn = DrawnPixels(inView, frame);
    std::vector<PixelRect> taken;
    DrawOverlay(StepsOverlay(content, frame, drawn, Measure(), taken));
    PlaceLegend(area, drawn, taken);
}

// Brackets, the drops from the curve to the axis and their dots, and the iterates' names.
void PicturePane::Impl::DrawOverlay(const Overlay& drawing) {
    for (const OverlayPath& path : drawing.paths) {
        QPainterPath lines;
        for (const std::vector<PixelPoint>& line : path.lines) {
            lines.moveTo(line.front().x, line.front().y);
            for (std::size_t i = 1; i < line.size(); ++i) lines.lineTo(line[i].x, line[i].y);
        }
        auto* item = new QGraphicsPathItem(lines, overlay);
        item->setPen(Pen(path.stroke));
        item->setOpacity(path.opacity);
    }
    for (const OverlayCircle& circle : drawing.circles) {
        const QPointF centre(circle.centre.x, circle.centre.y);
        const QPointF corner(circle.radius, circle.radius);
        auto* dot = new QGraphicsEllipseItem(QRectF(centre - corner, centre + corner), overlay);
        dot->setPen(Pen(circle.stroke));
        dot->setBrush(QColor(circle.fill));
        dot->setZValue(1);
    }
    const QFont font = TextFont();
    for (const OverlayText& text : drawing.texts) {
        auto* label = new QGraphicsSimpleTextItem(FromUtf8(text.text), overlay);
        label->setFont(font);
        label->setBrush(QColor(text.colour));
        label->setPos(text.box.left, text.box.top);
        label->setZValue(2);
    }
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
    const std::optional<LegendLayout> layout = LayOutLegend(content.legend, ToPixelRect(area), drawn, taken, Measure());
    if (!layout) return room(0);
    const LegendPlace& place = layout->place;
    QFont font = TextFont();
    font.setPointSizeF(layout->fontSize);
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
    const double sampleWidth = layout->sampleWidth;
    for (std::size_t i = 0; i < content.legend.size(); ++i) {
        const LegendItem& entry = content.legend[i];
        const double top = best.top() + place.entries[i].y;
        const double middle = top + layout->textHeight / 2;
        const double left = best.left() + place.entries[i].x;
        QGraphicsItem* sample = nullptr;
        if (entry.sample == LegendItem::Sample::Dot) {
            auto* dot = new QGraphicsEllipseItem(QRectF(left + sampleWidth / 2 - 4.5, middle - 4.5, 9, 9), box);
            dot->setPen(QPen(Qt::white, 1));
            dot->setBrush(QColor(entry.stroke.colour));
            sample = dot;
        } else {
            QPainterPath path;
            path.moveTo(left, middle);
            path.lineTo(left + sampleWidth, middle);
            if (entry.sample == LegendItem::Sample::Bar) {
                path.moveTo(left, middle - 3);
                path.lineTo(left, middle + 3);
                path.moveTo(left + sampleWidth, middle - 3);
                path.lineTo(left + sampleWidth, middle + 3);
            }
            auto* line = new QGraphicsPathItem(path, box);
            line->setPen(Pen(entry.stroke));
            sample = line;
        }
        sample->setZValue(1);
        auto* text = new QGraphicsSimpleTextItem(FromUtf8(entry.text), box);
        text->setFont(font);
        text->setBrush(QColor(kText));
        text->setPos(left + sampleWidth + layout->padding, top);
    }
}

}  // namespace koravin
