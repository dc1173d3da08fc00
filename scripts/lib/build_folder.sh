# shellcheck shell=bash
# The one place that configures a build folder. Each kind of build has its
# source, generator and options here and nowhere else; the folder records them
# in huecode-configure.txt, so that whichever script comes first sets the
# folder up as any other would, and a change of options (HUECODE_WERROR, say)
# configures it again instead of being ignored.
#   main      build/: the program, its tests and benchmarks (Ninja)
#   window    build/ for ./run on a machine set up only for the window: the
#             two programs, without tests, benchmarks or manual pages
#   sanitize  build-asan/: ASan and UBSan at -O1 (Unix Makefiles, so that CI
#             builds, tests and installs with both generators)
#   fuzz      build-fuzz/: the libFuzzer targets, with clang
#   release   the programs alone, as the Windows build optimises them
#   web       the core compiled to WebAssembly by Emscripten
#   npm       the C library compiled to WebAssembly for the npm package
# Usage (after sourcing): configure_build KIND DIR [CMAKE_OPTION...]
# The options given are recorded with the kind's.

huecode_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Sets the arrays configure_command and configure_options for a kind.
build_kind() {
  configure_command=(cmake -S "$huecode_root")
  case $1 in
    main)
      configure_options=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHUECODE_BENCHMARKS=ON
        -DHUECODE_WERROR="${HUECODE_WERROR:-OFF}")
      ;;
    window)
      configure_options=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
        -DHUECODE_BENCHMARKS=OFF -DHUECODE_PACKAGING=OFF)
      ;;
    sanitize)
      # -O1 keeps the instrumented build fast enough for CI while still inlining.
      configure_options=(-G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1"
        -DHUECODE_SANITIZE=ON)
      ;;
    fuzz)
      configure_options=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHUECODE_FUZZ=ON
        -DCMAKE_CXX_COMPILER=clang++)
      ;;
    release)
      # -O2 as on Linux: at -O3, GCC 12 takes "text" + std::string for an
      # overlapping copy (-Wrestrict) all over the project.
      configure_options=(-G "${CMAKE_GENERATOR:-Ninja}" -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DHUECODE_PACKAGING=OFF)
      ;;
    web)
      # Debian's Emscripten finds its JavaScript helpers (acorn) only here.
      export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
      configure_command=(emcmake cmake -S "$huecode_root/web")
      configure_options=()
      ;;
    npm)
      export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
      configure_command=(emcmake cmake -S "$huecode_root/lib/npm")
      configure_options=()
      ;;
    *)
      echo "configure_build: no kind of build named '$1'" >&2
      return 2
      ;;
  esac
}

configure_build() {
  local kind=$1 dir=$2 record wanted cached
  shift 2
  build_kind "$kind" || return
  configure_options+=("$@")
  record=$dir/huecode-configure.txt
  wanted=$(printf '%s\n' "$kind" "${configure_options[@]}")
  if [[ -f $dir/CMakeCache.txt && -f $record && $(<"$record") == "$wanted" ]]; then
    return 0
  fi
  if [[ -f $dir/CMakeCache.txt && $kind != web && $kind != npm ]]; then
    cached=$(sed -n 's/^CMAKE_GENERATOR:INTERNAL=//p' "$dir/CMakeCache.txt")
    if [[ " ${configure_options[*]} " != *" $cached "* ]]; then
      echo "configure_build: $dir was configured with $cached by hand; remove it to let" \
        "the $kind build configure it" >&2
      return 1
    fi
  fi
  echo "configure: $dir ($kind)"
  mkdir -p "$dir"
  rm -f "$record"
  "${configure_command[@]}" -B "$dir" "${configure_options[@]}" >"$dir/configure.log" 2>&1 ||
    { cat "$dir/configure.log" >&2; return 1; }
  printf '%s\n' "$wanted" >"$record"
}
