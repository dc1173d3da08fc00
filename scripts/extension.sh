#!/usr/bin/env bash
# Builds the browser extension into build/extension/ (or the folder given as
# the first argument), loadable unpacked, and the store's zip beside it
# (build/huecode-extension.zip). It is made of extension/ and of the page's
# own modules and WebAssembly core, found by following the imports
# (web/tools/modules.mjs): a built page given as the second argument is used
# as it is, otherwise scripts/web.sh builds one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-${HUECODE_BUILD_DIR:-$root/build}/extension}
mkdir -p "$out"
out=$(cd "$out" && pwd)
web=${2:-}
if [[ -z $web ]]; then
  web=$(dirname "$out")/web
  "$root/scripts/web.sh" "$web"
fi
zip=$(dirname "$out")/huecode-extension.zip

# The extension's files besides its modules, which come from following the
# imports of the two that manifest.json and popup.html load.
extension_files=(
  manifest.json
  # Classic scripts that background.js injects into the page.
  editor_read.js
  editor_write.js
  text_field.js
  focused_field.js
  # Injected into the page's own world, to ask its editors.
  editor_main.js
  popup.html
  popup.css
  _locales/en/messages.json
  _locales/zh_CN/messages.json
)
extension_entries=(background.js popup.js)
icon_sizes=(16 32 48 128)

# The page's modules come from the built page first (the core's loader is
# written by the page build), the others from web/.
mapfile -t modules < <(node "$root/web/tools/modules.mjs" "$root/extension:web/=$web:web/=$root/web" \
  "${extension_entries[@]}")

rm -rf "${out:?}"/*
mkdir -p "$out/_locales/en" "$out/_locales/zh_CN" "$out/web" "$out/icons"
for file in "${extension_files[@]}"; do
  cp "$root/extension/$file" "$out/$file"
done
for module in "${modules[@]}"; do
  if [[ $module != web/* ]]; then
    cp "$root/extension/$module" "$out/$module"
  elif [[ -f $web/${module#web/} ]]; then
    cp "$web/${module#web/}" "$out/$module"
  else
    cp "$root/web/${module#web/}" "$out/$module"
  fi
done
cp "$web/huecode.wasm" "$out/web/huecode.wasm"
for size in "${icon_sizes[@]}"; do
  cp "$root/web/icons/icon-$size.png" "$out/icons/icon-$size.png"
done

# The same files in the same order with the same dates every time, so the
# same sources make the same zip.
python3 - "$out" "$zip" <<'PY'
import os, sys, zipfile
folder, target = sys.argv[1], sys.argv[2]
paths = sorted(os.path.relpath(os.path.join(d, f), folder) for d, _, files in os.walk(folder) for f in files)
with zipfile.ZipFile(target, 'w', zipfile.ZIP_DEFLATED) as archive:
    for path in paths:
        info = zipfile.ZipInfo(path, date_time=(2020, 1, 1, 0, 0, 0))
        info.external_attr = 0o644 << 16
        with open(os.path.join(folder, path), 'rb') as f:
            archive.writestr(info, f.read(), zipfile.ZIP_DEFLATED)
PY
echo "extension: built $out and $zip"
