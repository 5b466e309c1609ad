#include "ui/picture_pane.h"

#include <algorithm>
#include <cmath>

#include <QAction>
#include <QBuffer>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineF>
#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "ui/picture_pane_impl.h"

namespace koravin {
namespace {

// Qt Charts paints each series through its own clip of the whole plot, about half a millisecond a
// series here; a curve in more pieces than this is drawn as one path over the plot instead.
constexpr std::size_t kMostSeries = 24;

QString AskExportFileName(QWidget* owner) {
    QString filter;
    QString name = QFileDialog::getSaveFileName(owner, QStringLiteral("导出图片"), QString(),
                                                QStringLiteral("PNG 图片(*.png);;SVG 图片(*.svg)"), &filter);
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty()) {
        name += filter.contains(QStringLiteral("svg")) ? QStringLiteral(".svg") : QStringLiteral(".png");
    }
    return name;
}

// The axis's ticks are categories ending at each tick, so each label is written here rather than
// by the axis.
void SetAxis(QCategoryAxis* axis, double lo, double hi, const AxisTicks& ticks) {
    for (const QString& label : axis->categoriesLabels()) axis->remove(label);
    axis->setRange(lo, hi);
    axis->setStartValue((std::ceil(lo / ticks.step) - 1) * ticks.step);
    for (const Tick& tick : ticks.ticks) axis->append(FromUtf8(tick.label), tick.value);
}

}  // namespace

QPen Pen(QRgb colour, double width, Qt::PenStyle style) {
    QPen pen{QColor(colour), width, style, Qt::RoundCap, Qt::RoundJoin};
    pen.setCosmetic(true);
    return pen;
}

QPen Pen(const Stroke& stroke) {
    const Qt::PenStyle style = stroke.dash == Stroke::Dash::Dashed  ? Qt::DashLine
                               : stroke.dash == Stroke::Dash::Dotted ? Qt::DotLine
                                                                     : Qt::SolidLine;
    return Pen(stroke.colour, stroke.width, style);
}

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QFont PicturePane::Impl::TextFont() const {
    QFont font = pane.font();
    font.setPointSizeF(std::max(8.0, font.pointSizeF()));
    return font;
}

void PicturePane::Impl::Build() {
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

void PicturePane::Impl::RemoveSeries() {
    chart->removeAllSeries();
    curves.clear();
    paths.clear();
    dots.clear();
}

void PicturePane::Impl::ShowEmpty() {
    RemoveSeries();
    content = {};
    inView = {};
    axisX->setVisible(false);
    axisY->setVisible(false);
    PlaceOverlay();
}

void PicturePane::Impl::StartShowing(PictureContent newContent) {
    ShowEmpty();
    content = std::move(newContent);
    axisX->setTitleText(FromUtf8(content.xTitle));
    axisY->setTitleText(FromUtf8(content.yTitle));
    axisX->setVisible(true);
    axisY->setVisible(true);
    Show(content.home);
}

void PicturePane::Impl::SetCurve(const SceneCurve& curve) {
    const QString key = FromUtf8(curve.key);
    std::vector<QLineSeries*>& series = curves[key];
    const bool asPath = curve.pieces.size() > kMostSeries;
    while (series.size() > (asPath ? 0 : curve.pieces.size())) {
        chart->removeSeries(series.back());
        delete series.back();
        series.pop_back();
    }
    // A wide pen strokes a curve that zigzags across the plot (an unstable method's table, a
    // function that oscillates faster than the pixels) hundreds of times slower than a thin one.
    QPen pen = Pen(curve.stroke);
    if (PixelLength(curve.pieces) > 6 * (plot().width() + plot().height())) pen.setWidthF(std::min(pen.widthF(), 1.0));
    if (asPath) {
        paths[key] = {curve.pieces, pen};
        return;
    }
    paths.erase(key);
    for (std::size_t i = 0; i < curve.pieces.size(); ++i) {
        if (i == series.size()) {
            auto* line = new QLineSeries;
            line->setObjectName(key);
            line->setName(FromUtf8(curve.name));
            chart->addSeries(line);
            line->attachAxis(axisX);
            line->attachAxis(axisY);
            series.push_back(line);
        }
        // After addSeries, which gives a new series the theme's pen.
        if (series[i]->pen() != pen) series[i]->setPen(pen);
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(curve.pieces[i].size()));
        for (const PlotPoint& point : curve.pieces[i]) points.append(QPointF(point.x, point.y));
        series[i]->replace(points);
    }
}

