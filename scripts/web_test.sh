#!/usr/bin/env bash
# Runs the page's browser tests in Debian's Chromium against a built page.
# Usage: scripts/web_test.sh WEB_DIR HUECODE_CLI [TEST_FILE...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
HUECODE_WEB_DIR=$(cd "$1" && pwd)
HUECODE_CLI=$(realpath "$2")
export HUECODE_WEB_DIR HUECODE_CLI
shift 2
files=()
for file in "$@"; do
  files+=("$(realpath "$file")")
done

"$root/scripts/web_packages.sh"
cd "$root/web"
if ((${#files[@]} == 0)); then
  files=(tests/*.test.mjs)
fi
# One file at a time: each starts its own browser, and the machine is shared.
status=0
for file in "${files[@]}"; do
  node --test "$file" || status=1
done
exit $status
