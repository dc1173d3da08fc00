#!/usr/bin/env bash
# Makes the pictures the README shows: the effect preview of one text with the
# window's RGB gradient, blended in OKLab, and as a rainbow, written by
# huecode-cli --preview-png into docs/. Builds huecode-cli into build/ (or
# $HUECODE_BUILD_DIR) first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${HUECODE_BUILD_DIR:-$root/build}
# shellcheck source=scripts/lib/build_folder.sh
source "$root/scripts/lib/build_folder.sh"
configure_build main "$build"
cmake --build "$build" --target huecode-cli
cli=$build/cli/huecode-cli

# 38 cells make one row of the preview: rows of blocks show the colours, the
# rows of words (38 characters each) show them on text.
blocks=$(printf '\u2588%.0s' {1..38})
text="$blocks""Colour for every character of a post  $blocks""from the first letter to the last one $blocks"

mkdir -p "$root/docs"
picture() {
  local name=$1
  shift
  "$cli" "$@" --preview-png "$root/docs/gradients-$name.png" -- "$text" >/dev/null
  echo "docs/gradients-$name.png"
}
picture rgb
picture oklab --space oklab
picture rainbow --rainbow --space oklab
