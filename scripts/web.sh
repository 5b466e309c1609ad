#!/usr/bin/env bash
# Builds the browser edition into build-web/site/ (the folder a teacher copies to a web server)
# and serves it at http://127.0.0.1:8080 (PORT=N for another port). --build-only builds and ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WEB_BUILD_DIR:-$root/build-web}
bash "$root/scripts/build-web.sh"
cd "$root/web"
# The page's tools, exactly as package-lock.json pins them.
if [ ! -f node_modules/.package-lock.json ] || [ package-lock.json -nt node_modules/.package-lock.json ]; then
    npm ci --no-audit --no-fund
fi
npx tsc --noEmit -p tsconfig.json
KORAVIN_MODULE_DIR=$build node build.mjs "$build/site"
if [ "${1:-}" != "--build-only" ]; then
    exec node serve.mjs "$build/site" "${PORT:-8080}"
fi
