#!/usr/bin/env bash
# Cross-builds huecode for 64-bit Windows on Debian 12 and packs
# build/windows/huecode-windows-x86_64.zip: huecode.exe, huecode-cli.exe and a
# short README, both programs linked statically (Qt and the MinGW runtime).
#   scripts/windows.sh          installs what is missing, builds Qt once, builds the zip
#   scripts/windows.sh --test   the same, then tests both programs under Wine
#   scripts/windows.sh --qt     only installs and builds the cached Qt
#   scripts/windows.sh --bench  the zip, then prints its figures (sizes, times
#                               under Wine against the Linux huecode-cli)
# Qt (qtbase, from Debian's own source package) is cross-built once
# into ~/.cache/huecode/qt-<version>-mingw-w64-<hash>/ ($HUECODE_CACHE_DIR for
# another place), the hash covering everything that shapes that build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${HUECODE_WINDOWS_DIR:-$root/build/windows}
cache=${HUECODE_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/huecode}
toolchain=$root/cmake/mingw-w64-x86_64.cmake
jobs=${HUECODE_JOBS:-2}
mode=${1:-}
case $mode in "" | --test | --qt | --bench | --window-test-in-xvfb) ;; *)
  echo "usage: scripts/windows.sh [--test | --qt | --bench]" >&2
  exit 2
  ;;
esac

say() { echo "windows: $*"; }
as_root() { if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi; }
# shellcheck source=scripts/lib/packages.sh
source "$root/scripts/lib/packages.sh"
# shellcheck source=scripts/lib/build_folder.sh
source "$root/scripts/lib/build_folder.sh"
# shellcheck source=scripts/lib/window.sh
source "$root/scripts/lib/window.sh"

packages=(
  g++-mingw-w64-x86-64-posix cmake ninja-build dpkg-dev zip librsvg2-bin
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
  wine wine64 xvfb xauth xdotool xclip imagemagick
)

# apt-get source needs a deb-src entry; Debian's cloud and container images
# often come without one.
ensure_deb_src() {
  if grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return
  fi
  local codename list=/etc/apt/sources.list.d/huecode-deb-src.sources
  # shellcheck source=/dev/null  # the machine's own file, not the project's
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  say "no deb-src entry found: adding $list (Debian's main archive, $codename) for apt-get source" >&2
  printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" "Suites: $codename" \
    "Components: main" "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" |
    as_root tee "$list" >/dev/null
  as_root apt-get update -qq >&2
}

# Unpacks Debian's source of a Qt module (with Debian's patches) below
# $cache/src and prints its folder.
qt_source() {
  local package=$1 dir
  mkdir -p "$cache/src/$package"
  dir=$(find "$cache/src/$package" -mindepth 1 -maxdepth 1 -type d -name "$package-*" | head -n 1)
  if [[ -z $dir ]]; then
    ensure_deb_src
    say "fetching Debian's source of $package" >&2
    (cd "$cache/src/$package" && apt-get source -qq "$package" >&2)
    dir=$(find "$cache/src/$package" -mindepth 1 -maxdepth 1 -type d -name "$package-*" | head -n 1)
  fi
  [[ -n $dir ]] || { echo "windows: apt-get source $package left no source folder" >&2; exit 1; }
  echo "$dir"
}

# Only what huecode uses: QtCore, QtGui (with PNG), QtWidgets and the windows
# platform plugin. Debian's source leaves out the accessibility bridge and the
# tablet library, hence no accessibility and no tablet events. The second line
# drops what huecode never shows (file and font dialogs, Markdown, PDF, other
# image formats), which shortens the build by a good part. Direct2D stays:
# Qt 6.4 builds its DirectWrite font engine only with it, while the platform
# plugin refers to that engine whenever DirectWrite 3 is found.
qt_options=(
  -static -release -xplatform win32-g++ -qt-host-path /usr
  -nomake examples -nomake tests -no-opengl -no-dbus -no-feature-sql -no-feature-network
  -no-feature-accessibility -no-feature-tabletevent -qt-zlib -qt-libpng -qt-pcre
  -qt-freetype -qt-harfbuzz -no-feature-printsupport -no-feature-testlib
  -no-feature-concurrent -no-feature-xml -no-libjpeg -no-feature-vulkan
  -no-feature-textmarkdownreader -no-feature-textmarkdownwriter
  -no-feature-textodfwriter -no-feature-pdf -no-gif -no-ico -no-feature-filedialog
  -no-feature-fontdialog -no-feature-mdiarea -no-feature-calendarwidget -no-feature-wizard
)

