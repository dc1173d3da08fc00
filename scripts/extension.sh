#!/usr/bin/env bash
# Builds the browser extension into build/extension/ (or the folder given as
# the first argument), loadable unpacked, and the store's zip beside it
# (build/huecode-extension.zip). It is made of extension/ and of the page's
# own modules and WebAssembly core, found by following the imports: a built
# page given as the second argument is used as it is, otherwise
# scripts/web.sh builds one.
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

extension_files=(
  manifest.json
  background.js
  core.js
  menus.js
  page_side.js
  editor_read.js
  editor_write.js
  store.js
  popup.html
  popup.css
  popup.js
  _locales/en/messages.json
  _locales/zh_CN/messages.json
)
icon_sizes=(16 32 48 128)

# The page's modules the extension imports, and what they import in turn.
# A module the page build wrote (the core's loader) comes from the built page,
# the others from web/.
imports_of() {
  { grep -ohE "^import [^;]*from '\./[^']+'|^import '\./[^']+'" "$@" || true; } | sed -E "s|.*'\./([^']+)'|\1|" | sort -u
}
pending=$(cd "$root/extension" && grep -ohE "from '\./web/[^']+'" "${extension_files[@]}" 2>/dev/null |
  sed -E "s|.*'\./web/([^']+)'|\1|" | sort -u)
modules=()
while [[ -n $pending ]]; do
  next=()
  for module in $pending; do
    [[ " ${modules[*]} " == *" $module "* ]] && continue
    modules+=("$module")
    source=$web/$module
    [[ -f $source ]] || source=$root/web/$module
    next+=("$source")
  done
  pending=$( ((${#next[@]})) && imports_of "${next[@]}" | while read -r m; do
    [[ " ${modules[*]} " == *" $m "* ]] || echo "$m"; done)
done

rm -rf "${out:?}"/*
mkdir -p "$out/_locales/en" "$out/_locales/zh_CN" "$out/web" "$out/icons"
for file in "${extension_files[@]}"; do
  cp "$root/extension/$file" "$out/$file"
done
for module in "${modules[@]}"; do
  if [[ -f $web/$module ]]; then
    cp "$web/$module" "$out/web/$module"
  else
    cp "$root/web/$module" "$out/web/$module"
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
