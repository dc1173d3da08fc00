#!/usr/bin/env bash
# Reads the game servers' and chat's dialects back with the readers of those
# places (tests/readers/, their npm packages pinned in its package-lock.json).
# Usage: scripts/readers_test.sh HUECODE_CLI
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
HUECODE_CLI=$(realpath "$1")
export HUECODE_CLI
"$root/scripts/web_packages.sh" tests/readers
cd "$root/tests/readers"
node --test readers.test.mjs
