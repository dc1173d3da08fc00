#!/usr/bin/env bash
# Installs npm packages into web/node_modules (the page's browser tests), or
# into the node_modules of the folder given (extension for the extension's
# tests, tests/readers for the dialects' readers, . for ESLint), exactly as its
# package-lock.json pins them, unless they are there already.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if (($(node -p 'process.versions.node.split(".")[0]') < 20)); then
  echo "web: the npm packages need Node.js 20 or newer, found $(node --version)" >&2
  exit 1
fi
cd "$root/${1:-web}"
if [[ ! -d node_modules || package-lock.json -nt node_modules ]]; then
  npm ci --no-audit --no-fund --loglevel=error
  touch node_modules
fi
