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

# The page's files besides its scripts, which come from following the imports
# of those that index.html loads and of the service worker app.js registers.
page_files=(
  index.html
  style.css
  manifest.webmanifest
  icons/icon-180.png
  icons/icon-192.png
  icons/icon-512.png
)
page_entries=(app.js file-check.js sw.js)

# The WebAssembly comes from web/CMakeLists.txt, which links the same core
# target as the other builds.
# shellcheck source=scripts/lib/build_folder.sh
source "$root/scripts/lib/build_folder.sh"
configure_build web "$objects"
cmake --build "$objects" -j2

# The core's loader (huecode.js) is one of the modules, written by the build.
mapfile -t modules < <(node "$root/web/tools/modules.mjs" "$objects:$root/web" "${page_entries[@]}")
rm -rf "${out:?}"/*
mkdir -p "$out/icons"
cp "$objects/huecode.wasm" "$out/"
for file in "${page_files[@]}"; do
  cp "$root/web/$file" "$out/$file"
done
for module in "${modules[@]}"; do
  if [[ -f $objects/$module ]]; then
    cp "$objects/$module" "$out/$module"
  else
    cp "$root/web/$module" "$out/$module"
  fi
done
cp "$root/ui/resources/icon.svg" "$out/icon.svg"

# The first paint waits for app.js and every module it imports: the page
# names them all, so that they load at once rather than one import at a time.
mapfile -t preload < <(node "$root/web/tools/modules.mjs" --imports-only "$root/web" app.js | grep -vx app.js)
links=$(printf '<link rel="modulepreload" href="%s">\\n' "${preload[@]}")
sed -i "s|^<script type=\"module\" src=\"app.js\"|${links}&|" "$out/index.html"

"$root/scripts/web_release.sh" "$out"
single=$(dirname "$out")/web-single
node "$root/web/tools/single.mjs" "$out" "$objects/huecode-single.js" "$single/huecode.html"
echo "web: built the page into $out and $single/huecode.html"
