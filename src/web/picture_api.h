#pragma once

// The pictures for a browser page: src/plot's scene of a run, laid out for an SVG of a given
// size and font, in its pixels.

#include <string>
#include <string_view>

namespace koravin {

// Request: {kind: "function" | "cobweb" | "decay" | "columns" | "empty", width, height,
// font: {size, ascii: [widths of " " … "~"], wide, narrow, height}, view?: {left, right, bottom,
// top}, zoom?: {x, y, factorX, factorY}, drag?: {fromX, fromY, toX, toY}, and the run:
// function (f, or φ of the cobweb) and marks; runs (each {caption, marks} or {method,
// relaxation, changes, radius}, oldest first) and sizeTitle; columns and exact}.
// Response: {status, width, height, empty, plot: {left, top, width, height}, view, home,
// xTitle, yTitle, xTicks, yTicks: [{at, label}], curves: [{key, name, stroke, pieces}],
// dots: [{key, colour, size, points}], overlay: {paths, circles, texts}, legend}, every
// position in the SVG's pixels.
// Instead of the run, `held` may name a source held by HoldPictureJson.
std::string PictureJson(std::string_view request);

// Keeps a picture's source (the request's kind and run, without the frame) for later drawings:
// {status: "done", held: n}, or an error for a source that cannot be drawn. Release forgets it
// ({held: n}); the module keeps the 32 held last in any case.
std::string HoldPictureJson(std::string_view request);
std::string ReleasePictureJson(std::string_view request);

// The curve of a typed function over [xmin, xmax] for a picture `pixels` wide: its pieces between
// gaps and poles, and the ticks of both axes. Request: {function, xmin, xmax, pixels, ymin?, ymax?};
// without ymin/ymax the body of the values decides the height.
std::string SampleJson(std::string_view request);

}  // namespace koravin
