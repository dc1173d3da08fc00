#!/usr/bin/env bash
# Makes docs/web.png and docs/web-phone.png, the README's pictures of the page
# on a desktop and on a phone, in Debian's Chromium.
# usage: scripts/web_screenshot.sh [DESKTOP.png [PHONE.png]]   (HUECODE_BUILD_DIR picks the build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${HUECODE_BUILD_DIR:-$root/build}
output=$(realpath -m "${1:-$root/docs/web.png}")
phone=$(realpath -m "${2:-$root/docs/web-phone.png}")
"$root/scripts/web.sh" "$build/web" >/dev/null
"$root/scripts/web_packages.sh"
cd "$root/web"
HUECODE_WEB_DIR=$build/web HUECODE_CLI=$build/cli/huecode-cli node tools/screenshot.mjs "$output" "$phone"
echo "$output $phone"
