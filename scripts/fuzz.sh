#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang, ASan and UBSan into
# build-fuzz/ (or $HUECODE_FUZZ_BUILD_DIR) and runs each one for
# $HUECODE_FUZZ_SECONDS seconds (default 60), starting from its seed corpus.
# Fails on the first target that finds a crash, a leak, undefined behaviour,
# a hang or a broken property; the input that did it is kept under
# build-fuzz/artifacts/<target>/ and is reproduced with `<fuzzer> <file>`.
# Usage: scripts/fuzz.sh [target...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build=${HUECODE_FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${HUECODE_FUZZ_SECONDS:-60}

# shellcheck source=scripts/lib/build_folder.sh
source "$root/scripts/lib/build_folder.sh"
configure_build fuzz "$build"
cmake --build "$build" --target huecode_fuzzers -j2

if (($# > 0)); then
  targets=("$@")
else
  targets=()
  for source in "$root"/tests/fuzz/*_fuzz.cpp; do
    targets+=("$(basename "$source" .cpp)")
  done
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

summary=()
for target in "${targets[@]}"; do
  fuzzer=$build/tests/fuzz/$target
  seeds=$root/tests/fuzz/corpus/$target
  corpus=$build/corpus/$target
  artifacts=$build/artifacts/$target
  log=$build/logs/$target.log
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  echo "fuzz: $target for ${seconds}s"
  # New inputs go into the first corpus folder, so the seeds in the source
  # tree stay as they are.
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096
    -print_final_stats=1 -artifact_prefix="$artifacts/")
  if [[ -f $root/tests/fuzz/$target.dict ]]; then
    options+=(-dict="$root/tests/fuzz/$target.dict")
  fi
  if ! "$fuzzer" "$corpus" "$seeds" "${options[@]}" >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "fuzz: $target FAILED; the input is in $artifacts/" >&2
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  summary+=("$(printf '%-24s %12s runs %10s exec/s' "$target" "$runs" "$rate")")
done

echo "fuzz: every target ran without a finding"
printf '  %s\n' "${summary[@]}"
