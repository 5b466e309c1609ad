#pragma once

// What a picture writes beside what it draws, and where, in the pixels of the plot (y down): the
// names of the iterates on the x axis, thinned where they would overlap, and the legend, in the
// corner where it hides least or below the plot when every corner would hide the curves.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "command/interaction.h"

namespace koravin {

struct PixelPoint {
    double x = 0;
    double y = 0;
};

struct PixelRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    double right() const { return left + width; }
    double bottom() const { return top + height; }
    bool contains(PixelPoint point) const;
    bool contains(const PixelRect& other) const;
    bool intersects(const PixelRect& other) const;
    PixelRect widened(double dx) const { return {left - dx, top, width + 2 * dx, height}; }
};

// A name written under (or over) a point of the x axis.
struct AxisLabel {
    std::string text;
    double x = 0;  // in the axis's units
    bool operator==(const AxisLabel&) const = default;
};

// Whether the mark is the bracket a bisection begins from rather than an iterate.
bool IsStartingBracket(const IterateMark& mark);

// The names of a run's marks on the x axis, as the report names them: "x0", "x1", … at the
// iterates; a bisection's first bracket is named by its ends "a" and "b" instead, and its
// midpoints "x1", "x2", …. In the order of their numbers, which is the order they are placed in.
std::vector<AxisLabel> IterateLabels(const std::vector<IterateMark>& marks);

// A label's size in pixels and the x it stands at.
struct LabelBox {
    double x = 0;
    double width = 0;
    double height = 0;
};

// Where the labels go beside an axis at height axisY: on the preferred side (below or above)
// or else on the other, centred on their x as far as the area allows, 6 pixels off the axis. A
// label goes where no curve passes if it can, over a curve if it must, and never over a label
// placed before it or a rectangle in `taken` (3 pixels apart); a label with no such place is
// left out. Each placed label is added to `taken`.
std::vector<std::optional<PixelRect>> PlaceLabels(std::span<const LabelBox> labels, const PixelRect& area, double axisY,
                                                  bool below, std::span<const PixelPoint> drawn,
                                                  std::vector<PixelRect>& taken);

// The legend's place: a corner of the plot, or under it.
struct LegendPlace {
    bool below = false;   // under the plot, in a band of its own, entries in rows
    PixelRect box;        // in the plot's corner; under the plot, left at 0 and top at 0
    std::vector<PixelPoint> entries;  // each entry's top left, from the box's top left
};

// A legend covering more than this share of the curves' points in its best corner goes below.
inline constexpr double kMostCoveredByLegend = 0.03;

// The legend of entries `entryWidths` wide, `rowHeight` high, inside a frame `padding` wide: in
// the corner of the plot, `inset` pixels in, that covers the fewest of the drawn points and no
// taken rectangle; when that corner still covers more than kMostCoveredByLegend of the points, or
// a taken rectangle, or the legend does not fit, below the plot, with the entries in rows as wide
// as the plot.
LegendPlace PlaceLegend(std::span<const double> entryWidths, double rowHeight, double padding, const PixelRect& area,
                        double inset, std::span<const PixelPoint> drawn, std::span<const PixelRect> taken);

}  // namespace koravin
