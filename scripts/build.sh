#!/usr/bin/env bash
# Configures and builds huecode into build/ (or $HUECODE_BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${HUECODE_BUILD_DIR:-$root/build}
if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHUECODE_BENCHMARKS=ON \
    -DHUECODE_WERROR="${HUECODE_WERROR:-OFF}" "$@"
fi
cmake --build "$build"
