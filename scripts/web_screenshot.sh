#!/usr/bin/env bash
# Makes docs/web.png, the README's picture of the page, in Debian's Chromium.
# usage: scripts/web_screenshot.sh [OUTPUT.png]   (HUECODE_BUILD_DIR picks the build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${HUECODE_BUILD_DIR:-$root/build}
output=$(realpath -m "${1:-$root/docs/web.png}")
"$root/scripts/web.sh" "$build/web" >/dev/null
"$root/scripts/web_packages.sh"
cd "$root/web"
HUECODE_WEB_DIR=$build/web HUECODE_CLI=$build/cli/huecode-cli node tools/screenshot.mjs "$output"
echo "$output"
