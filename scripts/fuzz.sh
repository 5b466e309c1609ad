#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) into build-fuzz/ and fuzzes each one for
# FUZZ_SECONDS (default 30) from its seed corpus. Any crash, leak, hang or sanitizer finding fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-30}
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKORAVIN_FUZZ=ON -DKORAVIN_BUILD_TESTS=OFF -DKORAVIN_BUILD_BENCHMARKS=OFF
cmake --build "$build" -j2
corpus_root=$build/corpus
for target in expression numbers matrix_text documents commands; do
    corpus=$corpus_root/$target
    mkdir -p "$corpus"
    cp -n "$root/tests/fuzz/corpus/$target/"* "$corpus/" 2>/dev/null || true
    echo "fuzzing $target for ${seconds}s"
    "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
        -artifact_prefix="$build/" -dict="$root/tests/fuzz/expression.dict" -print_final_stats=1 \
        "$corpus" 2>&1 | grep -a -v -E '^(#[0-9]|"|\[)' | tail -n 20
done
