# shellcheck shell=bash
# What the benchmark scripts start with: root, the main build folder (build/,
# or $HUECODE_BUILD_DIR) configured as any other script would configure it,
# and bench_build TARGET... to build what a script measures. cli is
# huecode-cli in that folder.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${HUECODE_BUILD_DIR:-$root/build}
# shellcheck disable=SC2034 # read by the scripts that source this
cli=$build/cli/huecode-cli
# shellcheck source=scripts/lib/build_folder.sh
source "$root/scripts/lib/build_folder.sh"

bench_build() {
  configure_build main "$build"
  cmake --build "$build" --target "$@" >/dev/null
}
