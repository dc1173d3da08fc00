#!/usr/bin/env bash
# Builds the browser extension into build/extension/ (or the folder given as
# the first argument), loadable unpacked, and the store's zip beside it
# (build/huecode-extension.zip). It is made of extension/ and of the page's
# own modules and WebAssembly core, found by following the imports
# (web/tools/modules.mjs): a built page given as the second argument is used
# as it is, otherwise scripts/web.sh builds one. The built extension keeps
# extension/ and web/ side by side as the sources do, so that the modules'
# relative imports hold as they are written; manifest.json, _locales/ and
# icons/ sit at its root.
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
# imports of the two that manifest.json and popup.html load, and the classic
# scripts the background injects into pages, from their one list.
root_files=(
  manifest.json
  _locales/en/messages.json
  _locales/zh_CN/messages.json
)
extension_files=(
  extension/popup/popup.html
  extension/popup/popup.css
)
# shellcheck disable=SC2016 # JavaScript, whose template strings are not the shell's
mapfile -t -O ${#extension_files[@]} extension_files < <(node --input-type=module -e '
  const {pageScripts, mainWorldScripts} = await import(process.argv[1]);
  console.log([...pageScripts, ...mainWorldScripts].join("\n"));' "$root/extension/content/scripts.js")
extension_entries=(extension/background/background.js extension/popup/popup.js)
icon_sizes=(16 32 48 128)

# The page's modules come from the built page first (the core's loader is
# written by the page build), the others from the sources.
mapfile -t modules < <(node "$root/web/tools/modules.mjs" "web/=$web/:$root" "${extension_entries[@]}")

rm -rf "${out:?}"/*
mkdir -p "$out/_locales/en" "$out/_locales/zh_CN" "$out/icons"
for file in "${root_files[@]}"; do
  cp "$root/extension/$file" "$out/$file"
done
for file in "${extension_files[@]}" "${modules[@]}"; do
  mkdir -p "$(dirname "$out/$file")"
  if [[ $file == web/* && -f $web/${file#web/} ]]; then
    cp "$web/${file#web/}" "$out/$file"
  else
    cp "$root/$file" "$out/$file"
  fi
done
cp "$web/core/huecode.wasm" "$out/web/core/huecode.wasm"
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
# Firefox takes the same zip as an add-on package of its own name (unsigned).
cp "$zip" "${zip%.zip}.xpi"
echo "extension: built $out, $zip and ${zip%.zip}.xpi"
