#!/usr/bin/env bash
# Static checks: clang-tidy (.clang-tidy) over every C++ source file of the
# project, and clang-format (.clang-format) over every source and header.
# Any finding fails. The compile commands come from a configured (not
# necessarily built) tree: build-hard/ (or $HUECODE_LINT_BUILD_DIR) for the
# program and its tests, build-fuzz/ (or $HUECODE_FUZZ_BUILD_DIR) for the
# fuzz targets, which only a clang build has.
# Usage: scripts/lint.sh [--format-only | --tidy-only]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build=${HUECODE_LINT_BUILD_DIR:-$root/build-hard}
fuzz_build=${HUECODE_FUZZ_BUILD_DIR:-$root/build-fuzz}
cd "$root"

mode=${1:-all}
status=0

if [[ $mode != --tidy-only ]]; then
  echo "lint: clang-format"
  if ! git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror; then
    echo "lint: formatting differs; run clang-format -i on the files above" >&2
    status=1
  fi
fi

if [[ $mode != --format-only ]]; then
  if [[ ! -f $build/compile_commands.json ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  fi
  if [[ ! -f $fuzz_build/compile_commands.json ]]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$fuzz_build" -G Ninja \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHUECODE_FUZZ=ON >/dev/null
  fi
  mapfile -t sources < <(git ls-files '*.cpp' ':!tests/fuzz/*')
  mapfile -t fuzz_sources < <(git ls-files 'tests/fuzz/*.cpp')
  echo "lint: clang-tidy on ${#sources[@]} + ${#fuzz_sources[@]} files"
  if ! run-clang-tidy -quiet -j2 -p "$build" "${sources[@]/#/$root/}" >"$build/clang-tidy.log" 2>&1; then
    status=1
  fi
  if ! run-clang-tidy -quiet -j2 -p "$fuzz_build" "${fuzz_sources[@]/#/$root/}" \
    >"$fuzz_build/clang-tidy.log" 2>&1; then
    status=1
  fi
  for log in "$build/clang-tidy.log" "$fuzz_build/clang-tidy.log"; do
    sed -E 's/\x1b\[[0-9;]*m//g' "$log" | grep -E '(warning|error):' | sort -u || true
  done
fi

if ((status != 0)); then
  echo "lint: FAILED" >&2
else
  echo "lint: clean"
fi
exit $status
