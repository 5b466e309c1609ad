// The matrix and vector readers on any text, with an order taken from the first byte.

#include <cstdint>
#include <string>

#include "matrix/matrix.h"
#include "matrix/matrix_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace koravin;
    if (size == 0) return 0;
    const int n = 1 + data[0] % 40;
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    Matrix matrix(n, n + 1);
    ReadAugmentedMatrix(text, n, matrix);
    const Vector vector = ReadVector(text);
    if (vector.size() < 0) __builtin_trap();
    return 0;
}
