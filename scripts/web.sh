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

page_files=(
  index.html
  style.css
  app.js
  i18n.js
  i18n-actions.js
  feedback.js
  phone.js
  linkguard.js
  controls.js
  preview.js
  formatting.js
  settings.js
  storage.js
  notice.js
  update.js
  gradients.js
  model.js
  share.js
  library.js
  textstore.js
  meter.js
  measure.js
  answer.js
  runner.js
  file-check.js
  worker.js
  convert.js
  positions.js
  shapes.js
  shape-texts.js
  shuffle.js
  markers.js
  sw.js
  manifest.webmanifest
  icons/icon-180.png
  icons/icon-192.png
  icons/icon-512.png
)

# Debian's Emscripten finds its JavaScript helpers (acorn) only here.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

# The WebAssembly comes from web/CMakeLists.txt, which links the same core
# target as the other builds.
if [[ ! -f $objects/CMakeCache.txt ]]; then
  emcmake cmake -S "$root/web" -B "$objects" >/dev/null
fi
cmake --build "$objects" -j2

rm -rf "${out:?}"/*
mkdir -p "$out/icons"
cp "$objects/huecode.js" "$objects/huecode.wasm" "$out/"
for file in "${page_files[@]}"; do
  cp "$root/web/$file" "$out/$file"
done
cp "$root/ui/resources/icon.svg" "$out/icon.svg"

# The first paint waits for app.js and every module it imports: the page
# names them all, so that they load at once rather than one import at a time.
preload=()
pending=(app.js)
while ((${#pending[@]} > 0)); do
  module=${pending[0]}
  pending=("${pending[@]:1}")
  for imported in $(grep -ohE "from '\./[^']+'" "$root/web/$module" | sed -E "s|from '\./([^']+)'|\1|"); do
    if [[ ! " ${preload[*]} " =~ " $imported " ]]; then
      preload+=("$imported")
      pending+=("$imported")
    fi
  done
done
links=$(printf '<link rel="modulepreload" href="%s">\\n' "${preload[@]}")
sed -i "s|^<script type=\"module\" src=\"app.js\"|${links}&|" "$out/index.html"

"$root/scripts/web_release.sh" "$out"
single=$(dirname "$out")/web-single
node "$root/web/tools/single.mjs" "$out" "$objects/huecode-single.js" "$single/huecode.html"
echo "web: built the page into $out and $single/huecode.html"
