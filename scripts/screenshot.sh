#!/usr/bin/env bash
# Makes docs/screenshot.png: the real main window under a virtual X display,
# after pasting a sample text (Alt+V) and converting it (Alt+T).
# usage: scripts/screenshot.sh [OUTPUT.png]   (HUECODE_BUILD_DIR picks the build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${HUECODE_BUILD_DIR:-$root/build}
output=${1:-$root/docs/screenshot.png}

if [[ -z ${HUECODE_SCREENSHOT_IN_XVFB:-} ]]; then
  for tool in xvfb-run xdotool xclip import; do
    command -v "$tool" >/dev/null || { echo "screenshot: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
  done
  [[ -x $build/app/huecode ]] || { echo "screenshot: build huecode first ($build/app/huecode)" >&2; exit 1; }
  exec env HUECODE_SCREENSHOT_IN_XVFB=1 xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
fi

QT_QPA_PLATFORM=xcb "$build/app/huecode" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

# shellcheck source=scripts/lib/window.sh
source "$root/scripts/lib/window.sh"
window=$(wait_for_window 'Brelvin') || { echo "screenshot: the window did not appear" >&2; exit 1; }
sample=$(mktemp)
printf '%s' '欢迎光临我的留言板！祝各位朋友新年快乐，万事如意。Happy posting with huecode!' >"$sample"
paste_into_window "$window" "$sample"
rm -f "$sample"
xdotool key --clearmodifiers alt+t
sleep 0.5

mkdir -p "$(dirname "$output")"
import -window "$window" "$output"
xdotool key --clearmodifiers alt+x
wait "$pid" || true
echo "screenshot: wrote $output"
