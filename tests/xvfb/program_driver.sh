# shellcheck shell=bash
# Drives the real program on a private Xvfb display as a person would: clicks at the
# controls' places, types into the dialogs, and waits for what the screen shows instead of
# sleeping. Sourced by the end-to-end test and the screenshot script; needs Xvfb, xdotool,
# x11-utils (xwininfo) and ImageMagick (import).
#
# Every wait has a time limit and ends the caller with a FAIL message when it runs out.
# Output is never piped into a reader that may stop early (grep -q): under pipefail the
# writer's broken pipe would fail the test at random.
# Coordinates are in the main window's client area unless a function says otherwise.

driver_title='Tessarin by：Korvald'
driver_pids=()
driver_work=$(mktemp -d)

# The controls' centres in the client area (the window's fixed layout); the drawing area
# starts one pixel in from the canvas's top-left corner.
readonly open_button=(830 569)
readonly make_button=(878 569)
readonly editing_box=(832 44)
readonly text_mode_button=(832 148)
readonly colour_picker=(865 116)
readonly text_box=(856 200)
readonly canvas_left=1
readonly canvas_top=1

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Ends what the driver started and waits until it has gone, so that no X server or
# program outlives the test that started it.
driver_cleanup() {
  local pid
  for pid in "${driver_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${driver_pids[@]}"; do wait_until_ended "$pid"; done
  rm -rf "$driver_work"
}

