#!/usr/bin/env bash
# Builds the page and huecode-cli and prints the page's figures: conversion
# time against huecode-cli and a plain JavaScript generator, first load time
# and the page's size with gzip, Lighthouse's mobile and desktop scores and
# layout shift (Lighthouse pinned in web/bench/package-lock.json), and for long
# texts the renderer's peak memory and the time to the first markup, and the
# board playing a moving gradient's frames.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${HUECODE_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
"$root/scripts/web.sh" "$build/web"
"$root/scripts/web_packages.sh"
cd "$root/web"
HUECODE_WEB_DIR=$build/web HUECODE_CLI=$build/cli/huecode-cli node bench/page-bench.mjs
# A long paste and typing into a long text in Chromium, Firefox and WebKit, a column each.
HUECODE_WEB_DIR=$build/web HUECODE_CLI=$build/cli/huecode-cli node bench/engines.mjs
# Peak renderer memory and time to the first markup for 1, 5 and 10 Mi characters.
HUECODE_WEB_DIR=$build/web HUECODE_CLI=$build/cli/huecode-cli node bench/memory-bench.mjs 1 5 10
# The board playing 40 frames of a 2,000-character text at 20 frames a second.
HUECODE_WEB_DIR=$build/web HUECODE_CLI=$build/cli/huecode-cli node bench/motion.mjs 2000
"$root/scripts/web_packages.sh" web/bench
HUECODE_WEB_DIR=$build/web node bench/lighthouse.mjs