void PicturePane::Impl::SetDots(const SceneDots& points) {
    QScatterSeries*& series = dots[FromUtf8(points.key)];
    if (series == nullptr) {
        series = new QScatterSeries;
        series->setObjectName(FromUtf8(points.key));
        chart->addSeries(series);
        series->attachAxis(axisX);
        series->attachAxis(axisY);
        series->setMarkerShape(QScatterSeries::MarkerShapeCircle);
        series->setMarkerSize(points.size);
        series->setColor(QColor(points.colour));
        series->setBorderColor(Qt::white);
    }
    QList<QPointF> list;
    for (const PlotPoint& point : points.points) list.append(QPointF(point.x, point.y));
    series->replace(list);
}

double PicturePane::Impl::PixelLength(const Pieces& pieces) const {
    double length = 0;
    for (const Polyline& piece : pieces) {
        for (std::size_t i = 1; i < piece.size(); ++i) {
            length += QLineF(ToPixel(piece[i - 1].x, piece[i - 1].y), ToPixel(piece[i].x, piece[i].y)).length();
        }
    }
    return length;
}

void PicturePane::Impl::ApplyAxes() {
    const QRectF area = plot();
    SetAxis(axisX, shown.left, shown.right, XTicks(content, shown, area.width()));
    SetAxis(axisY, shown.bottom, shown.top, YTicks(content, shown, area.height()));
}

void PicturePane::Impl::Show(const PictureBounds& bounds) {
    shown = SaneBounds(bounds);
    RefreshData();
    PlaceOverlay();
}

void PicturePane::Impl::PlotAreaChanged() {
    if (placing) return;
    placing = true;
    if (content.kind != PictureKind::Empty && std::abs(plot().width() - sampledWidth) >= 1) {
        RefreshData();
    } else {
        ApplyAxes();
    }
    PlaceOverlay();
    placing = false;
}

QPointF PicturePane::Impl::ToPixel(double vx, double vy) const {
    const PixelPoint pixel = Frame().toPixel(vx, vy);
    return {pixel.x, pixel.y};
}

void PicturePane::Impl::ZoomAt(QPointF pixel, double factorX, double factorY) {
    if (content.kind == PictureKind::Empty || plot().isEmpty()) return;
    Show(ZoomedView(Frame(), {pixel.x(), pixel.y()}, factorX, factorY));
}

void PicturePane::Impl::DragTo(QPointF pixel) {
    if (!dragStart || plot().isEmpty()) return;
    Show(DraggedView({Frame().area, dragBounds}, {dragStart->x(), dragStart->y()}, {pixel.x(), pixel.y()}));
}

QPointF PicturePane::Impl::ChartPosition(QPointF viewportPosition) const {
    return chart->mapFromScene(view->mapToScene(viewportPosition.toPoint()));
}

// The chart laid out and drawn as it now stands, before it is grabbed or rendered.
void PicturePane::Impl::Settle() {
    QCoreApplication::sendPostedEvents();
    PlotAreaChanged();
}

PicturePane::PicturePane(QWidget* parent) : QWidget(parent), impl_(std::make_unique<Impl>(*this)) {
    setObjectName(QStringLiteral("Picture"));
    setAccessibleName(QStringLiteral("图形区域"));
    setMinimumSize(240, 160);
    impl_->asker = AskExportFileName;
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
    impl_->exportAction = exportAction;
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

PicturePane::~PicturePane() {
    // The view and its chart outlive impl_ by a little: QWidget deletes its children after this.
    impl_->view->viewport()->removeEventFilter(this);
    disconnect(impl_->chart, nullptr, this, nullptr);
}

void PicturePane::clear() { impl_->ShowEmpty(); }

bool PicturePane::isEmpty() const { return impl_->content.kind == PictureKind::Empty; }

PictureBounds PicturePane::bounds() const { return impl_->shown; }

PictureBounds PicturePane::homeBounds() const { return impl_->content.home; }

void PicturePane::setBounds(const PictureBounds& bounds) {
    if (!isEmpty()) impl_->Show(bounds);
}

void PicturePane::resetView() { setBounds(impl_->content.home); }

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

QAction* PicturePane::exportAction() const { return impl_->exportAction; }

void PicturePane::addContextAction(QAction* action) {
    if (impl_->extrasSeparator == nullptr) {
        impl_->extrasSeparator = new QAction(this);
        impl_->extrasSeparator->setSeparator(true);
        addAction(impl_->extrasSeparator);
    }
    addAction(action);
}

QChart* PicturePane::chart() const { return impl_->chart; }

bool PicturePane::eventFilter(QObject* watched, QEvent* event) {
    Impl& d = *impl_;
    if (watched != d.view->viewport() || d.content.kind == PictureKind::Empty) return QWidget::eventFilter(watched, event);
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
