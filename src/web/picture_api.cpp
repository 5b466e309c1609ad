#include "web/picture_api.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>

#include "numbers/text_utilities.h"
#include "plot/function_of_x.h"
#include "plot/picture_scene.h"
#include "web/json_text.h"
#include "web/request.h"

namespace koravin {
namespace {

// The picture's frame, as the windows' chart leaves it: the plot with room for the ticks' labels
// and the axes' titles around it, and a band under it for a legend that stands below.
constexpr double kTop = 8;
constexpr double kRight = 14;
constexpr double kTickGap = 6;
constexpr double kTitleGap = 4;
constexpr double kBottomEdge = 4;

// The page's font: the widths of the printable ASCII characters, of a CJK character and of any
// other at `size` pixels, and a line's height; a text at another size scales with it.
TextMeasure MeasureOf(const Json& request) {
    const auto font = request.find("font");
    if (font == request.end() || !font->is_object()) throw BadRequest{"font must give the page's font"};
    const double size = NumberOf(*font, "size", 12);
    const double wide = NumberOf(*font, "wide", size);
    const double narrow = NumberOf(*font, "narrow", 0.6 * size);
    const double height = NumberOf(*font, "height", 1.25 * size);
    std::array<double, 95> ascii{};
    ascii.fill(0.6 * size);
    if (const auto widths = font->find("ascii"); widths != font->end() && widths->is_array()) {
        for (std::size_t i = 0; i < ascii.size() && i < widths->size(); ++i) {
            if ((*widths)[i].is_number()) ascii[i] = (*widths)[i].get<double>();
        }
    }
    const auto sane = [](double pixels) { return pixels >= 0 && pixels <= 1000; };
    if (!(size > 0 && size <= 1000) || !sane(wide) || !sane(narrow) || !(height > 0 && height <= 1000) ||
        !std::all_of(ascii.begin(), ascii.end(), sane)) {
        throw BadRequest{"the font's size, widths and height are pixels from 0 to 1000"};
    }
    return {size,
            [=](std::string_view text, double at) {
                double width = 0;
                for (std::size_t i = 0; i < text.size();) {
                    const auto c = static_cast<unsigned char>(text[i]);
                    if (c < 0x80) {
                        width += c >= 0x20 && c < 0x7f ? ascii[c - 0x20] : 0;
                        ++i;
                        continue;
                    }
                    const std::size_t length = c >= 0xf0 ? 4 : c >= 0xe0 ? 3 : 2;
                    // From U+2E80 on: CJK, two columns wide.
                    const bool belowCjk = c < 0xe2 || (c == 0xe2 && i + 1 < text.size() &&
                                                       static_cast<unsigned char>(text[i + 1]) < 0xba);
                    width += belowCjk ? narrow : wide;
                    i += length;
                }
                return width * at / size;
            },
            [=](double at) { return height * at / size; }};
}

std::optional<PictureBounds> BoundsOf(const Json& request, const char* key) {
    const auto found = request.find(key);
    if (found == request.end() || found->is_null()) return std::nullopt;
    if (!found->is_object()) throw BadRequest{std::string(key) + " must be {left, right, bottom, top}"};
    return PictureBounds{NumberOf(*found, "left", NAN), NumberOf(*found, "right", NAN), NumberOf(*found, "bottom", NAN),
                         NumberOf(*found, "top", NAN)};
}

std::vector<double> NumbersOf(const Json& json, const char* key) {
    std::vector<double> numbers;
    const auto found = json.find(key);
    if (found == json.end() || found->is_null()) return numbers;
    if (!found->is_array()) throw BadRequest{std::string(key) + " must be a list of numbers"};
    for (const Json& number : *found) numbers.push_back(number.is_number() ? number.get<double>() : NAN);
    return numbers;
}

std::vector<IterateMark> MarksOf(const Json& json) {
    std::vector<IterateMark> marks;
    const auto found = json.find("marks");
    if (found == json.end() || found->is_null()) return marks;
    if (!found->is_array()) throw BadRequest{"marks must be a list"};
    for (const Json& entry : *found) {
        IterateMark mark;
        mark.index = static_cast<int>(NumberOf(entry, "index", 0));
        mark.x = NumberOf(entry, "x", NAN);
        if (const auto through = entry.find("through"); through != entry.end() && through->is_array()) {
            for (const Json& point : *through) {
                if (point.is_array() && point.size() == 2) {
                    mark.through.push_back({point[0].is_number() ? point[0].get<double>() : NAN,
                                            point[1].is_number() ? point[1].get<double>() : NAN});
                }
            }
        }
        if (const auto bracket = entry.find("bracket"); bracket != entry.end() && bracket->is_array() && bracket->size() == 2) {
            mark.bracket = std::pair{(*bracket)[0].is_number() ? (*bracket)[0].get<double>() : NAN,
                                     (*bracket)[1].is_number() ? (*bracket)[1].get<double>() : NAN};
        }
        marks.push_back(std::move(mark));
    }
    return marks;
}

// The runs kept for the convergence picture, as the windows keep them: a run of the same label
// replaces the older one, and no more than six stay.
std::vector<DecayCurve> DecayRunsOf(const Json& request) {
    std::vector<DecayCurve> kept;
    const auto runs = request.find("runs");
    if (runs == request.end() || runs->is_null()) return kept;
    if (!runs->is_array()) throw BadRequest{"runs must be a list"};
    for (const Json& run : *runs) {
        if (!run.is_object()) throw BadRequest{"a run is {caption, marks} or {method, relaxation, changes, radius}"};
        if (run.contains("method")) {
            const std::optional<double> radius =
                run.contains("radius") && run["radius"].is_number() ? std::optional(run["radius"].get<double>()) : std::nullopt;
            KeepCurve(kept, {SweepLabel(TextOf(run, "method"), NumberOf(run, "relaxation", 1), radius),
                             SweepSizes(NumbersOf(run, "changes")), radius});
        } else {
            KeepCurve(kept, {TextOf(run, "caption"), StepSizes(MarksOf(run)), std::nullopt});
        }
    }
    return kept;
}

PictureContent ContentOf(const Json& request, int columns) {
    const std::string kind = TextOf(request, "kind");
    if (kind == "function") return FunctionContent(FunctionOfX(TextOf(request, "function")), MarksOf(request), columns);
    if (kind == "cobweb") return CobwebContent(FunctionOfX(TextOf(request, "function")), MarksOf(request));
    if (kind == "decay") return DecayContent(DecayRunsOf(request), TextOf(request, "sizeTitle", "|x(k)-x(k-1)|"));
    if (kind == "columns") {
        const auto columnsJson = request.find("columns");
        if (columnsJson == request.end() || !columnsJson->is_object()) throw BadRequest{"columns must be the table's"};
        const std::string exact(TrimBlanks(TextOf(request, "exact")));
        return ColumnsContent(NumbersOf(*columnsJson, "x"), TextOf(*columnsJson, "firstHeading"),
                              NumbersOf(*columnsJson, "first"), TextOf(*columnsJson, "secondHeading"),
                              NumbersOf(*columnsJson, "second"), exact.empty() ? PlotFunction{} : FunctionOfX(exact),
                              columns);
    }
    if (kind == "empty") return {};
    throw BadRequest{"kind is function, cobweb, decay, columns or empty"};
}

// The sources the page holds: a table of 32 768 rows is read from its JSON once, not again at
// every turn of the wheel and every step of a drag. The oldest go when too many are held; a
// page that asks for one of those is told so and holds its source again.
constexpr std::size_t kMostHeld = 32;
std::map<std::int64_t, Json> heldSources;
std::int64_t lastHeld = 0;

const Json& HeldSource(const Json& request) {
    const auto held = request.find("held");
    if (held == request.end()) return request;
    const auto found = held->is_number_integer() ? heldSources.find(held->get<std::int64_t>()) : heldSources.end();
    if (found == heldSources.end()) throw BadRequest{"no source is held under that number"};
    return found->second;
}

std::string Colour(Rgb rgb) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text = "#";
    for (int shift = 20; shift >= 0; shift -= 4) text += kHex[(rgb >> shift) & 15];
    return text;
}

void WriteStroke(JsonWriter& json, const Stroke& stroke) {
    const std::string_view dash = stroke.dash == Stroke::Dash::Dashed ? "dashed"
                                  : stroke.dash == Stroke::Dash::Dotted ? "dotted" : "solid";
    json.beginObject().key("colour").text(Colour(stroke.colour)).key("width").number(stroke.width);
    json.key("dash").text(dash).endObject();
}

// A pixel to a hundredth, which is all an SVG needs.
double Pixel(double value) { return std::round(value * 100) / 100; }

void WritePixel(JsonWriter& json, PixelPoint point) { json.beginList().number(Pixel(point.x)).number(Pixel(point.y)).endList(); }

void WriteRect(JsonWriter& json, const PixelRect& rect) {
    json.beginObject().key("left").number(Pixel(rect.left)).key("top").number(Pixel(rect.top));
    json.key("width").number(Pixel(rect.width)).key("height").number(Pixel(rect.height)).endObject();
}

void WriteBounds(JsonWriter& json, const PictureBounds& bounds) {
    json.beginObject().key("left").number(bounds.left).key("right").number(bounds.right);
    json.key("bottom").number(bounds.bottom).key("top").number(bounds.top).endObject();
}

void WriteTicks(JsonWriter& json, const AxisTicks& ticks, const PlotFrame& frame, bool horizontal) {
    json.beginList();
    for (const Tick& tick : ticks.ticks) {
        const PixelPoint at = horizontal ? frame.toPixel(tick.value, frame.shown.bottom) : frame.toPixel(frame.shown.left, tick.value);
        json.beginObject().key("at").number(Pixel(horizontal ? at.x : at.y)).key("label").text(tick.label).endObject();
    }
    json.endList();
}

// The picture laid out in a width x height SVG: the plot's frame, its ticks and the legend.
struct Layout {
    PlotFrame frame;
    AxisTicks xTicks;
    AxisTicks yTicks;
    ViewCurves curves;
    std::vector<PixelPoint> drawn;
    Overlay overlay;
    std::optional<LegendLayout> legend;
};

Layout LayOut(const PictureContent& content, const PictureBounds& view, double width, double height,
              const TextMeasure& measure, double legendBand) {
    Layout layout;
    const double line = measure.height(measure.size);
    const double bottom = kTickGap + line + kTitleGap + line + kBottomEdge + legendBand;
    const double plotHeight = std::max(20.0, height - kTop - bottom);
    layout.yTicks = YTicks(content, view, plotHeight);
    double widest = 0;
    for (const Tick& tick : layout.yTicks.ticks) widest = std::max(widest, measure.width(tick.label, measure.size));
    const double left = kBottomEdge + line + kTitleGap + widest + kTickGap;
    const double plotWidth = std::max(20.0, width - left - kRight);
    layout.frame = {{left, kTop, plotWidth, plotHeight}, view};
    layout.xTicks = XTicks(content, view, plotWidth);
    const int columns = static_cast<int>(std::clamp(plotWidth, 100.0, 4000.0));
    layout.curves = CurvesInView(content, view, columns);
    layout.drawn = DrawnPixels(layout.curves, layout.frame);
    std::vector<PixelRect> taken;
    layout.overlay = StepsOverlay(content, layout.frame, layout.drawn, measure, taken);
    layout.legend = LayOutLegend(content.legend, layout.frame.area, layout.drawn, taken, measure);
    return layout;
}

std::string DrawPicture(const Json& request) {
    const double width = NumberOf(request, "width", 480);
    const double height = NumberOf(request, "height", 320);
    if (!(width >= 50 && width <= 20000 && height >= 50 && height <= 20000)) {
        throw BadRequest{"width and height are from 50 to 20000 pixels"};
    }
    const TextMeasure measure = MeasureOf(request);
    const PictureContent content = ContentOf(HeldSource(request), static_cast<int>(std::clamp(width - 80, 100.0, 4000.0)));

    std::string response;
    JsonWriter json(response);
    json.beginObject().key("status").text("done").key("width").number(width).key("height").number(height);
    json.key("empty").flag(content.kind == PictureKind::Empty);
    if (content.kind == PictureKind::Empty) {
        json.key("placeholder").text("暂无图形").endObject();
        return response;
    }

    PictureBounds view = SaneBounds(BoundsOf(request, "view").value_or(content.home));
    // A wheel's turn or a drag moves the view as the frame that showed it maps the pixels.
    if (request.contains("zoom") || request.contains("drag")) {
        const PlotFrame before = LayOut(content, view, width, height, measure, 0).frame;
        if (const auto zoom = request.find("zoom"); zoom != request.end() && zoom->is_object()) {
            view = ZoomedView(before, {NumberOf(*zoom, "x", 0), NumberOf(*zoom, "y", 0)}, NumberOf(*zoom, "factorX", 1),
                              NumberOf(*zoom, "factorY", 1));
        }
        if (const auto drag = request.find("drag"); drag != request.end() && drag->is_object()) {
            view = DraggedView(before, {NumberOf(*drag, "fromX", 0), NumberOf(*drag, "fromY", 0)},
                               {NumberOf(*drag, "toX", 0), NumberOf(*drag, "toY", 0)});
        }
        view = SaneBounds(view);
    }
    Layout layout = LayOut(content, view, width, height, measure, 0);
    // A legend that stands below the plot takes a band of its own: the plot shrinks for it once.
    if (layout.legend && layout.legend->place.below) {
        layout = LayOut(content, view, width, height, measure, layout.legend->place.box.height);
    }

    json.key("plot");
    WriteRect(json, layout.frame.area);
    json.key("view");
    WriteBounds(json, view);
    json.key("home");
    WriteBounds(json, content.home);
    json.key("xTitle").text(content.xTitle).key("yTitle").text(content.yTitle);
    json.key("xTicks");
    WriteTicks(json, layout.xTicks, layout.frame, true);
    json.key("yTicks");
    WriteTicks(json, layout.yTicks, layout.frame, false);

    json.key("curves").beginList();
    for (const SceneCurve& curve : layout.curves.curves) {
        json.beginObject().key("key").text(curve.key).key("name").text(curve.name).key("stroke");
        WriteStroke(json, curve.stroke);
        json.key("pieces").beginList();
        for (const Polyline& piece : curve.pieces) {
            json.beginList();
            for (const PlotPoint& point : piece) WritePixel(json, layout.frame.toPixel(point));
            json.endList();
        }
        json.endList().endObject();
    }
    json.endList();

    json.key("dots").beginList();
    for (const SceneDots& dots : layout.curves.dots) {
        json.beginObject().key("key").text(dots.key).key("colour").text(Colour(dots.colour)).key("size").number(dots.size);
        json.key("points").beginList();
        for (const PlotPoint& point : dots.points) WritePixel(json, layout.frame.toPixel(point));
        json.endList().endObject();
    }
    json.endList();

    json.key("overlay").beginObject().key("paths").beginList();
    for (const OverlayPath& path : layout.overlay.paths) {
        json.beginObject().key("stroke");
        WriteStroke(json, path.stroke);
        json.key("opacity").number(path.opacity).key("lines").beginList();
        for (const auto& line : path.lines) {
            json.beginList();
            for (const PixelPoint& point : line) WritePixel(json, point);
            json.endList();
        }
        json.endList().endObject();
    }
    json.endList().key("circles").beginList();
    for (const OverlayCircle& circle : layout.overlay.circles) {
        json.beginObject().key("centre");
        WritePixel(json, circle.centre);
        json.key("radius").number(circle.radius).key("stroke");
        WriteStroke(json, circle.stroke);
        json.key("fill").text(Colour(circle.fill)).endObject();
    }
    json.endList().key("texts").beginList();
    for (const OverlayText& text : layout.overlay.texts) {
        json.beginObject().key("text").text(text.text).key("colour").text(Colour(text.colour)).key("box");
        WriteRect(json, text.box);
        json.endObject();
    }
    json.endList().endObject();

    json.key("legend");
    if (!layout.legend) {
        json.null();
    } else {
        const LegendLayout& legend = *layout.legend;
        PixelRect box = legend.place.box;
        // Below the plot the legend stands in its band at the foot of the picture.
        if (legend.place.below) box = {layout.frame.area.left, height - kBottomEdge - box.height, box.width, box.height};
        json.beginObject().key("below").flag(legend.place.below).key("box");
        WriteRect(json, box);
        json.key("fontSize").number(legend.fontSize).key("sampleWidth").number(legend.sampleWidth);
        json.key("textHeight").number(Pixel(legend.textHeight)).key("padding").number(legend.padding);
        json.key("entries").beginList();
        for (std::size_t i = 0; i < content.legend.size(); ++i) {
            const LegendItem& item = content.legend[i];
            const std::string_view sample = item.sample == LegendItem::Sample::Dot   ? "dot"
                                            : item.sample == LegendItem::Sample::Bar ? "bar" : "line";
            json.beginObject().key("text").text(item.text).key("sample").text(sample).key("stroke");
            WriteStroke(json, item.stroke);
            json.key("left").number(Pixel(box.left + legend.place.entries[i].x));
            json.key("top").number(Pixel(box.top + legend.place.entries[i].y)).endObject();
        }
        json.endList().endObject();
    }
    json.endObject();
    return response;
}

}  // namespace

