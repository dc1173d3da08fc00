#!/usr/bin/env bash
# Seals a built page as one release: writes into its sw.js the SHA-256 of
# every file the service worker keeps (all but sw.js itself, which the
# browser fetches on its own, and the source maps, which only a browser's
# developer tools fetch) and a version that changes whenever any of them
# does. The service worker installs a release only when every file it fetches
# matches. Usage: scripts/web_release.sh WEB_DIR
set -euo pipefail
out=$1
cd "$out"
mapfile -t files < <(find . -type f ! -name sw.js ! -name '*.map' -printf '%P\n' | LC_ALL=C sort)
version=$(cat "${files[@]}" | sha256sum | cut -c1-16)
list="'./': '$(sha256sum <index.html | cut -c1-64)'"
for file in "${files[@]}"; do
  list+=", '$file': '$(sha256sum <"$file" | cut -c1-64)'"
done
# The build minifies sw.js onto one line and leaves these two names: each
# takes its value, also in a page released before.
sed -i -E -e "s#\bversion=[\"'][^\"']*[\"']#version='$version'#" \
  -e "s#\bpageFiles=\{[^}]*\}#pageFiles={$list}#" sw.js
if ! grep -q "version='$version'" sw.js || ! grep -qF "pageFiles={$list}" sw.js; then
  echo "web_release: $out/sw.js names no version or pageFiles to fill in" >&2
  exit 1
fi
