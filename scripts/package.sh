#!/usr/bin/env bash
# Builds the program for release in build-release/ (or $BUILD_DIR) with the flags Debian builds its
# own packages with (optimised -O2, hardened), and makes its Debian package koravin_<version>_amd64.deb
# in the project's folder (or $PACKAGE_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-release}
out=${PACKAGE_DIR:-$root}
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    BUILD_DIR=$build BUILD_TYPE=Release bash "$root/scripts/build.sh" -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG \
    -DKORAVIN_BUILD_TESTS=OFF -DKORAVIN_BUILD_BENCHMARKS=OFF
rm -f "$build"/package/koravin_*.deb
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build/package"
mkdir -p "$out"
mv "$build"/package/koravin_*.deb "$out/"
ls "$out"/koravin_*.deb
