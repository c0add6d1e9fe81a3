# Shared by the whole-program tests: an X desktop with a window manager (openbox on Xvfb), and
# the means to drive the real program on it as a person would. Sourced, not run:
#
#   exe=PATH/TO/tessivar shots=SCREENSHOT_DIR
#   . "$(dirname "$0")/desktop.sh"      # re-runs the script under Xvfb and starts openbox
#
# Every wait is for a condition, with a generous deadline: the tests must pass on a machine whose
# every core is busy, where a tool's start or a repaint can take a second or more.

desktop_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [ -z "${TESSIVAR_UNDER_XVFB:-}" ]; then
  export TESSIVAR_UNDER_XVFB=1
  # -noreset: the server must not reset between one run of the program and the next.
  exec xvfb-run -a -s "-screen 0 ${TESSIVAR_SCREEN:-1280x1024x24} -nolisten tcp -noreset" \
    bash "$0" "$@"
fi
export QT_QPA_PLATFORM=xcb
desktop_tmp=$(mktemp -d)
export XDG_RUNTIME_DIR=$desktop_tmp/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$shots"
pid=
wm=
# desktop_cleanup runs at exit; a test with more to clean up adds it to `at_exit`.
at_exit=
desktop_cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  eval "$at_exit"
  rm -rf "$desktop_tmp"
}
trap desktop_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  import -window root "$shots/failure-$(basename "$0" .sh).png" 2>/dev/null || true
  exit 1
}

# wait_for SECONDS COMMAND...: runs COMMAND until it succeeds; fails after SECONDS.
wait_for() {
  local deadline=$(($(date +%s%N) + $1 * 1000000000))
  shift
  until "$@"; do
    [ "$(date +%s%N)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
if ! wm_running; then
  openbox --sm-disable >/dev/null 2>&1 &
  wm=$!
  wait_for 30 wm_running || fail "the window manager did not start"
fi

visible_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
shown() { [ -n "$(visible_window "$1")" ]; }
gone() { [ -z "$(visible_window "$1")" ]; }
active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

# close_window ID: a WM_DELETE_WINDOW request, as the close box sends; prints the time in ms at
# which the request was sent.
close_window() { python3 "$desktop_dir/close_window.py" "$1"; }

# The absolute position of a window's upper-left corner (under a window manager the one that
# xdotool reports is off by the frame).
window_origin() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
                           END {print x, y}'
}
# The upper-left corner of the window manager's frame around a window, title bar included.
frame_origin() {
  local x y
  read -r x y < <(window_origin "$1")
  xprop -id "$1" _NET_FRAME_EXTENTS |
    awk -v x="$x" -v y="$y" -F '[=,]' '{print x - $2, y - $4}'
}

# start_program [NAME=VALUE...]: starts the program with those variables in its environment and
# waits for its splash window; t_start is the time just before the start.
start_program() {
  t_start=$(now_ms)
  env "$@" "$exe" &
  pid=$!
  wait_for 60 shown Splash || fail "the splash window did not appear"
  splash=$(visible_window Splash)
}

# colours X Y WIDTH HEIGHT: how many colours that region of the screen holds.
colours() {
  import -window root -crop "$3x$4+$1+$2" +repage -format '%k' info: 2>/dev/null || echo 0
}

# The main window, its absolute position and the offset of its client area (the menu bar sits
# above it), once the window manager has it on screen and its buttons are drawn.
find_main_window() {
  wait_for 60 shown Tessivar || fail "the main window did not appear"
  main=$(visible_window Tessivar)
  read -r wx wy < <(window_origin "$main")
  eval "$(xdotool getwindowgeometry --shell "$main")"
  top=$((HEIGHT > 600 ? HEIGHT - 600 : 0))
  xdotool windowactivate --sync "$main" 2>/dev/null || true
  wait_for 60 main_window_drawn || fail "the main window was not drawn"
}
# The menu bar and the banner below it show: the window is drawn (Qt draws it whole).
main_window_drawn() { [ "$(colours "$wx" "$wy" 500 150)" -gt 8 ]; }

# at X Y, click X Y: the pointer moved to, or a click at, client-area coordinates of the main
# window.
at() { xdotool mousemove "$((wx + $1))" "$((wy + top + $2))"; }
click() { at "$1" "$2"; xdotool click 1; }

none='<nothing copied>'
clipboard() { xclip -o -selection clipboard 2>/dev/null | tr -d '\r'; }
clipboard_changed() { [ "$(clipboard)" != "$none" ]; }
clipboard_holds() { [ "$(clipboard)" = "$1" ]; }
set_clipboard() {
  # xclip stays in the background as the owner: it must not hold the caller's output open.
  printf '%s' "$1" | xclip -i -selection clipboard >/dev/null 2>&1
  # xclip takes the selection from the background, so wait until it holds it.
  wait_for 10 clipboard_holds "$1" || fail "could not set the clipboard"
}

# copy: selects all of the focused control's text and prints what the clipboard then holds.
copy() {
  set_clipboard "$none"
  xdotool key ctrl+a ctrl+c
  wait_for 10 clipboard_changed || true
  clipboard
}

# The report area's whole text, copied with the keyboard.
copy_report() {
  click 250 400
  copy
}
# The report area's whole text byte for byte, CR LF line ends included.
copy_report_exact() {
  click 250 400
  set_clipboard "$none"
  xdotool key ctrl+a ctrl+c
  wait_for 10 clipboard_changed || true
  xclip -o -selection clipboard 2>/dev/null
}

report_complete() { [ "$(copy_report | grep -c 'Tessivar for Parallel Analysis')" -ge 2 ]; }
help_shown() { copy_report | head -n 1 | grep -q '^Tessivar for Parallel Analysis (1) generates'; }
# report_says LINE: the report area holds that line.
report_says() { copy_report | grep -qx "$1"; }

# typed_into_focus TEXT: types into the focused control, then prints its whole text.
typed_into_focus() {
  xdotool type --delay 40 "$1"
  copy
}

# The focus starts in the variables field; Tab moves on to subjects and replications.
# type_counts VARS SUBJECTS REPLICATIONS: types the three from the variables field on.
type_counts() {
  xdotool type --delay 40 "$1"
  xdotool key Tab
  xdotool type --delay 40 "$2"
  xdotool key Tab
  xdotool type --delay 40 "$3"
}

# set_field X Y TEXT: replaces the text of the field at X Y.
set_field() { click "$1" "$2"; xdotool key ctrl+a; xdotool type --delay 40 "$3"; }

# The busy wheel's square as it looks now, as a checksum; wheel_hidden must be set to its look
# while hidden (remember_hidden_wheel) before wheel_shown and wheel_is_hidden are asked.
wheel_look() {
  import -window root -crop "30x30+$((wx + 407))+$((wy + top + 162))" +repage rgb:- | md5sum
}
remember_hidden_wheel() { wheel_hidden=$(wheel_look); }
wheel_shown() { [ "$(wheel_look)" != "$wheel_hidden" ]; }
wheel_is_hidden() { [ "$(wheel_look)" = "$wheel_hidden" ]; }

program_ended() { ! kill -0 "$pid" 2>/dev/null; }

expect_exit_zero() {
  local what=$1 code=0
  wait_for 60 program_ended || fail "$what did not end the program"
  wait "$pid" || code=$?
  pid=
  [ "$code" -eq 0 ] || fail "$what ended the program with exit code $code"
  echo "ok: $what ends the program with exit code 0"
}
