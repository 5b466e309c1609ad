// What each kind of picture shows, as src/plot's scene tells it: the content of a run, and its
// curves and dots for the view shown, sampled or thinned to the plot's width in pixels.

#include <utility>

#include "ui/picture_pane_impl.h"

namespace koravin {

void PicturePane::Impl::RefreshData() {
    if (content.kind == PictureKind::Empty) return ApplyAxes();
    const int columns = Columns();
    sampledWidth = plot().width();
    inView = CurvesInView(content, shown, columns);
    for (const SceneCurve& curve : inView.curves) SetCurve(curve);
    for (const SceneDots& points : inView.dots) SetDots(points);
    // Attaching a new series may have fitted the axes to its points.
    ApplyAxes();
}

void PicturePane::showFunction(Function f, const std::vector<IterateMark>& marks) {
    impl_->StartShowing(FunctionContent(std::move(f), marks, impl_->Columns()));
}

void PicturePane::showColumns(std::span<const double> x, const QString& firstHeading, std::span<const double> first,
                              const QString& secondHeading, std::span<const double> second, Function exact) {
    impl_->StartShowing(ColumnsContent(x, firstHeading.toStdString(), first, secondHeading.toStdString(), second,
                                       std::move(exact), impl_->Columns()));
}

void PicturePane::showCobweb(Function phi, const std::vector<IterateMark>& marks) {
    impl_->StartShowing(CobwebContent(std::move(phi), marks));
}

void PicturePane::showDecay(const std::vector<DecayCurve>& runs, const QString& sizeTitle) {
    impl_->StartShowing(DecayContent(runs, sizeTitle.toStdString()));
}

}  // namespace koravin
