// Number reading, rounding and writing on arbitrary texts and doubles.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace koravin;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double read = ReadLeadingNumber(text);
    if (const auto order = ToInteger16(read); order && std::fabs(*order - read) > 0.5) __builtin_trap();
    if (size < sizeof(double)) return 0;
    double x;
    std::memcpy(&x, data, sizeof x);
    const std::string written = NumberText(x);
    if (!IsValidUtf8(written) || written.empty()) __builtin_trap();
    if (std::isfinite(x)) {
        const double fifteen = RoundToSignificant15(x);
        const auto reread = ParseDecimal(written);
        if (!reread || std::memcmp(&*reread, &fifteen, sizeof fifteen) != 0) __builtin_trap();
        if (x != 0 && RoundToSignificant15ByText(x) != fifteen) __builtin_trap();
    }
    for (int k = 0; k <= 17; ++k) {
        const double rounded = RoundDigits(x, k);
        if (std::isfinite(x) != std::isfinite(rounded)) __builtin_trap();
        if (std::isfinite(x) && RoundDigits(rounded, k) != rounded) __builtin_trap();
    }
    return 0;
}
