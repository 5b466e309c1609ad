#include "plot/collected_picture.h"

namespace koravin {

void CollectedPicture::columns(std::span<const double> nodes, std::string_view firstName,
                               std::span<const double> firstValues, std::string_view secondName,
                               std::span<const double> secondValues) {
    x.assign(nodes.begin(), nodes.end());
    first.assign(firstValues.begin(), firstValues.end());
    second.assign(secondValues.begin(), secondValues.end());
    firstHeading = firstName;
    secondHeading = secondName;
}

void CollectedPicture::sweeps(const SweepRun& run) {
    if (!run.converged) return;
    sweepRun = Sweeps{std::string(run.method), run.relaxation, run.order, {run.changes.begin(), run.changes.end()}, {}, {}};
    if (run.order <= radiusOrderLimit) sweepRun->system.assign(run.system.begin(), run.system.end());
}

void CollectedPicture::setRadius(std::optional<double> radius) {
    if (!sweepRun) return;
    sweepRun->radius = radius;
    sweepRun->system = {};
    sweepRun->system.shrink_to_fit();
}

}  // namespace koravin
