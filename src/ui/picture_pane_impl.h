#pragma once

// The inside of PicturePane, shared by its three source files: picture_pane.cpp binds the chart,
// the mouse and the export; picture_views.cpp turns what a run handed over into curves for the
// view shown; picture_overlay.cpp draws what Qt Charts does not (brackets, numbers, legend).

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

#include "plot/axis_ticks.h"
#include "plot/convergence.h"
#include "plot/labels.h"
#include "plot/plot_geometry.h"
#include "ui/picture_pane.h"

namespace koravin {

inline constexpr QRgb kInk = 0x1b263b;
inline constexpr QRgb kOrange = 0xf07f13;
inline constexpr QRgb kLineBlue = 0x3d6fc4;
inline constexpr QRgb kBracketTeal = 0x17998a;
inline constexpr QRgb kFirstBlue = 0x1f6fc0;
inline constexpr QRgb kSecondRed = 0xd2382a;
inline constexpr QRgb kExactGrey = 0x4a4f57;
inline constexpr QRgb kAxisLine = 0x8c96a3;
inline constexpr QRgb kText = 0x3a424d;

// The commands stop after about a hundred steps; a longer list draws the lines of its first steps.
inline constexpr std::size_t kMostLines = 200;

QPen Pen(QRgb colour, double width, Qt::PenStyle style = Qt::SolidLine);
QString FromUtf8(std::string_view text);

struct LegendEntry {
    enum class Sample { Line, Dot, Bar };
    QString text;
    QPen pen;
    Sample sample = Sample::Line;
};

struct PicturePane::Impl {
    enum class Mode { Empty, Function, Columns, Decay, Cobweb };
    struct CurveStyle {
        QString name;
        QPen pen;
    };
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

    Mode mode = Mode::Empty;
    AxisScale xScale = AxisScale::Linear;
    AxisScale yScale = AxisScale::Linear;
    Function f;  // f, or φ of a cobweb
    std::vector<IterateMark> marks;
    std::vector<double> x;
    std::vector<double> first;
    std::vector<double> second;
    Function exact;
    std::vector<Pieces> decay;                     // each run's steps, as (k, log10 size)
    std::vector<Polyline> decayPoints;             // the same points, a lone one among them too
    std::vector<std::optional<Polyline>> predicted;  // and the line its radius predicts
    Polyline staircase;

    PictureBounds home{-5, 5, -1, 1};
    PictureBounds shown = home;
    std::map<QString, std::vector<QLineSeries*>> curves;  // each curve's pieces between its gaps
    std::map<QString, Path> paths;                        // the curves in too many pieces for series
    std::map<QString, CurveStyle> styles;
    std::map<QString, QScatterSeries*> dots;  // the iterates, or the nodes of a short table
    std::vector<LegendEntry> legend;
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
    void StartShowing(Mode newMode, const QString& xTitle, const QString& yTitle, AxisScale newXScale,
                      AxisScale newYScale);
    void SetCurve(const QString& key, Pieces pieces);
    void SetDots(const QString& key, QRgb colour, double size, const QList<QPointF>& points);
    double PixelLength(const Pieces& pieces) const;
    void ApplyAxes();
    void Show(const PictureBounds& bounds);
    void PlotAreaChanged();
    QPointF ToPixel(double vx, double vy) const;
    QPointF ToValue(QPointF pixel) const;
    void ZoomAt(QPointF pixel, double factorX, double factorY);
    void DragTo(QPointF pixel);
    QPointF ChartPosition(QPointF viewportPosition) const;
    void Settle();

    // picture_views.cpp: the curves for the view shown, sampled or thinned to its width in pixels.
    void RefreshData();
    void RefreshFunction(int columns);
    void RefreshColumns(int columns);
    void RefreshDecay();
    void RefreshCobweb(int columns);

    // picture_overlay.cpp
    void PlaceOverlay();
    std::vector<PixelPoint> CurvePixels() const;
    void PlaceSteps(const QRectF& area, const std::vector<PixelPoint>& drawn, std::vector<PixelRect>& taken);
    void PlaceCobwebNames(const QRectF& area, const std::vector<PixelPoint>& drawn, std::vector<PixelRect>& taken);
    std::vector<std::optional<QRectF>> PlaceNames(const std::vector<AxisLabel>& names, const QRectF& area, double axisY,
                                                  bool below, const std::vector<PixelPoint>& drawn,
                                                  std::vector<PixelRect>& taken);
    void PlaceLegend(const QRectF& area, const std::vector<PixelPoint>& drawn, const std::vector<PixelRect>& taken);
};

}  // namespace koravin
