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

# The page's files besides its modules, which come from following the imports
# of those that index.html loads. The service worker and the web app manifest
# are served from the site's root, so that their scope is the whole page.
page_files=(
  index.html
  page/style.css
  offline/file-check.js
  offline/sw.js:sw.js
  offline/manifest.webmanifest:manifest.webmanifest
  icons/icon-180.png
  icons/icon-192.png
  icons/icon-512.png
)
page_entries=(page/app.js)

# The WebAssembly comes from web/CMakeLists.txt, which links the same core
# target as the other builds.
# shellcheck source=scripts/lib/build_folder.sh
source "$root/scripts/lib/build_folder.sh"
configure_build web "$objects"
cmake --build "$objects" -j2

# The core's loader (huecode.js) is one of the modules, written by the build.
mapfile -t modules < <(node "$root/web/tools/modules.mjs" "$objects:$root/web" "${page_entries[@]}")
rm -rf "${out:?}"/*
mkdir -p "$out/core"
cp "$objects/core/huecode.wasm" "$out/core/"
for file in "${page_files[@]}"; do
  served=${file#*:}
  mkdir -p "$(dirname "$out/$served")"
  cp "$root/web/${file%%:*}" "$out/$served"
done
for module in "${modules[@]}"; do
  mkdir -p "$(dirname "$out/$module")"
  if [[ -f $objects/$module ]]; then
    cp "$objects/$module" "$out/$module"
  else
    cp "$root/web/$module" "$out/$module"
  fi
done
cp "$root/ui/resources/icon.svg" "$out/icon.svg"

# The single file joins the modules itself, from the files as they are here.
single=$(dirname "$out")/web-single
node "$root/web/tools/single.mjs" "$out" "$objects/core/huecode-single.js" "$single/huecode.html"

# The first paint waits for app.js and every module it imports: the page
# loads them joined into one page/app.js, one request instead of a round of
# requests per level of imports. The worker's modules stay files (the
# worker starts after the first paint); a module only the page imports goes.
mapfile -t page_modules < <(node "$root/web/tools/modules.mjs" --imports-only "$out" page/app.js)
declare -A in_worker=()
while read -r module; do
  in_worker[$module]=1
done < <(node "$root/web/tools/modules.mjs" "$out" core/worker.js)
node "$root/web/tools/bundle.mjs" "$out" page/app.js "$objects/app.js"
for module in "${page_modules[@]}"; do
  if [[ -z ${in_worker[$module]:-} ]]; then
    rm "$out/$module"
  fi
done
find "$out" -type d -empty -delete
mv "$objects/app.js" "$out/page/app.js"

"$root/scripts/web_release.sh" "$out"
echo "web: built the page into $out and $single/huecode.html"