# Waits up to 5 seconds for process $1 to end, then kills it outright.
wait_until_ended() {
  local i
  for ((i = 0; i < 50; i++)); do
    kill -0 "$1" 2>/dev/null || { wait "$1" 2>/dev/null || true; return 0; }
    sleep 0.1
  done
  kill -KILL "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

# Starts Xvfb on a free display of the given size ("1280x1024"), points DISPLAY at it and
# waits until it answers. The server never resets: by default it resets whenever its last
# client leaves, and a program connecting just then (say, right after one of xdotool's
# searches) is turned away.
start_display() {
  local i
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp -noreset 3>"$driver_work/display" \
    2>"$driver_work/xvfb.log" &
  driver_pids+=($!)
  for ((i = 0; i < 100; i++)); do
    [[ -s $driver_work/display ]] && break
    sleep 0.1
  done
  [[ -s $driver_work/display ]] || fail "Xvfb did not start: $(cat "$driver_work/xvfb.log")"
  export DISPLAY=":$(head -n1 "$driver_work/display")"
  for ((i = 0; i < 50; i++)); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "Xvfb on $DISPLAY does not answer: $(cat "$driver_work/xvfb.log")"
}

# Starts openbox with a title bar of icon, title and close box, as the window asks for.
start_window_manager() {
  cat >"$driver_work/rc.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <theme><titleLayout>NLC</titleLayout></theme>
</openbox_config>
XML
  openbox --sm-disable --config-file "$driver_work/rc.xml" >/dev/null 2>&1 &
  driver_pids+=($!)
  # Openbox takes over the root window's events when it is ready.
  for ((i = 0; i < 50; i++)); do
    [[ $(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null) == *'window id'* ]] && return 0
    sleep 0.1
  done
  fail "openbox did not start"
}

# Starts the program and waits for its window; sets program_pid and window.
start_program() {
  QT_QPA_PLATFORM=xcb "$1" 2>"$driver_work/program.log" &
  program_pid=$!
  driver_pids+=("$program_pid")
  window=$(wait_for_window "$driver_title" 20) ||
    fail "the window did not show: $(cat "$driver_work/program.log")
Xvfb said: $(cat "$driver_work/xvfb.log")"
  wait_until_window_settles
}

# The window may move once a window manager has framed it (it centres itself again).
wait_until_window_settles() {
  local previous="" current
  for ((i = 0; i < 50; i++)); do
    current=$(window_origin)
    [[ $current == "$previous" ]] && return 0
    previous=$current
    sleep 0.1
  done
}

# "X Y": where the client area's top-left pixel is on the screen.
window_origin() {
  xwininfo -id "$window" |
    awk -F: '/Absolute upper-left X/ { x = $2 } /Absolute upper-left Y/ { y = $2 }
             END { gsub(/ /, "", x); gsub(/ /, "", y); print x, y }'
}

click_at() {
  local origin
  read -r -a origin <<<"$(window_origin)"
  xdotool mousemove --sync $((origin[0] + $1)) $((origin[1] + $2)) click 1
}

# Moves the pointer to the client point with the left button held or not, as it stands.
move_to() {
  local origin
  read -r -a origin <<<"$(window_origin)"
  xdotool mousemove --sync $((origin[0] + $1)) $((origin[1] + $2))
}

# The ids of the visible windows titled exactly $1. A search fails outright when a window
# disappears while it looks at it, so an error counts as nothing found: callers retry.
visible_windows_titled() {
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true
}

# Waits up to $2 seconds (10 by default) for a visible window titled exactly $1; prints its id.
wait_for_window() {
  local ids
  for ((i = 0; i < ${2:-10} * 20; i++)); do
    ids=$(visible_windows_titled "$1")
    [[ -n $ids ]] && { head -n1 <<<"$ids"; return 0; }
    sleep 0.05
  done
  fail "no window titled '$1' showed"
}

# Waits up to 10 seconds until window $1 holds the keyboard focus. A new dialog is visible a
# moment before it takes the focus; keys typed in between would reach the main window.
wait_for_focus() {
  for ((i = 0; i < 200; i++)); do
    [[ $(xdotool getwindowfocus 2>/dev/null) == "$1" ]] && return 0
    sleep 0.05
  done
  fail "window $1 never took the keyboard focus"
}

# Waits for the dialog titled $1 and for it to take the keyboard focus; prints its id.
wait_for_dialog() {
  local dialog
  dialog=$(wait_for_window "$@")
  wait_for_focus "$dialog"
  echo "$dialog"
}

# Waits until no window titled $1 is visible, twice in a row (a failed search reads empty).
wait_until_gone() {
  local empty=0
  for ((i = 0; i < ${2:-10} * 20; i++)); do
    if [[ -z $(visible_windows_titled "$1") ]]; then
      ((++empty >= 2)) && return 0
    else
      empty=0
    fi
    sleep 0.05
  done
  fail "the window titled '$1' did not close"
}

# Waits until the region (x, y, width, height) of the client area shows `colour` somewhere.
wait_for_colour_in() {
  for ((i = 0; i < ${6:-10} * 10; i++)); do
    # grep reads all of import's output: with pipefail, an early exit would fail the pipe.
    (($(import -window "$window" -crop "$3x$4+$1+$2" -depth 8 txt:- | grep -c "$5" || true) > 0)) &&
      return 0
    sleep 0.1
  done
  fail "no $5 in the region ($1, $2) $3 x $4"
}

# The window manager's frame around the main window (the window itself without one).
frame_of_window() {
  local frame info=""
  frame=$(xwininfo -id "$window" -children | awk '/Parent window id:/ { print $4 }')
  [[ $frame =~ ^0x ]] && info=$(xwininfo -id "$frame")
  if [[ $info == *IsViewable* && $info != *'(the root window)'* ]]; then
    echo "$frame"
  else
    echo "$window"
  fi
}

# Saves what the screen shows inside the main window's frame, windows over it included.
screenshot_window() {
  local geometry
  geometry=$(xwininfo -id "$(frame_of_window)" |
    awk -F: '/Absolute upper-left X/ { x = $2 } /Absolute upper-left Y/ { y = $2 }
             /Width/ { w = $2 } /Height/ { h = $2 }
             END { gsub(/ /, "", x); gsub(/ /, "", y); gsub(/ /, "", w); gsub(/ /, "", h)
                   print w "x" h "+" x "+" y }')
  mkdir -p "$(dirname "$1")"
  import -window root -crop "$geometry" +repage "$1"
}

# Waits for a visible window of the program other than the main window that has no title
# of its own (a drop-down); prints its id.
wait_for_untitled_window() {
  local id
  for ((i = 0; i < 100; i++)); do
    for id in $(xdotool search --onlyvisible --class tessarin 2>/dev/null); do
      [[ $id != "$window" && -z $(xprop -id "$id" WM_NAME | sed -n 's/^WM_NAME(STRING) = //p' | tr -d '"') ]] &&
        { echo "$id"; return 0; }
    done
    sleep 0.05
  done
  fail "no drop-down showed"
}

wait_until_unmapped() {
  for ((i = 0; i < 200; i++)); do
    [[ $(xwininfo -id "$1" 2>/dev/null) == *IsViewable* ]] || return 0
    sleep 0.05
  done
  fail "window $1 did not close"
}

# The colour the screen shows at a client point, as "#RRGGBB".
pixel_at() {
  import -window "$window" -crop "1x1+$1+$2" -depth 8 txt:- | sed -n 2p |
    grep -o '#[0-9A-F]\{6\}' || true
}

wait_for_pixel() {
  local shown=""
  for ((i = 0; i < ${4:-10} * 10; i++)); do
    shown=$(pixel_at "$1" "$2")
    [[ $shown == "$3" ]] && return 0
    sleep 0.1
  done
  fail "the screen shows $shown at ($1, $2), not $3"
}

# Opens a picture through the open button and the real open dialog, and waits until the
# canvas shows `expected` ("#RRGGBB") at the drawing-area point (x, y).
open_picture() {
  local path=$1 x=$2 y=$3 expected=$4
  click_at "${open_button[@]}"
  wait_for_dialog Open >/dev/null
  xdotool type --delay 2 "$path"
  xdotool key Return
  wait_until_gone Open
  wait_for_pixel $((canvas_left + x)) $((canvas_top + y)) "$expected"
}

tick_editing() { click_at "${editing_box[@]}"; }

# Chooses the preset colour at `index` (row by row, eight to a row) in the colour picker's
# drop-down: it opens on the current colour, and Tab steps through the presets in order.
choose_preset_colour() {
  local index=$1 keys=() i
  click_at "${colour_picker[@]}"
  local drop_down
  drop_down=$(wait_for_untitled_window)
  for ((i = 0; i < index; i++)); do keys+=(Tab); done
  xdotool key "${keys[@]}" space
  wait_until_unmapped "$drop_down"
}

# Draws a horizontal pen stroke on the drawing area's row y: presses at x0, moves to
# x0 + step, x0 + 2 step, ... up to x1, then releases. After each move it waits until the
# new point's leading edge shows in `colour` (which must not occur in the picture there),
# so every move is known to have drawn its point.
drag_pen() {
  local x0=$1 x1=$2 y=$3 step=$4 colour=$5 x
  move_to $((canvas_left + x0)) $((canvas_top + y))
  xdotool mousedown 1
  for ((x = x0 + step; x <= x1; x += step)); do
    move_to $((canvas_left + x)) $((canvas_top + y))
    wait_for_pixel $((canvas_left + x + 7)) $((canvas_top + y)) "$colour"
  done
  xdotool mouseup 1
}

# Draws a pen stroke through the drawing-area points "x y x y ...": presses at the first,
# moves through the others, releases, and waits until the last point shows in `colour`.
# Moves may be merged by the window system, so only the last point is sure to be drawn.
drag_pen_along() {
  local colour=$1 x y
  shift
  move_to $((canvas_left + $1)) $((canvas_top + $2))
  xdotool mousedown 1
  shift 2
  while (($# >= 2)); do
    x=$1 y=$2
    move_to $((canvas_left + x)) $((canvas_top + y))
    shift 2
  done
  xdotool mouseup 1
  wait_for_pixel $((canvas_left + x)) $((canvas_top + y)) "$colour"
}

choose_text_mode() { click_at "${text_mode_button[@]}"; }

# Types the text into the text box, pressing Enter for every line break in it. A character
# that is not on the keyboard (Chinese) is typed by remapping a spare key for it, and the
# program must have read the new keyboard map before the key comes: hence the slow typing.
type_into_text_box() {
  local line first=1
  click_at "${text_box[@]}"
  while IFS= read -r line; do
    ((first)) || xdotool key Return
    first=0
    xdotool type --delay 80 "$line"
  done <<<"$1"
}

stamp_text_at() { click_at $((canvas_left + $1)) $((canvas_top + $2)); }

# Clicks the make button, types `path` over the proposed name in the save dialog, and
# waits for the completion message; prints the message's window id.
make_workbook() {
  click_at "${make_button[@]}"
  wait_for_dialog 'Save As' >/dev/null
  xdotool key ctrl+a
  xdotool type --delay 2 "$1"
  xdotool key Return
  wait_for_dialog '转换完成' "${2:-60}"
}

dismiss_message() {
  wait_for_focus "$(wait_for_window "$1")"
  xdotool key Return
  wait_until_gone "$1"
}

# Closes the window with Esc and waits for the program to end; its exit code goes to
# program_exit_code.
close_with_escape() {
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool key --clearmodifiers Escape
  for ((i = 0; i < 100; i++)); do
    if ! kill -0 "$program_pid" 2>/dev/null; then
      set +e
      wait "$program_pid"
      program_exit_code=$?
      set -e
      return 0
    fi
    sleep 0.1
  done
  fail "Esc did not end the program"
}
