#!/usr/bin/env bash
# Builds the page and huecode-cli and prints the page's figures: conversion
# time against huecode-cli and a plain JavaScript generator, first load time
# and the page's size with gzip.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${HUECODE_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
"$root/scripts/web.sh" "$build/web"
cd "$root/web"
if [[ ! -d node_modules || package-lock.json -nt node_modules ]]; then
  npm ci --no-audit --no-fund --loglevel=error
  touch node_modules
fi
HUECODE_WEB_DIR=$build/web HUECODE_CLI=$build/cli/huecode-cli node bench/page_bench.mjs
