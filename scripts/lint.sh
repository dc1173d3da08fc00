#!/usr/bin/env bash
# Static checks, each over every file of its kind; any finding fails:
#   clang-format (.clang-format) over every C and C++ source and header,
#   clang-tidy (.clang-tidy) over every C++ source file,
#   ESLint (eslint.config.js) over the page and the extension,
#   TypeScript's checker over their JavaScript and its JSDoc types
#   (tsconfig.json; tsconfig.sw.json for the service worker),
#   ShellCheck over every shell script.
# How each one runs is in scripts/lib/linters.sh. The compile commands come
# from a configured (not necessarily built) tree: build/ (or
# $HUECODE_LINT_BUILD_DIR, else $HUECODE_BUILD_DIR) for the program and its
# tests, build-fuzz/ (or $HUECODE_FUZZ_BUILD_DIR) for the fuzz targets, which
# only a clang build has, build/web.obj (or $HUECODE_WEB_BUILD_DIR) for the
# page's binding, and build/npm.obj (or $HUECODE_NPM_BUILD_DIR) for the npm
# package's own sources, which only the Emscripten builds compile.
# Usage: scripts/lint.sh [--format-only | --tidy-only | --js-only | --shell-only]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build=${HUECODE_LINT_BUILD_DIR:-${HUECODE_BUILD_DIR:-$root/build}}
fuzz_build=${HUECODE_FUZZ_BUILD_DIR:-$root/build-fuzz}
web_build=${HUECODE_WEB_BUILD_DIR:-$root/build/web.obj}
npm_build=${HUECODE_NPM_BUILD_DIR:-$root/build/npm.obj}
# shellcheck source=scripts/lib/build_folder.sh
source "$root/scripts/lib/build_folder.sh"
# shellcheck source=scripts/lib/linters.sh
source "$root/scripts/lib/linters.sh"
cd "$root"

mode=${1:-all}
case $mode in all | --format-only | --tidy-only | --js-only | --shell-only) ;; *)
  echo "usage: scripts/lint.sh [--format-only | --tidy-only | --js-only | --shell-only]" >&2
  exit 2
  ;;
esac
status=0
wanted() { [[ $mode == all || $mode == "$1" ]]; }

if wanted --format-only; then
  echo "lint: clang-format"
  mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c')
  if ! format_check "${files[@]}"; then
    echo "lint: formatting differs; run clang-format -i on the files above" >&2
    status=1
  fi
fi

if wanted --tidy-only; then
  configure_build main "$build"
  configure_build fuzz "$fuzz_build"
  configure_build web "$web_build"
  configure_build npm "$npm_build"
  mapfile -t web_sources < <(git ls-files 'web/*.cpp')
  mapfile -t fuzz_sources < <(git ls-files 'tests/fuzz/*.cpp')
  # The main build's sources; of those it leaves out, the npm package's
  # Emscripten build compiles some (the JavaScript grapheme finder, the
  # package's description), and what no build here compiles (the
  # Windows-only files) has no compile commands: it is named, not counted as
  # checked.
  mapfile -t sources < <(git ls-files '*.cpp' ':!tests/fuzz/*' ':!web/*')
  mapfile -t left < <(uncompiled "$build" "${sources[@]}")
  mapfile -t unchecked < <(uncompiled "$npm_build" "${left[@]}")
  mapfile -t npm_sources < <(printf '%s\n' "${left[@]}" | grep -vxF -f <(printf '%s\n' "${unchecked[@]}"))
  mapfile -t sources < <(printf '%s\n' "${sources[@]}" | grep -vxF -f <(printf '%s\n' "${left[@]}"))
  echo "lint: clang-tidy on ${#sources[@]} + ${#fuzz_sources[@]} + ${#web_sources[@]} + ${#npm_sources[@]} files"
  tidy_check "$build" "${sources[@]/#/$root/}" || status=1
  tidy_check "$fuzz_build" "${fuzz_sources[@]/#/$root/}" || status=1
  tidy_check_web "$web_build" "${web_sources[@]/#/$root/}" || status=1
  tidy_check_web "$npm_build" "${npm_sources[@]/#/$root/}" || status=1
  if ((${#unchecked[@]} > 0)); then
    echo "lint: clang-tidy cannot check ${unchecked[*]}: only the Windows build" \
      "(scripts/windows.sh) compiles them"
  fi
fi

if wanted --js-only; then
  echo "lint: ESLint"
  "$root/scripts/web_packages.sh" .
  eslint_check . || status=1
  echo "lint: TypeScript's checker"
  npx --no-install tsc -p tsconfig.json || status=1
  npx --no-install tsc -p tsconfig.sw.json || status=1
fi

if wanted --shell-only; then
  mapfile -t scripts < <(shell_scripts)
  echo "lint: shellcheck on ${#scripts[@]} scripts"
  shellcheck_check "${scripts[@]}" || status=1
fi

if ((status != 0)); then
  echo "lint: FAILED" >&2
else
  echo "lint: clean"
fi
exit $status
