#pragma once
// emscripten maps the SSE and SSE2 intrinsics onto WebAssembly's SIMD but has no MMX; Eigen
// includes <mmintrin.h> beside them and uses nothing of it. Without this header the compiler's
// own x86 one would be found.
