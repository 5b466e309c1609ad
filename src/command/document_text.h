#pragma once

#include <string>
#include <string_view>

namespace koravin {

// The text of an opened document: UTF-8 when the bytes are valid UTF-8 (a byte-order mark
// skipped), otherwise GB18030. Bytes that are not valid in either come out as U+FFFD.
std::string DecodeDocument(std::string_view bytes);

// The bytes a saved document holds: the text in GB18030.
std::string EncodeDocument(std::string_view utf8);

}  // namespace koravin