std::string PictureJson(std::string_view request) {
    return Answer([&] { return DrawPicture(ParseRequest(request)); });
}

std::string HoldPictureJson(std::string_view request) {
    return Answer([&] {
        Json source = ParseRequest(request);
        if (source.contains("held")) throw BadRequest{"a source holds the run itself"};
        ContentOf(source, 100);  // a source that cannot be drawn is refused now, not at every drawing
        if (heldSources.size() >= kMostHeld) heldSources.erase(heldSources.begin());
        heldSources.emplace(++lastHeld, std::move(source));
        std::string response;
        JsonWriter(response).beginObject().key("status").text("done").key("held").number(static_cast<double>(lastHeld)).endObject();
        return response;
    });
}

std::string ReleasePictureJson(std::string_view request) {
    return Answer([&] {
        const Json json = ParseRequest(request);
        heldSources.erase(static_cast<std::int64_t>(NumberOf(json, "held", 0)));
        return std::string(R"({"status":"done"})");
    });
}

std::string SampleJson(std::string_view request) {
    return Answer([&] {
        const Json json = ParseRequest(request);
        const PlotFunction function = FunctionOfX(TextOf(json, "function"));
        const double lo = NumberOf(json, "xmin", -5);
        const double hi = NumberOf(json, "xmax", 5);
        const double pixels = NumberOf(json, "pixels", 400);
        if (!(lo < hi) || !std::isfinite(lo) || !std::isfinite(hi) || !(pixels >= 2 && pixels <= 10000)) {
            throw BadRequest{"xmin < xmax, finite, and pixels from 2 to 10000"};
        }
        const int count = 2 * static_cast<int>(pixels);
        Interval y{NumberOf(json, "ymin", NAN), NumberOf(json, "ymax", NAN)};
        if (!(y.lo < y.hi)) {
            std::vector<double> values;
            for (int i = 0; i < count; ++i) {
                if (const auto value = function(EvenNode(lo, hi, i, count))) values.push_back(*value);
            }
            y = Widened(Body(values).value_or(Interval{-1, 1}), 0.05);
        }
        Json pieces = Json::array();
        for (const Polyline& piece : SampleCurve(function, lo, hi, count, y)) {
            Json points = Json::array();
            for (const PlotPoint& point : piece) points.push_back({point.x, point.y});
            pieces.push_back(std::move(points));
        }
        const auto ticks = [](const AxisTicks& axis) {
            Json list = Json::array();
            for (const Tick& tick : axis.ticks) list.push_back({{"value", tick.value}, {"label", tick.label}});
            return list;
        };
        return Dump(Json{{"status", "done"},
                    {"ymin", y.lo},
                    {"ymax", y.hi},
                    {"pieces", std::move(pieces)},
                    {"xTicks", ticks(TicksFor(lo, hi, 8, AxisScale::Linear))},
                    {"yTicks", ticks(TicksFor(y.lo, y.hi, 6, AxisScale::Linear))}});
    });
}

}  // namespace koravin
