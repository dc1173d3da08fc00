#!/usr/bin/env bash
# Builds every target with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ (or $HUECODE_ASAN_BUILD_DIR) and runs the whole test suite there,
# window tests included (offscreen). Any memory error, undefined behaviour or
# leak fails the run. Leaks inside Qt's and fontconfig's own caches are
# suppressed by tests/hardening/lsan.supp, never those of huecode's code.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build=${HUECODE_ASAN_BUILD_DIR:-$root/build-asan}

# shellcheck source=scripts/lib/build_folder.sh
source "$root/scripts/lib/build_folder.sh"
configure_build sanitize "$build"
cmake --build "$build" -j2

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:fast_unwind_on_malloc=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/hardening/lsan.supp:print_suppressions=0}
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2
