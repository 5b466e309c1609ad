#pragma once

// The inside of PicturePane, shared by its three source files: picture_pane.cpp binds the chart,
// the mouse and the export; picture_views.cpp shows what src/plot's scene makes of a run, for the
// view shown; picture_overlay.cpp draws what Qt Charts does not (brackets, names, legend).

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>

#include "plot/picture_scene.h"
#include "ui/picture_pane.h"

namespace koravin {

QPen Pen(QRgb colour, double width, Qt::PenStyle style = Qt::SolidLine);
QPen Pen(const Stroke& stroke);
QString FromUtf8(std::string_view text);

struct PicturePane::Impl {
    struct Path {
        Pieces pieces;
        QPen pen;
    };

    PicturePane& pane;
    QChart* chart = new QChart;
    QChartView* view = nullptr;
    QCategoryAxis* axisX = new QCategoryAxis;
    QCategoryAxis* axisY = new QCategoryAxis;
    QGraphicsRectItem* overlay = nullptr;      // over the plot, clipped to it
    QGraphicsRectItem* legendBelow = nullptr;  // the legend when it stands below the plot
    QGraphicsSimpleTextItem* placeholder = nullptr;
    QAction* exportAction = nullptr;
    QAction* extrasSeparator = nullptr;

    PictureContent content;   // what the picture shows
    ViewCurves inView;        // its curves for the view shown
    PictureBounds shown = content.home;
    std::map<QString, std::vector<QLineSeries*>> curves;  // each curve's pieces between its gaps
    std::map<QString, Path> paths;                        // the curves in too many pieces for series
    std::map<QString, QScatterSeries*> dots;  // the iterates, or the nodes of a short table
    double sampledWidth = 0;
    bool placing = false;

    std::optional<QPointF> dragStart;
    PictureBounds dragBounds;
    ExportFileAsker asker;

    explicit Impl(PicturePane& owner) : pane(owner) {}

    QRectF plot() const { return chart->plotArea(); }
    int Columns() const { return static_cast<int>(std::clamp(plot().width(), 100.0, 4000.0)); }
    QFont TextFont() const;

    // picture_pane.cpp
    void Build();
    void RemoveSeries();
    void ShowEmpty();
    void StartShowing(PictureContent newContent);
    void SetCurve(const SceneCurve& curve);
    void SetDots(const SceneDots& dots);
    double PixelLength(const Pieces& pieces) const;
    void ApplyAxes();
    void Show(const PictureBounds& bounds);
    void PlotAreaChanged();
    QPointF ToPixel(double vx, double vy) const;
    void ZoomAt(QPointF pixel, double factorX, double factorY);
    void DragTo(QPointF pixel);
    QPointF ChartPosition(QPointF viewportPosition) const;
    void Settle();

    // picture_views.cpp: the curves for the view shown, sampled or thinned to its width in pixels.
    void RefreshData();

    // picture_overlay.cpp
    PlotFrame Frame() const;
    TextMeasure Measure() const;
    void PlaceOverlay();
    void DrawOverlay(const Overlay& drawing);
    void PlaceLegend(const QRectF& area, const std::vector<PixelPoint>& drawn, const std::vector<PixelRect>& taken);
};

}  // namespace koravin
