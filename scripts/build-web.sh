#!/usr/bin/env bash
# Builds the core as a WebAssembly module with Debian's emscripten: build-web/koravin.js (an ES
# module exporting createKoravin) and build-web/koravin.wasm. WEB_BUILD_DIR names another folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WEB_BUILD_DIR:-$root/build-web}
# emscripten's link step runs node with Debian's acorn, which lives in /usr/share/nodejs.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
# Debian ships emscripten's system libraries prebuilt in its cache; a variant that is missing there
# is built on first use into EM_CACHE, kept beside the build so that the next build finds it.
if [ ! -w /usr/share/emscripten/cache ]; then export EM_CACHE=${EM_CACHE:-$build/emscripten-cache}; fi
emcmake cmake -S "$root" -B "$build/core" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORAVIN_WEB=ON \
    -DEigen3_DIR=/usr/share/eigen3/cmake "$@"
cmake --build "$build/core" -j2 --target koravin
cp "$build/core/src/web/koravin.js" "$build/core/src/web/koravin.wasm" "$build/"
echo "built $build/koravin.js and $build/koravin.wasm"
