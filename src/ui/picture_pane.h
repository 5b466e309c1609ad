#pragma once

// The picture beside a report: f with the steps of a nonlinear method (numbered iterates on the
// x axis, bisection brackets, Newton's tangents, secant lines), the cobweb of a fixed-point
// iteration, the size of each step of one or more runs on a logarithmic axis, or the two columns
// of a differential-equation table against their nodes, with the exact solution when one is
// known. The mouse wheel zooms around the cursor (Ctrl: x only, Shift: y only), dragging pans, a
// double click goes back to the computed view; the context menu exports the picture as PNG or SVG.
// The geometry is src/plot's; this is its binding to Qt Charts.

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include <QString>
#include <QWidget>

#include "command/interaction.h"
#include "plot/convergence.h"
#include "plot/plot_geometry.h"
#include "plot/sampling.h"

class QAction;
class QChart;

namespace koravin {

class PicturePane : public QWidget {
    Q_OBJECT
public:
    // A function of x; nothing where the text cannot be evaluated. It is called on the pane's
    // thread whenever the view changes, so it must stay valid while it is shown.
    using Function = PlotFunction;
    // Asks for the file name 导出图片 writes to; "" when the person cancels.
    using ExportFileAsker = std::function<QString(QWidget* owner)>;

    explicit PicturePane(QWidget* parent = nullptr);
    ~PicturePane() override;

    // f over an interval that holds every mark, or over [-5, 5] without marks.
    void showFunction(Function f, const std::vector<IterateMark>& marks);
    // Both columns against x; with `exact`, that curve too, and each column's error at the last node
    // in its legend entry.
    void showColumns(std::span<const double> x, const QString& firstHeading, std::span<const double> first,
                     const QString& secondHeading, std::span<const double> second, Function exact = {});
    // y = φ(x) and y = x with the staircase of the iterates between them.
    void showCobweb(Function phi, const std::vector<IterateMark>& marks);
    // Each run's step sizes against k on a logarithmic axis titled `sizeTitle`, with the line its
    // spectral radius predicts, dashed; the runs' labels make the legend.
    void showDecay(const std::vector<DecayCurve>& runs, const QString& sizeTitle);
    void clear();
    bool isEmpty() const;

    PictureBounds bounds() const;
    // The view showFunction or showColumns computed, where a double click returns.
    PictureBounds homeBounds() const;
    void setBounds(const PictureBounds& bounds);
    void resetView();

    // PNG, or SVG when the name ends in ".svg"; false when the file could not be written.
    bool exportPicture(const QString& fileName);
    // Replaces the file dialog of 导出图片 (by default Qt's save dialog).
    void setExportFileAsker(ExportFileAsker asker);
    // 导出图片…, for a window's menu to offer as well.
    QAction* exportAction() const;
    // Appends an entry to the context menu, after its own entries and behind a separator.
    void addContextAction(QAction* action);

    QChart* chart() const;

signals:
    // 导出图片 has written fileName, or failed to; the owner tells the person of a failure.
    void exported(const QString& fileName, bool succeeded);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace koravin
