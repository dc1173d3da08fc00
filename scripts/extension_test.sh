#!/usr/bin/env bash
# Checks a built extension: `lint` runs web-ext's linter over it, `browser`
# runs its scenarios against huecode-cli in the engine HUECODE_ENGINE names
# (chromium, firefox), or without one in Debian's Chromium and then in its
# Firefox ESR, each reported (an engine not installed as skipped); `bench`
# prints how long colouring a long post takes in each.
# Usage: [HUECODE_ENGINE=ENGINE] scripts/extension_test.sh lint|browser|bench EXTENSION_DIR [HUECODE_CLI]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=$1
HUECODE_EXTENSION_DIR=$(cd "$2" && pwd)
# The page it was built with, beside it unless said otherwise.
HUECODE_WEB_DIR=${HUECODE_WEB_DIR:-$(dirname "$HUECODE_EXTENSION_DIR")/web}
export HUECODE_EXTENSION_DIR HUECODE_WEB_DIR
if (($# > 2)); then
  HUECODE_CLI=$(realpath "$3")
  export HUECODE_CLI
fi
"$root/scripts/web_packages.sh" extension
# Firefox is driven by the page's own driver layer, with its packages.
"$root/scripts/web_packages.sh"
declare -A executables=([chromium]=${HUECODE_CHROMIUM:-/usr/bin/chromium}
  [firefox]=${HUECODE_FIREFOX:-/usr/bin/firefox-esr})
if [[ -n ${HUECODE_ENGINE:-} ]]; then
  engines=("$HUECODE_ENGINE")
else
  engines=(chromium firefox)
fi
cd "$root/extension"
case $mode in
  lint)
    # Firefox ignores the service worker that Chromium needs, and Chromium the
    # background scripts that Firefox needs: that one warning is the point of
    # having both. Anything else fails.
    report=$(npx --no-install web-ext lint --no-config-discovery --output json \
      --source-dir "$HUECODE_EXTENSION_DIR" || true)
    # shellcheck disable=SC2016 # JavaScript, whose template strings are not the shell's
    node -e '
      const report = JSON.parse(process.argv[1]);
      const expected = new Set(["BACKGROUND_SERVICE_WORKER_IGNORED"]);
      const found = [...report.errors, ...report.warnings, ...report.notices].filter((m) => !expected.has(m.code));
      for (const m of found) console.error(`web-ext lint: ${m._type} ${m.code}: ${m.message} ${m.file ?? ""}`);
      console.log(`web-ext lint: ${report.summary.errors} errors, ${report.summary.warnings} warnings`);
      process.exit(found.length === 0 ? 0 : 1);' "$report"
    ;;
  browser)
    status=0
    for engine in "${engines[@]}"; do
      if ! command -v "${executables[$engine]}" >/dev/null; then
        echo "extension: $engine skipped: ${executables[$engine]} is not installed (scripts/setup.sh installs it)"
        continue
      fi
      echo "extension: the scenarios in $engine"
      HUECODE_ENGINE=$engine node --test --test-concurrency=1 tests/store.test.mjs tests/extension.test.mjs \
        tests/editors.test.mjs || status=1
    done
    exit $status
    ;;
  bench)
    node bench/colour-bench.mjs "${engines[@]}"
    ;;
  *)
    echo "usage: $0 lint|browser|bench EXTENSION_DIR [HUECODE_CLI]" >&2
    exit 2
    ;;
esac
