// Opening any file gives valid UTF-8, and saving it again works.

#include <cstdint>
#include <string_view>

#include "command/document_text.h"
#include "numbers/text_utilities.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace koravin;
    const std::string decoded = DecodeDocument(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!IsValidUtf8(decoded)) __builtin_trap();
    EncodeDocument(decoded);
    return 0;
}
