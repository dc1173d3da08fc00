# shellcheck shell=bash
# Driving huecode's real window under a virtual X display with xdotool and
# xclip: the screenshot script, the window test and the Windows test share
# these steps.

# Waits up to $2 tenths of a second (default 100) for a visible window whose
# title matches the regular expression $1, and prints its id.
wait_for_window() {
  local id tries=${2:-100}
  for ((try = 0; try < tries; try++)); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    if [[ -n $id ]]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Waits up to $2 tenths of a second (default 50) for no visible window's title
# to match $1.
wait_for_no_window() {
  local tries=${2:-50}
  for ((try = 0; try < tries; try++)); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# Puts the text in the file $2 on the clipboard and pastes it into the window
# $1 with Alt+V.
paste_into_window() {
  xclip -selection clipboard <"$2"
  xdotool windowfocus --sync "$1"
  xdotool key --clearmodifiers alt+v
  sleep 0.3
}

# Converts in the focused window with Alt+T, copies with Alt+C, writes what
# the clipboard then holds to the file $1 and closes the confirmation with
# Enter. $2 is how long the conversion may take, in seconds (default 0.5).
convert_and_copy() {
  local box
  xdotool key --clearmodifiers alt+t
  sleep "${2:-0.5}"
  printf '' | xclip -selection clipboard
  xdotool key --clearmodifiers alt+c
  box=$(wait_for_window '^成功$') || { echo "no confirmation after copying" >&2; return 1; }
  # The clipboard is served by huecode itself, so it is read while it still runs.
  xclip -o -selection clipboard >"$1" || { echo "the clipboard holds no text" >&2; return 1; }
  xdotool windowfocus --sync "$box"
  xdotool key --clearmodifiers Return
  wait_for_no_window '^成功$' || { echo "Enter did not close the confirmation" >&2; return 1; }
}
