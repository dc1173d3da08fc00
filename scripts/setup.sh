#!/usr/bin/env bash
# Installs, once, every Debian package that building, testing and benchmarking
# huecode needs. Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev libicu-dev
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins
  qt6-translations-l10n fonts-noto-cjk xvfb xauth xdotool xclip imagemagick
  clang libclang-rt-14-dev clang-format clang-tidy time python3
  lintian help2man appstream desktop-file-utils man-db groff-base
  bash-completion zsh fish
  # The web page: the core compiled by Emscripten, tested in Chromium.
  emscripten node-acorn chromium
)
# The browser tests take their npm packages through npm, which comes with
# Node.js where that is installed from outside Debian.
if ! command -v npm >/dev/null; then
  packages+=(nodejs npm)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "setup: installing ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
  if command -v sudo >/dev/null; then
    SUDO=sudo
  else
    echo "setup: these packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  fi
else
  SUDO=
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
