#!/usr/bin/env bash
# Installs, once, the Debian packages huecode needs for a purpose. Safe to run
# again: it only installs what is missing.
#   scripts/setup.sh window  building and starting the window and huecode-cli (./run)
#   scripts/setup.sh web     building and serving the page (./run --web)
#   scripts/setup.sh         everything: the above, and testing, linting,
#                            packaging and benchmarking (./test, scripts/lint.sh)
set -euo pipefail

# Each package once, under the purpose that needs it; the compilers and
# CMake serve both the window and the page.
build=(build-essential cmake)
window=(
  ninja-build pkg-config libicu-dev
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins qt6-translations-l10n fonts-noto-cjk
)
web=(
  # The core compiled by Emscripten, the page's build tools run by Node.js,
  # and Python's web server for ./run --web.
  emscripten node-acorn python3
)
# npm comes with Node.js where that is installed from outside Debian.
if ! command -v npm >/dev/null; then
  web+=(nodejs npm)
fi
rest=(
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool xclip imagemagick
  clang libclang-rt-14-dev clang-format clang-tidy shellcheck time
  lintian help2man appstream desktop-file-utils man-db groff-base
  bash-completion zsh fish
  # The animation tests read the YAML block back with a real YAML parser.
  python3-yaml
  # The page's and the extension's tests run in Chromium, and in the two
  # other engines: Firefox (driven over WebDriver BiDi) and WebKitGTK
  # (through its WebDriver, which brings MiniBrowser; it speaks the language
  # of its locale, so the locales must be there).
  chromium firefox-esr webkit2gtk-driver locales-all
)

case ${1:-all} in
  window) packages=("${build[@]}" "${window[@]}") ;;
  web) packages=("${build[@]}" "${web[@]}") ;;
  all) packages=("${build[@]}" "${window[@]}" "${web[@]}" "${rest[@]}") ;;
  *)
    echo "usage: scripts/setup.sh [window | web]" >&2
    exit 2
    ;;
esac

# shellcheck source=scripts/lib/packages.sh
source "$(dirname "$0")/lib/packages.sh"
install_packages "${packages[@]}"
