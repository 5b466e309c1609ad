#!/usr/bin/env bash
# Installs what is needed, builds the program, the WebAssembly module and the browser edition's
# site, and runs the whole test suite through ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
bash "$root/scripts/web.sh" --build-only
ctest --test-dir "${BUILD_DIR:-$root/build}" --output-on-failure -j2
