#!/usr/bin/env bash
# Runs the page's browser tests in Debian's Chromium against a built page.
# Usage: scripts/web_test.sh WEB_DIR HUECODE_CLI [TEST_FILE...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export HUECODE_WEB_DIR=$(cd "$1" && pwd)
export HUECODE_CLI=$(realpath "$2")
shift 2
files=()
for file in "$@"; do
  files+=("$(realpath "$file")")
done

if (($(node -p 'process.versions.node.split(".")[0]') < 20)); then
  echo "web tests: playwright-core needs Node.js 20 or newer, found $(node --version)" >&2
  exit 1
fi
cd "$root/web"
if [[ ! -d node_modules || package-lock.json -nt node_modules ]]; then
  npm ci --no-audit --no-fund --loglevel=error
  touch node_modules
fi
if ((${#files[@]} == 0)); then
  files=(tests/*.test.mjs)
fi
# One file at a time: each starts its own browser, and the machine is shared.
for file in "${files[@]}"; do
  node --test "$file"
done