build_qt() {
  local base key
  base=$(qt_source qt6-base)
  qt_version=$(basename "$base" | sed -E 's/^qt6-base-([0-9.]+).*/\1/')
  key=$( (printf '%s\n' "${qt_options[@]}" "$(basename "$base")" \
    "$(x86_64-w64-mingw32-g++-posix -dumpfullversion)"; cat "$toolchain") | sha256sum | cut -c1-12)
  qt=$cache/qt-$qt_version-mingw-w64-$key
  [[ -f $qt/.complete ]] && return
  local started=$SECONDS work=$cache/build-$key
  say "cross-building Qt $qt_version once into $qt (about 20 minutes on two cores)"
  # An interrupted build goes on where it stopped.
  if [[ ! -f $work/build.ninja ]]; then
    rm -rf "$work" "$qt"
    mkdir -p "$work"
    (cd "$work" && "$base/configure" -prefix "$qt" "${qt_options[@]}" -- -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
  fi
  cmake --build "$work" --parallel "$jobs"
  cmake --install "$work"
  echo "$((SECONDS - started))" >"$qt/.build-seconds"
  touch "$qt/.complete"
  rm -rf "$work"
  say "Qt built in $((SECONDS - started)) s"
}

# The project's own CMake build, with Qt's toolchain file for the cached Qt
# loading ours for the compilers. Only the two programs: no tests, no
# manual pages (they are made by running the program).
build_huecode() {
  build=$out/build
  local started=$SECONDS
  configure_build release "$build" -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" -DBUILD_TESTING=OFF -DHUECODE_WERROR=ON
  cmake --build "$build" --target huecode huecode-cli --parallel "$jobs"
  say "huecode built in $((SECONDS - started)) s"
}

package_zip() {
  local stage=$out/huecode version
  zip_file=$out/huecode-windows-x86_64.zip
  version=$(sed -nE 's/^project\(huecode VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")
  rm -rf "$stage" "$zip_file"
  mkdir -p "$stage"
  x86_64-w64-mingw32-strip -o "$stage/huecode.exe" "$build/huecode.exe"
  x86_64-w64-mingw32-strip -o "$stage/huecode-cli.exe" "$build/huecode-cli.exe"
  # Notepad on older Windows wants CRLF line ends and a byte order mark to see UTF-8.
  { printf '\xEF\xBB\xBF'; sed -e "s/@HUECODE_VERSION@/$version/" -e "s/@QT_VERSION@/$qt_version/" \
    -e 's/$/\r/' "$root/packaging/windows/README.txt"; } >"$stage/README.txt"
  (cd "$out" && zip -q -X -9 -r "$zip_file" huecode)
  say "wrote $zip_file ($(stat -c %s "$zip_file") bytes)"
}

# The Linux huecode-cli from the same source: what the Windows one must match;
# and the program that compares the two (tests/windows).
build_linux_cli() {
  linux=$out/linux
  "$root/scripts/setup.sh"
  configure_build release "$linux"
  cmake --build "$linux" --target huecode-cli cli_differential --parallel "$jobs"
}

# Wine shows the Linux file system as drive Z:.
wine_path() {
  local path=${1//\//\\}
  echo "Z:$path"
}

use_wine() {
  export WINEPREFIX=$out/wine WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [[ ! -f $WINEPREFIX/system.reg ]]; then
    say "creating the Wine prefix $WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || true
  fi
  wineserver -p 2>/dev/null || true  # already running for this prefix: fine
  trap 'wineserver -k 2>/dev/null || true' EXIT
  # The first program started in a Wine session starts Wine's services too,
  # which keep the standard streams they inherit open as long as the session
  # lasts: a test reading a program's output to its end would wait for ever.
  wineboot </dev/null >/dev/null 2>&1
}

# Both programs must stand alone: no MinGW runtime or Qt DLL beside them.
check_standalone() {
  local exe imports
  for exe in "$out/huecode/huecode.exe" "$out/huecode/huecode-cli.exe"; do
    imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
    if grep -qiE '^(libstdc|libgcc|libwinpthread|qt6)' <<<"$imports"; then
      echo "windows: $(basename "$exe") needs DLLs that Windows lacks: $(tr '\n' ' ' <<<"$imports")" >&2
      exit 1
    fi
  done
  say "both programs stand alone (only Windows' own DLLs)"
}

test_cli() {
  "$linux/tests/windows/cli_differential" "$linux/cli/huecode-cli" "$(command -v wine)" "$out/huecode/huecode-cli.exe" \
    "${HUECODE_RANDOM_CASES:-300}"
}

# The gradient bar has no text, so its pixels must be the Linux ones; the
# effect preview's glyphs come from the fonts at hand, so only its size must.
test_pictures() {
  local dir=$out/pictures side size=()
  rm -rf "$dir" && mkdir -p "$dir"
  "$linux/cli/huecode-cli" --rainbow --bar-png "$dir/linux-bar.png" \
    --preview-png "$dir/linux-preview.png" "彩色文字 huecode" >/dev/null
  wine "$out/huecode/huecode-cli.exe" --rainbow --bar-png "$(wine_path "$dir/windows-bar.png")" \
    --preview-png "$(wine_path "$dir/windows-preview.png")" "彩色文字 huecode" >/dev/null
  if [[ $(compare -metric AE "$dir/linux-bar.png" "$dir/windows-bar.png" null: 2>&1) != 0 ]]; then
    echo "windows: huecode-cli.exe --bar-png differs from the Linux picture ($dir)" >&2
    exit 1
  fi
  for side in linux windows; do
    size+=("$(identify -format %wx%h "$dir/$side-preview.png")")
  done
  if [[ ${size[0]} != "${size[1]}" ]]; then
    echo "windows: the effect preview is ${size[1]} on Windows, ${size[0]} on Linux" >&2
    exit 1
  fi
  say "huecode-cli.exe draws the Linux gradient bar and a ${size[1]} effect preview"
}

# Inside a virtual X display: the window appears with its title and size, and
# a text pasted, converted and copied through it comes back as the CLI writes it.
window_test() {
  local exe=$out/huecode/huecode.exe shot=$out/huecode-wine.png window text=$out/window-text.txt
  local expected copied=$out/window-copied.txt
  wine "$exe" &
  local pid=$!
  window=$(wait_for_window '^Brelvin留言彩色字体代码生成$' 300) ||
    { echo "windows: the main window did not appear under Wine" >&2; exit 1; }
  eval "$(xdotool getwindowgeometry --shell "$window")"
  say "main window: '$(xdotool getwindowname "$window")', ${WIDTH}x$HEIGHT"
  if [[ ${WIDTH}x$HEIGHT != 539x375 ]]; then
    echo "windows: the main window is ${WIDTH}x$HEIGHT, not 539x375" >&2
    exit 1
  fi
  printf '%s' '欢迎光临我的留言板！祝各位朋友新年快乐，万事如意。Happy posting with huecode! 🎉' >"$text"
  expected=$("$linux/cli/huecode-cli" -- "$(<"$text")")
  paste_into_window "$window" "$text"
  convert_and_copy "$copied" 1 || { echo "windows: copying through the window failed" >&2; exit 1; }
  import -window "$window" "$shot"
  say "screenshot: $shot"
  xdotool windowfocus --sync "$window" key --clearmodifiers alt+x
  wait "$pid" || true
  if [[ $(<"$copied") != "$expected" ]]; then
    echo "windows: the window's markup differs from huecode-cli's:" >&2
    diff "$copied" <(printf '%s\n' "$expected") >&2 || true
    exit 1
  fi
  say "paste, convert and copy through the window give huecode-cli's markup"
}

# The 1,000,000-character text of the page's benchmark, as a file.
bench() {
  local text=$out/bench-text.txt k
  python3 -c "import sys; s='彩色文字 huecode 渐变效果, colourful text!\n'; n=1000000
sys.stdout.write((s * (n // len(s) + 1))[:n - 1] + '.')" >"$text"
  for k in linux windows; do
    local best=
    for _ in 1 2 3; do
      local started=$EPOCHREALTIME
      if [[ $k == linux ]]; then
        "$linux/cli/huecode-cli" --input "$text" >/dev/null
      else
        wine "$out/huecode/huecode-cli.exe" --input "$(wine_path "$text")" >/dev/null
      fi
      local took
      took=$(python3 -c "print(round(($EPOCHREALTIME - $started) * 1000))")
      [[ -z $best || $took -lt $best ]] && best=$took
    done
    say "huecode-cli ($k) on 1,000,000 characters: best of 3 $best ms"
  done
  say "Qt cross-build (once): $(cat "$qt/.build-seconds" 2>/dev/null || echo '?') s"
  say "sizes: huecode.exe $(stat -c %s "$out/huecode/huecode.exe"), huecode-cli.exe" \
    "$(stat -c %s "$out/huecode/huecode-cli.exe"), zip $(stat -c %s "$zip_file") bytes"
}

if [[ $mode == --window-test-in-xvfb ]]; then
  linux=$out/linux
  use_wine
  window_test
  exit 0
fi

install_packages "${packages[@]}"
mkdir -p "$cache" "$out"
build_qt
[[ $mode == --qt ]] && { say "Qt is ready in $qt"; exit 0; }
build_huecode
package_zip
[[ -z $mode ]] && exit 0
build_linux_cli
check_standalone
use_wine
if [[ $mode == --bench ]]; then
  bench
  exit 0
fi
test_cli
test_pictures
# Wine's desktop belongs to the session that started it, so the window gets a
# session of its own on the virtual display.
wineserver -k
wineserver -w
xvfb-run -a -s "-screen 0 1024x768x24" "$0" --window-test-in-xvfb
say "all Windows tests passed"
