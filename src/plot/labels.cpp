#include "plot/labels.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace koravin {
namespace {

// Labels stand this far off the axis, and this far apart.
constexpr double kOffAxis = 6;
constexpr double kApart = 3;

std::string IterateName(int index) { return "x" + std::to_string(index); }

bool Crosses(const PixelRect& rect, std::span<const PixelPoint> drawn) {
    return std::any_of(drawn.begin(), drawn.end(), [&rect](PixelPoint point) { return rect.contains(point); });
}

}  // namespace

bool PixelRect::contains(PixelPoint point) const {
    return point.x >= left && point.x <= right() && point.y >= top && point.y <= bottom();
}

bool PixelRect::contains(const PixelRect& other) const {
    return other.left >= left && other.right() <= right() && other.top >= top && other.bottom() <= bottom();
}

bool PixelRect::intersects(const PixelRect& other) const {
    return left < other.right() && other.left < right() && top < other.bottom() && other.top < bottom();
}

bool IsStartingBracket(const IterateMark& mark) { return mark.index == 0 && mark.bracket.has_value(); }

std::vector<AxisLabel> IterateLabels(const std::vector<IterateMark>& marks) {
    std::vector<const IterateMark*> ordered;
    for (const IterateMark& mark : marks) ordered.push_back(&mark);
    std::stable_sort(ordered.begin(), ordered.end(), [](const IterateMark* a, const IterateMark* b) { return a->index < b->index; });
    std::vector<AxisLabel> labels;
    for (const IterateMark* mark : ordered) {
        // Bisection begins from its bracket [a, b]; its iterates are the midpoints from x1 on.
        if (IsStartingBracket(*mark)) {
            for (const auto& [name, x] : {std::pair{"a", mark->bracket->first}, std::pair{"b", mark->bracket->second}}) {
                if (std::isfinite(x)) labels.push_back({name, x});
            }
            continue;
        }
        if (std::isfinite(mark->x)) labels.push_back({IterateName(mark->index), mark->x});
    }
    return labels;
}

std::vector<std::optional<PixelRect>> PlaceLabels(std::span<const LabelBox> labels, const PixelRect& area, double axisY,
                                                  bool below, std::span<const PixelPoint> drawn,
                                                  std::vector<PixelRect>& taken) {
    std::vector<std::optional<PixelRect>> places;
    for (const LabelBox& label : labels) {
        std::optional<PixelRect>& place = places.emplace_back();
        if (label.x < area.left || label.x > area.right()) continue;
        const double left = std::clamp(label.x - label.width / 2, area.left + 1, area.right() - 1 - label.width);
        const PixelRect under{left, axisY + kOffAxis, label.width, label.height};
        const PixelRect over{left, axisY - kOffAxis - label.height, label.width, label.height};
        for (const bool avoidCurves : {true, false}) {
            for (const PixelRect& rect : {below ? under : over, below ? over : under}) {
                if (!area.contains(rect) || (avoidCurves && Crosses(rect, drawn))) continue;
                const PixelRect apart = rect.widened(kApart);
                if (std::any_of(taken.begin(), taken.end(), [&apart](const PixelRect& other) { return other.intersects(apart); })) {
                    continue;
                }
                place = rect;
                break;
            }
            if (place) break;
        }
        if (place) taken.push_back(place->widened(kApart));
    }
    return places;
}

LegendPlace PlaceLegend(std::span<const double> entryWidths, double rowHeight, double padding, const PixelRect& area,
                        double inset, std::span<const PixelPoint> drawn, std::span<const PixelRect> taken) {
    LegendPlace legend;
    const double widest = entryWidths.empty() ? 0 : *std::max_element(entryWidths.begin(), entryWidths.end());
    const double width = 2 * padding + widest;
    const double height = 2 * padding + rowHeight * static_cast<double>(entryWidths.size());
    const bool fits = width + 2 * inset <= area.width && height + 2 * inset <= area.height;
    std::size_t fewest = std::numeric_limits<std::size_t>::max();
    for (const PixelPoint corner : {PixelPoint{area.left + inset, area.top + inset},
                                    PixelPoint{area.right() - inset - width, area.top + inset},
                                    PixelPoint{area.right() - inset - width, area.bottom() - inset - height},
                                    PixelPoint{area.left + inset, area.bottom() - inset - height}}) {
        const PixelRect rect{corner.x, corner.y, width, height};
        std::size_t covered = 0;
        for (const PixelPoint point : drawn) covered += rect.contains(point) ? 1 : 0;
        for (const PixelRect& other : taken) covered += rect.intersects(other) ? drawn.size() + 1 : 0;
        if (covered < fewest) {
            fewest = covered;
            legend.box = rect;
        }
    }
    if (fits && static_cast<double>(fewest) <= kMostCoveredByLegend * static_cast<double>(drawn.size())) {
        for (std::size_t i = 0; i < entryWidths.size(); ++i) legend.entries.push_back({padding, padding + rowHeight * static_cast<double>(i)});
        return legend;
    }
    // Under the plot the entries follow one another in rows as wide as the plot.
    legend.below = true;
    double x = padding;
    double y = padding;
    for (const double entry : entryWidths) {
        if (x > padding && x + entry + padding > area.width) {
            x = padding;
            y += rowHeight;
        }
        legend.entries.push_back({x, y});
        x += entry + 3 * padding;
    }
    legend.box = {0, 0, area.width, y + rowHeight + padding};
    return legend;
}

}  // namespace koravin
