#!/usr/bin/env bash
# Configures and builds huecode into build/ (or $HUECODE_BUILD_DIR).
#   scripts/build.sh [CMAKE_OPTION...]           everything, tests included
#   scripts/build.sh --window [CMAKE_OPTION...]  the window and huecode-cli alone,
#                                                unless build/ already has everything
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${HUECODE_BUILD_DIR:-$root/build}
# shellcheck source=scripts/lib/build_folder.sh
source "$root/scripts/lib/build_folder.sh"
kind=main
if [[ ${1:-} == --window ]]; then
  shift
  # A folder that ./test set up keeps everything: switching it would only
  # configure it again.
  if [[ ! -f $build/huecode-configure.txt || $(head -n 1 "$build/huecode-configure.txt") != main ]]; then
    kind=window
  fi
fi
configure_build "$kind" "$build" "$@"
cmake --build "$build"
