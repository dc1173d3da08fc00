#!/usr/bin/env bash
# Installs the browser tests' npm packages into web/node_modules (or the
# node_modules of the folder given, such as extension), exactly as its
# package-lock.json pins them, unless they are there already.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if (($(node -p 'process.versions.node.split(".")[0]') < 20)); then
  echo "web: playwright-core needs Node.js 20 or newer, found $(node --version)" >&2
  exit 1
fi
cd "$root/${1:-web}"
if [[ ! -d node_modules || package-lock.json -nt node_modules ]]; then
  npm ci --no-audit --no-fund --loglevel=error
  touch node_modules
fi
