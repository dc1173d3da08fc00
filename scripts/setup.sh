#!/usr/bin/env bash
# Installs, once, every Debian package that building, testing and benchmarking
# huecode needs. Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev libicu-dev
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins
  qt6-translations-l10n fonts-noto-cjk xvfb xauth xdotool xclip imagemagick
  clang libclang-rt-14-dev clang-format clang-tidy shellcheck time python3
  # The animation tests read the YAML block back with a real YAML parser.
  python3-yaml
  lintian help2man appstream desktop-file-utils man-db groff-base
  bash-completion zsh fish
  # The web page: the core compiled by Emscripten, tested in Chromium, and in
  # the two other engines: Firefox (driven over WebDriver BiDi) and WebKitGTK
  # (through its WebDriver, which brings MiniBrowser; it speaks the language
  # of its locale, so the locales must be there).
  firefox-esr webkit2gtk-driver locales-all
)
# The browser tests take their npm packages through npm, which comes with
# Node.js where that is installed from outside Debian.
if ! command -v npm >/dev/null; then
  packages+=(nodejs npm)
fi

# shellcheck source=scripts/lib/packages.sh
source "$(dirname "$0")/lib/packages.sh"
install_packages "${packages[@]}"
