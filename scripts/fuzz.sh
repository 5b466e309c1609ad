#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) into build-fuzz/ and runs each from its
# seed corpus. By default a fixed number of runs from a fixed seed, about half a minute each and the
# same on every machine; FUZZ_SECONDS=N fuzzes each target for N seconds instead. Any crash, leak,
# hang or sanitizer finding fails, and the input that caused it is left in build-fuzz/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKORAVIN_FUZZ=ON -DKORAVIN_BUILD_TESTS=OFF -DKORAVIN_BUILD_BENCHMARKS=OFF
cmake --build "$build" -j2 --target fuzz_expression fuzz_numbers fuzz_matrix_text fuzz_documents fuzz_commands fuzz_web
declare -A runs=([expression]=100000 [numbers]=3000000 [matrix_text]=150000 [documents]=800000 [commands]=300000 [web]=40000)
for target in expression numbers matrix_text documents commands web; do
    corpus=$build/corpus/$target
    rm -rf "$corpus" && mkdir -p "$corpus"
    cp "$root/tests/fuzz/corpus/$target/"* "$corpus/"
    if [ -n "${FUZZ_SECONDS:-}" ]; then budget=(-max_total_time="$FUZZ_SECONDS"); else budget=(-runs="${runs[$target]}" -seed=1); fi
    echo "fuzzing $target (${budget[*]})"
    "$build/tests/fuzz/fuzz_$target" "${budget[@]}" -timeout=10 -rss_limit_mb=4096 \
        -artifact_prefix="$build/" -dict="$root/tests/fuzz/expression.dict" -print_final_stats=1 \
        "$corpus" 2>&1 | grep -a -v -E '^(#[0-9]|"|\[)' | tail -n 20
done
