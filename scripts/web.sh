#!/usr/bin/env bash
# Builds the web page into build/web/ (or the folder given as the first
# argument): the conversion core compiled to WebAssembly with Emscripten, and
# the page's static files. Only what the page serves ends up there. Beside
# it, web-single/huecode.html is the same page in one file that works opened
# from disk.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-${HUECODE_BUILD_DIR:-$root/build}/web}
objects=$out.obj

# The page's files that web/tools/build.mjs does not write (it bundles the
# modules, minifies the style sheet, file-check.js and the service worker,
# and writes index.html with the lists that the just-built core names). The
# web app manifest is served from the site's root, as the service worker is,
# so that its scope is the whole page.
page_files=(
  offline/manifest.webmanifest:manifest.webmanifest
  icons/icon-180.png
  icons/icon-192.png
  icons/icon-512.png
)

# The WebAssembly comes from web/CMakeLists.txt, which links the same core
# target as the other builds.
# shellcheck source=scripts/lib/build_folder.sh
source "$root/scripts/lib/build_folder.sh"
configure_build web "$objects"
cmake --build "$objects" -j2

# esbuild, pinned in the root package-lock.json.
"$root/scripts/web_packages.sh" .
rm -rf "${out:?}"/*
mkdir -p "$out/core"
cp "$objects/core/huecode.wasm" "$out/core/"
for file in "${page_files[@]}"; do
  served=${file#*:}
  mkdir -p "$(dirname "$out/$served")"
  cp "$root/web/${file%%:*}" "$out/$served"
done
cp "$root/ui/resources/icon.svg" "$out/icon.svg"

# The page's modules as two bundles, page/app.js and the worker's
# core/worker.js, with the core's loader from the Emscripten build; the
# first paint waits for one request. The single file is bundled apart.
node "$root/web/tools/build.mjs" page "$out" "$objects/core"
single=$(dirname "$out")/web-single
node "$root/web/tools/build.mjs" single "$single/huecode.html" "$objects/core/huecode-single.js"

"$root/scripts/web_release.sh" "$out"
echo "web: built the page into $out and $single/huecode.html"
