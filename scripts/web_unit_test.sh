#!/usr/bin/env bash
# Runs the tests of the page's and the extension's pure modules in Node
# alone: no Emscripten, no browser, no build. web_browser runs them too.
# Usage: scripts/web_unit_test.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# fast-check, for the readers' property tests.
"$root/scripts/web_packages.sh"
cd "$root"
node --test web/tests/code-points.test.mjs web/tests/core-reads.test.mjs web/tests/gradients.test.mjs \
  web/tests/interface.test.mjs web/tests/model.test.mjs web/tests/readers.test.mjs web/tests/choices.test.mjs \
  extension/tests/store.test.mjs
