#!/usr/bin/env bash
# Runs the page's browser tests against a built page in Debian's Chromium, or
# in the engine HUECODE_ENGINE names (firefox, webkit: web/tests/engines.mjs).
# Usage: [HUECODE_ENGINE=ENGINE] scripts/web_test.sh WEB_DIR HUECODE_CLI [TEST_FILE...]
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
engine=${HUECODE_ENGINE:-chromium}
if ((${#files[@]} == 0)); then
  if [[ $engine == chromium ]]; then
    files=(tests/*.test.mjs)
  else
    # The files whose scenarios run in the other engines; the rest still
    # drive Chromium alone (docs/developing.md has the table).
    files=(tests/{equality,page-storage,page-keep,page-long-text,page-board,shapes}.test.mjs
      tests/{page-markup-tools,page-phone,accessibility,page-use}.test.mjs)
  fi
fi
# MiniBrowser has no headless mode: it gets an X display of its own.
run=(node)
if [[ $engine == webkit ]]; then
  run=(xvfb-run -a node)
fi
# One file at a time: each starts its own browser, and the machine is shared.
status=0
for file in "${files[@]}"; do
  echo "web: $file in $engine"
  "${run[@]}" --test "$file" || status=1
done
exit $status
