#!/usr/bin/env bash
# Installs the Debian packages listed in scripts/packages.txt (run as root).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mapfile -t packages < <(grep -v -E '^\s*(#|$)' "$here/packages.txt")
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends "${packages[@]}"
# The browser edition's tools come from the npm registry through npm (web/package-lock.json).
if ! command -v npm >/dev/null; then apt-get install -y --no-install-recommends npm; fi
