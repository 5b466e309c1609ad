#include "command/document_text.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

#include "numbers/text_utilities.h"

namespace koravin {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Converts with iconv; an invalid or incomplete sequence is replaced by `replacement` and the
// conversion goes on one byte further.
std::string Convert(std::string_view bytes, const char* from, const char* to, std::string_view replacement) {
    const iconv_t descriptor = iconv_open(to, from);
    if (descriptor == reinterpret_cast<iconv_t>(-1)) return std::string(bytes);
    const std::unique_ptr<void, int (*)(iconv_t)> closer(descriptor, iconv_close);
    std::string output;
    output.reserve(bytes.size() * 3 / 2 + 16);
    char buffer[4096];
    auto* input = const_cast<char*>(bytes.data());
    std::size_t inputLeft = bytes.size();
    while (inputLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const char* before = input;
        const std::size_t converted = iconv(descriptor, &input, &inputLeft, &out, &outLeft);
        output.append(buffer, static_cast<std::size_t>(out - buffer));
        // A full buffer is emptied and filled again; an invalid or incomplete sequence, or a
        // library that moved nothing, has its first byte skipped; a failure with no input left
        // ends the text. Every path moves on, so none loops or runs past the input, whichever C
        // library converts.
        const bool moved = input != before || out != buffer;
        if (moved && (converted != static_cast<std::size_t>(-1) || errno == E2BIG)) continue;
        if (inputLeft == 0) break;
        output.append(replacement);
        ++input;
        --inputLeft;
        iconv(descriptor, nullptr, nullptr, nullptr, nullptr);
    }
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(descriptor, nullptr, nullptr, &out, &outLeft);
    output.append(buffer, static_cast<std::size_t>(out - buffer));
    return output;
}

}  // namespace

std::string DecodeDocument(std::string_view bytes) {
    if (IsValidUtf8(bytes)) {
        if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
        return std::string(bytes);
    }
    return Convert(bytes, "GB18030", "UTF-8", "\xEF\xBF\xBD");
}

std::string EncodeDocument(std::string_view utf8) { return Convert(utf8, "UTF-8", "GB18030", "?"); }

}  // namespace koravin
