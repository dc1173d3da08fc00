#!/usr/bin/env bash
# Builds the browser extension into build/extension/ (or the folder given as
# the first argument), loadable unpacked, and the store's zip beside it
# (build/huecode-extension.zip). esbuild (web/tools/build.mjs) bundles its
# background and its popup with the page's modules they import, and minifies
# the classic scripts the background injects into pages, from their one list
# (extension/content/scripts.js); the core's WebAssembly sits beside the
# background. The page's Emscripten build comes from the built page given as
# the second argument, otherwise scripts/web.sh builds one. The built
# extension keeps the folders of extension/; manifest.json, _locales/ and
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

root_files=(
  manifest.json
  _locales/en/messages.json
  _locales/zh_CN/messages.json
)
icon_sizes=(16 32 48 128)

rm -rf "${out:?}"/*
mkdir -p "$out/_locales/en" "$out/_locales/zh_CN" "$out/icons" "$out/extension/popup"
for file in "${root_files[@]}"; do
  cp "$root/extension/$file" "$out/$file"
done
cp "$root/extension/popup/popup.html" "$root/extension/popup/popup.css" "$out/extension/popup/"
"$root/scripts/web_packages.sh" .
node "$root/web/tools/build.mjs" extension "$out" "$web.obj/core"
cp "$web.obj/core/huecode.wasm" "$out/extension/background/huecode.wasm"
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
