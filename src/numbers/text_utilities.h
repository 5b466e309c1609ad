#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace koravin {

inline constexpr std::string_view kLineEnd = "\r\n";

// Trimming in this program removes the space character only; tabs and line ends stay.
std::string_view TrimBlanks(std::string_view text);
std::string_view TrimLeadingBlanks(std::string_view text);

// Field widths and caret positions count characters, not bytes.
std::size_t CodePointCount(std::string_view utf8);

bool IsValidUtf8(std::string_view bytes);

// `text` appended as a JSON string, quotes included: ", \ and the control characters escaped,
// everything else (UTF-8 included) as it is.
void AppendJsonString(std::string& json, std::string_view text);

// Every occurrence of `from`, left to right, without rescanning what was put in.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace koravin
