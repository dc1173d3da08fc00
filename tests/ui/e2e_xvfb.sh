#!/usr/bin/env bash
# End to end under a virtual X display: starts the real huecode on the xcb
# platform, types a two-line text, converts it with Alt+T, copies it with
# Alt+C, answers the confirmation, and checks that the clipboard holds exactly
# what huecode-cli writes for the same text; then the same for a text with LF,
# CR and CR LF line ends pasted with Alt+V. Saves a screenshot on the way and
# closes the program with Alt+X.
#
# usage: e2e_xvfb.sh HUECODE HUECODE_CLI SCREENSHOT.png
set -euo pipefail

if [[ -z ${HUECODE_E2E_IN_XVFB:-} ]]; then
  exec env HUECODE_E2E_IN_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

huecode=$1
cli=$2
screenshot=$3
work=$(mktemp -d)
pid=
cleanup() {
  if [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "e2e: $*" >&2
  exit 1
}

# shellcheck source=scripts/lib/window.sh
source "$(dirname "$0")/../../scripts/lib/window.sh"

QT_QPA_PLATFORM=xcb "$huecode" >"$work/huecode.log" 2>&1 &
pid=$!

main=$(wait_for_window 'Brelvin') || fail "the main window did not appear: $(cat "$work/huecode.log")"
xdotool windowfocus --sync "$main"
sleep 0.3

# Converts with Alt+T, copies with Alt+C and checks that the clipboard holds
# exactly what huecode-cli writes for the bytes in the file $1.
convert_copy_compare() {
  convert_and_copy "$work/clipboard.txt" || fail "copying failed: $(cat "$work/huecode.log")"
  "$cli" <"$1" >"$work/cli.txt"
  printf '\n' >>"$work/clipboard.txt"
  if ! cmp -s "$work/clipboard.txt" "$work/cli.txt"; then
    echo "clipboard:" >&2
    od -c "$work/clipboard.txt" | head -n 20 >&2
    echo "huecode-cli:" >&2
    od -c "$work/cli.txt" | head -n 20 >&2
    fail "the copied markup differs from huecode-cli's for $(od -c "$1" | head -n 3)"
  fi
}

# The focus starts on the effect preview; Tab moves it to the input box. A
# line break typed there is CR LF.
xdotool key --clearmodifiers Tab
xdotool type --delay 30 'Hello, huecode!'
xdotool key --clearmodifiers Return
xdotool type --delay 30 'line <2> & "more"'
printf 'Hello, huecode!\r\nline <2> & "more"' >"$work/typed.txt"
convert_copy_compare "$work/typed.txt"

# Pasted line ends stay as they came: LF, lone CR and CR LF.
printf 'ab\ncd\r\n彩色\rx' >"$work/pasted.txt"
paste_into_window "$main" "$work/pasted.txt"
convert_copy_compare "$work/pasted.txt"

mkdir -p "$(dirname "$screenshot")"
import -window root "$screenshot"

xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers alt+x
for _ in $(seq 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  fail "Alt+X did not end the program"
fi
wait "$pid" || fail "huecode exited with status $?"
pid=
echo "e2e: clipboard matches huecode-cli; screenshot in $screenshot"
