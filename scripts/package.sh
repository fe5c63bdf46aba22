#!/usr/bin/env bash
# Builds the Debian package and prints its path:
#
#     bash scripts/package.sh
#     apt install ./build-package/zarvoreader_*.deb
#
# The build folder (build-package/, or $ZR_PACKAGE_DIR) has no tests or
# benchmarks; it is configured once and rebuilt quickly when nothing changed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
BUILD_DIR=${ZR_PACKAGE_DIR:-build-package}
# The package's files and folders get the usual rights whatever the caller's umask.
umask 022
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZR_TESTS=OFF -DZR_BENCH=OFF
fi
cmake --build "$BUILD_DIR" -j "$(nproc)"
rm -f "$BUILD_DIR"/zarvoreader_*.deb
if ! (cd "$BUILD_DIR" && cpack -G DEB >cpack.log 2>&1); then
    cat "$BUILD_DIR/cpack.log" >&2
    exit 1
fi
realpath "$BUILD_DIR"/zarvoreader_*.deb
