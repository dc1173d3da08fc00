#!/usr/bin/env bash
# Configures and builds huecode into build/ (or $HUECODE_BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${HUECODE_BUILD_DIR:-$root/build}
# shellcheck source=scripts/lib/build_folder.sh
source "$root/scripts/lib/build_folder.sh"
configure_build main "$build" "$@"
cmake --build "$build"
