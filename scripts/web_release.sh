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
sed -i -e "s|^const version = .*|const version = '$version';|" \
  -e "s|^const pageFiles = .*|const pageFiles = {$list};|" sw.js
