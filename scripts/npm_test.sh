#!/usr/bin/env bash
# Builds the npm package and tests it from outside (lib/npm/tests/): installed
# from its tarball into an empty folder, used from Node.js and from a page in
# Debian's Chromium against huecode-cli, its declarations checked by tsc and
# the tarball by publint.
# Usage: scripts/npm_test.sh OUT_DIR HUECODE_CLI
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/npm_package.sh" "$1"
"$root/scripts/web_packages.sh" lib/npm
HUECODE_NPM_TARBALL=$(ls "$(cd "$1" && pwd)"/huecode-*.tgz)
HUECODE_CLI=$(realpath "$2")
export HUECODE_NPM_TARBALL HUECODE_CLI
node --test "$root/lib/npm/tests/package.test.mjs"
