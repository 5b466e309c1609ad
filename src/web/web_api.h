#pragma once

// The core's interface for a browser page: every call takes and returns JSON text, so the page
// and the core share no types. The same functions build natively (tested beside koravin-cli)
// and into the WebAssembly module, whose bindings only pass the texts through.

#include <string>
#include <string_view>

namespace koravin {

// [{name, caption, workspace, submenu, separatorBefore, headingBefore}] in menu order: the linear
// workspace's method menu, the nonlinear one's, then the differential-equation windows.
// `headingBefore` is the caption of an entry without a command that stands above this one.
std::string CommandsJson();

// [{name, title, command, workspace, shows, hint, editor, fields, exact, replies, yesNo}]: the
// examples in the order of their index, with the editor text in CR LF and the answers as stored
// (replies to the prompts in order; 是 true and 否 false to the questions in order).
std::string ExamplesJson();

// Runs a command. Request: {command, editor, result, digits, fields: {Text1: ...}, answers: [...],
// check, picture}; `answers` answer the prompts and questions in order (a text or null for 取消;
// true for 是, false for 否); `check` asks for the checks, `picture` for what the pictures draw.
// Response: {status: "done" | "waiting" | "error", report, events, pending, checks, picture,
// focus, error}, as the README's "The core in WebAssembly" describes.
std::string RunJson(std::string_view request);

// The decimal places a reply to 设置小数数位 sets: {reply} -> {status, digits}.
std::string DecimalDigitsJson(std::string_view request);

// The text the division-count field holds after the person typed `typed` into it.
std::string DivisionCountJson(std::string_view request);

}  // namespace koravin
