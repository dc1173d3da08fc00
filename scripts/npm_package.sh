#!/usr/bin/env bash
# Builds the npm package huecode: the C library compiled to WebAssembly by
# Emscripten (in build/npm.obj/, or $HUECODE_NPM_BUILD_DIR), with the
# JavaScript, declarations and README of lib/npm/, packed by npm pack into
# OUT_DIR/huecode-VERSION.tgz (OUT_DIR/package/ holds what it packed).
# Usage: scripts/npm_package.sh OUT_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)
obj=${HUECODE_NPM_BUILD_DIR:-$root/build/npm.obj}
# shellcheck source=scripts/lib/build_folder.sh
source "$root/scripts/lib/build_folder.sh"
configure_build npm "$obj"
cmake --build "$obj" >"$obj/build.log" 2>&1 || { cat "$obj/build.log" >&2; exit 1; }

rm -rf "$out/package" "$out"/huecode-*.tgz
mkdir -p "$out/package"
cd "$root/lib/npm"
cp package.json README.md index.js browser.js api.js index.d.ts "$root/LICENSE" "$out/package/"
cp "$obj"/huecode.mjs "$obj"/huecode.wasm "$obj"/huecode-inline.mjs "$out/package/"
cd "$out/package"
npm pack --pack-destination "$out" --loglevel=error >/dev/null
echo "npm: $(ls "$out"/huecode-*.tgz)"
