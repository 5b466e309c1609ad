#pragma once

// What a run handed to the picture beside its report, kept as the pictures need it: the steps
// of a nonlinear run, the iteration function of the fixed-point family, the two columns of a
// differential-equation table, or the sweeps of an iterative linear run.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "command/interaction.h"

namespace koravin {

struct CollectedPicture : PictureSink {
    struct Sweeps {
        std::string method;  // "Jacobi", "Gauss-Seidel" or "SOR"
        double relaxation = 1;
        int order = 0;
        std::vector<double> changes;
        std::optional<double> radius;  // of the iteration matrix, once it is known
        std::vector<double> system;    // as read, n x (n + 1) row by row, while the radius is still to come
    };

    std::vector<IterateMark> marks;
    std::optional<std::string> phi;
    std::vector<double> x;
    std::vector<double> first;
    std::vector<double> second;
    std::string firstHeading;
    std::string secondHeading;
    std::optional<Sweeps> sweepRun;
    // The largest order whose system is kept for the radius (the owner computes radii up to it).
    int radiusOrderLimit = 0;

    void mark(const IterateMark& step) override { marks.push_back(step); }
    void columns(std::span<const double> nodes, std::string_view firstName, std::span<const double> firstValues,
                 std::string_view secondName, std::span<const double> secondValues) override;
    void iterationFunction(std::string_view text) override { phi = std::string(text); }
    // A run that diverged is left out: its sizes, soaring past 1E100, would flatten every other
    // curve of the picture.
    void sweeps(const SweepRun& run) override;
    // The spectral radius of the sweep run's iteration matrix; the system is no longer kept.
    void setRadius(std::optional<double> radius);
};

}  // namespace koravin
