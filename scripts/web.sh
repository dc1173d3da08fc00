#!/usr/bin/env bash
# Builds the web page into build/web/ (or the folder given as the first
# argument): the conversion core compiled to WebAssembly with Emscripten, and
# the page's static files. Only what the page serves ends up there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-${HUECODE_BUILD_DIR:-$root/build}/web}
objects=$out.obj

# The core's sources: plain C++, no Qt and no ICU. The browser's
# Intl.Segmenter finds grapheme clusters instead of ICU.
core_sources=(
  chunks.cpp
  colour.cpp
  dialects.cpp
  gradient_stops.cpp
  styled_text.cpp
)

page_files=(
  index.html
  style.css
  app.js
  i18n.js
  controls.js
  preview.js
  formatting.js
  settings.js
  worker.js
  convert.js
  sw.js
  manifest.webmanifest
  icons/icon-180.png
  icons/icon-192.png
  icons/icon-512.png
)

# Debian's Emscripten finds its JavaScript helpers (acorn) only here.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

cxxflags=(
  -std=c++20 -O2 -Wall -Wextra -Werror
  -I"$root/core/include"
)
linkflags=(
  -O2
  -sENVIRONMENT=web,worker -sMODULARIZE=1 -sEXPORT_ES6=1 -sEXPORT_NAME=createHuecode
  -sDYNAMIC_EXECUTION=0 -sFILESYSTEM=0 -sALLOW_MEMORY_GROWTH=1
)

mkdir -p "$out" "$objects"
sources=("$root/web/binding.cpp")
for source in "${core_sources[@]}"; do
  sources+=("$root/core/$source")
done

object_files=()
for source in "${sources[@]}"; do
  object=$objects/$(basename "$source" .cpp).o
  object_files+=("$object")
  if [[ ! -f $object || $source -nt $object ]] ||
    find "$root/core" "$root/web" -name '*.h' -newer "$object" | grep -q .; then
    em++ "${cxxflags[@]}" -c "$source" -o "$object"
  fi
done
em++ "${linkflags[@]}" "${object_files[@]}" -o "$objects/huecode.js"

rm -rf "${out:?}"/*
mkdir -p "$out/icons"
cp "$objects/huecode.js" "$objects/huecode.wasm" "$out/"
for file in "${page_files[@]}"; do
  cp "$root/web/$file" "$out/$file"
done
cp "$root/ui/resources/icon.svg" "$out/icon.svg"

# The service worker caches every file of the page, under a name that changes
# whenever any of them does.
cached=("./" huecode.js huecode.wasm icon.svg "${page_files[@]}")
version=$(cd "$out" && cat "${cached[@]:1}" | sha256sum | cut -c1-16)
list=$(printf "'%s', " "${cached[@]}")
sed -i -e "s|^const version = .*|const version = '$version';|" \
  -e "s|^const pageFiles = .*|const pageFiles = [${list%, }];|" "$out/sw.js"
echo "web: built the page into $out"
