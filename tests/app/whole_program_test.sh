#!/usr/bin/env bash
# The whole program as a person uses it, on an X desktop with a window manager (openbox on Xvfb):
# the splash window hands over to the main window, a calculation fills the report, help and Clear
# work, and closing the window, the Quit button and File > Quit each end the program with exit
# code 0, during a long calculation too, within a second. Input made during a calculation is not
# acted on afterwards.
# Usage: whole_program_test.sh PATH/TO/tessivar SCREENSHOT_DIR
set -euo pipefail

exe=$(realpath "$1")
shots=$2
here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${TESSIVAR_UNDER_XVFB:-}" ]; then
  export TESSIVAR_UNDER_XVFB=1
  # -noreset: the server must not reset between one run of the program and the next.
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" bash "$0" "$@"
fi
export QT_QPA_PLATFORM=xcb
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
mkdir -p "$shots"
pid=
wm=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; [ -n "$wm" ] && kill "$wm" 2>/dev/null; rm -rf "$XDG_RUNTIME_DIR"' EXIT

fail() {
  echo "FAIL: $*" >&2
  import -window root "$shots/failure.png" 2>/dev/null || true
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
  wait_for 20 wm_running || fail "the window manager did not start"
fi

visible_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
shown() { [ -n "$(visible_window "$1")" ]; }
gone() { [ -z "$(visible_window "$1")" ]; }

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

# start_program [NAME=VALUE...]: starts the program with those variables in its environment.
start_program() {
  env "$@" "$exe" &
  pid=$!
  wait_for 20 shown Splash || fail "the splash window did not appear"
  splash=$(visible_window Splash)
}

# The main window, its absolute position and the offset of its client area (the menu bar sits
# above it).
find_main_window() {
  wait_for 20 shown Tessivar || fail "the main window did not appear"
  main=$(visible_window Tessivar)
  read -r wx wy < <(window_origin "$main")
  eval "$(xdotool getwindowgeometry --shell "$main")"
  top=$((HEIGHT > 600 ? HEIGHT - 600 : 0))
  xdotool windowactivate --sync "$main" 2>/dev/null || true
}

# at X Y, click X Y: the pointer moved to, or a click at, client-area coordinates of the main
# window.
at() { xdotool mousemove "$((wx + $1))" "$((wy + top + $2))"; }
click() { at "$1" "$2"; xdotool click 1; }

# The busy wheel's square as it looks now, as a checksum.
wheel_look() {
  import -window root -crop "30x30+$((wx + 407))+$((wy + top + 162))" +repage rgb:- | md5sum
}
wheel_shown() { [ "$(wheel_look)" != "$wheel_hidden" ]; }
wheel_hidden() { [ "$(wheel_look)" = "$wheel_hidden" ]; }

none='<nothing copied>'
clipboard() { xclip -o -selection clipboard 2>/dev/null | tr -d '\r'; }
clipboard_changed() { [ "$(clipboard)" != "$none" ]; }
clipboard_holds() { [ "$(clipboard)" = "$1" ]; }
set_clipboard() {
  # xclip stays in the background as the owner: it must not hold the caller's output open.
  printf '%s' "$1" | xclip -i -selection clipboard >/dev/null 2>&1
  # xclip takes the selection from the background, so wait until it holds it.
  wait_for 5 clipboard_holds "$1" || fail "could not set the clipboard"
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

report_complete() { [ "$(copy_report | grep -c 'Tessivar for Parallel Analysis')" -ge 2 ]; }
help_shown() { copy_report | head -n 1 | grep -q '^Tessivar for Parallel Analysis (1) generates'; }

# typed_into_focus TEXT: types into the focused control, then prints its whole text.
typed_into_focus() {
  xdotool type --delay 40 "$1"
  copy
}

expect_exit_zero() {
  local what=$1 code=0
  wait_for 15 bash -c "! kill -0 $pid 2>/dev/null" || fail "$what did not end the program"
  wait "$pid" || code=$?
  pid=
  [ "$code" -eq 0 ] || fail "$what ended the program with exit code $code"
  echo "ok: $what ends the program with exit code 0"
}

# --- Run 1: the timer's hand-over, a calculation, help, Clear, and closing the window.
start_program
t_splash=$(now_ms)
sleep 0.5
import -window "$splash" "$shots/splash.png"
wait_for 20 gone Splash || fail "the splash window stayed"
find_main_window
waited=$(($(now_ms) - t_splash))
echo "ok: the splash window handed over after ${waited} ms"
[ "$waited" -ge 3000 ] && [ "$waited" -le 9000 ] || fail "hand-over after ${waited} ms, not about 4 s"
sleep 0.5
wheel_hidden=$(wheel_look)
import -window "$main" -frame "$shots/main-under-window-manager.png"

# The focus starts in the variables field; Tab moves on to subjects and replications.
# type_counts VARS SUBJECTS REPLICATIONS: types the three from the variables field on.
type_counts() {
  xdotool type --delay 40 "$1"
  xdotool key Tab
  xdotool type --delay 40 "$2"
  xdotool key Tab
  xdotool type --delay 40 "$3"
}
type_counts 10 300 50
click 55 570
wait_for 60 report_complete || fail "no complete report in the report area"
report=$(copy_report)
click 24 264  # the caret at the start, nothing selected, for the picture
sleep 0.5
import -window "$main" "$shots/main-report.png"
lines=$(printf '%s\n' "$report" | wc -l)
[ "$lines" -eq 28 ] || fail "the report has $lines lines, not 28:
$report"
ranks=$(printf '%s\n' "$report" | grep -E '^ +[0-9]+ {15}[0-9]+\.[0-9]{4} {15}\.[0-9]{4}$' |
        awk '{print $1}' | tr '\n' ' ')
[ "$ranks" = "1 2 3 4 5 6 7 8 9 10 " ] || fail "ranks in the report: '$ranks'"
printf '%s\n' "$report" | grep -qx 'Number of variables:     10' || fail "variables line"
printf '%s\n' "$report" | grep -qx 'Number of subjects:     300' || fail "subjects line"
printf '%s\n' "$report" | grep -qx 'Number of replications:  50' || fail "replications line"
echo "ok: the report has 28 lines and ranks 1 to 10"

# Clicks made while a calculation runs are not acted on afterwards: Clear pressed during a
# longer run leaves its report standing.
set_field() { click "$1" "$2"; xdotool key ctrl+a; xdotool type --delay 40 "$3"; }
set_field 225 158 200
set_field 225 182 2500
set_field 225 206 50
click 55 570
sleep 0.2
click 275 570
wait_for 180 report_complete || fail "a click on Clear during a calculation was acted on after it"
report=$(copy_report)
printf '%s\n' "$report" | grep -qx 'Number of variables:    200' || fail "the longer calculation's report"
echo "ok: a click during a calculation is not acted on after it"

# A paste, a typed digit and an undo made during a calculation change nothing afterwards.
set_field 225 206 150
set_clipboard 7
xdotool key Return  # the default button, Calculate; the focus stays in the field
wait_for 5 wheel_shown || fail "Return in the replications field started no calculation"
xdotool key ctrl+v
xdotool type 7
xdotool key ctrl+z
wheel_shown || fail "the calculation ended before the keys were typed"
# Bounds for the runs here leave room for the sanitizer build, which runs them many times slower.
wait_for 180 wheel_hidden || fail "the busy wheel stayed after the calculation"
sleep 0.3
click 225 206
[ "$(copy)" = 150 ] || fail "keys typed during a calculation changed the replications field"
report=$(copy_report)
printf '%s\n' "$report" | grep -qx 'Number of replications: 150' || fail "no report of 150 replications"
echo "ok: a paste, a digit and an undo typed during a calculation change nothing"

# A press on Calculate shows the wheel; released off the button it starts nothing, and the wheel
# goes again.
at 55 570
xdotool mousedown 1
wait_for 5 wheel_shown || fail "a press on Calculate did not show the busy wheel"
at 250 400
xdotool mouseup 1
sleep 0.5
wheel_hidden || fail "the busy wheel stayed after a press released off Calculate"
echo "ok: a press released off Calculate hides the busy wheel again"

click 473 568
wait_for 10 help_shown || fail "the help button did not show the help text"
echo "ok: the help button shows the help text"

click 275 570
# Clear leaves the focus in the variables field. What is typed into each control afterwards is
# all that it holds.
[ "$(typed_into_focus 7)" = 7 ] || fail "the variables field was not cleared"
xdotool key Tab
[ "$(typed_into_focus 8)" = 8 ] || fail "the subjects field was not cleared"
xdotool key Tab
[ "$(typed_into_focus 9)" = 9 ] || fail "the replications field was not cleared"
click 250 400
[ "$(typed_into_focus z)" = z ] || fail "the report area was not cleared"
echo "ok: Clear empties the report area and the three fields"

python3 "$here/close_window.py" "$main"
expect_exit_zero "closing the main window"

# click_splash BUTTON: a press of that mouse button on the splash window hands over at once.
click_splash() {
  local x y t0
  read -r x y < <(window_origin "$splash")
  t0=$(now_ms)
  xdotool mousemove $((x + 200)) $((y + 100)) click "$1"
  find_main_window
  [ $(($(now_ms) - t0)) -lt 3000 ] || fail "a press of mouse button $1 did not hand over at once"
  gone Splash || fail "the splash window stayed after a press of mouse button $1"
}

# --- Run 2: a right press hands over at once; the Quit button.
start_program
click_splash 3
echo "ok: a right press on the splash window hands over at once"

# A failed check: once its message is closed, the focus is still in the field it named.
windows_named_tessivar() { xdotool search --onlyvisible --name '^Tessivar$' 2>/dev/null | wc -l; }
message_shown() { [ "$(windows_named_tessivar)" -ge 2 ]; }
message_gone() { [ "$(windows_named_tessivar)" -eq 1 ]; }
xdotool type --delay 40 10
xdotool key Tab
xdotool type --delay 40 300
xdotool key Tab
xdotool type --delay 40 0
click 55 570
wait_for 10 message_shown || fail "a failed check showed no message"
# Closed with a click on its OK button, at the box's lower right.
box=$(xdotool search --onlyvisible --name '^Tessivar$' | grep -vx "$main" | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$box")"
read -r bx by < <(window_origin "$box")
xdotool mousemove $((bx + WIDTH - 50)) $((by + HEIGHT - 22)) click 1
wait_for 10 message_gone || fail "the message did not close"
sleep 0.3
xdotool key End
[ "$(typed_into_focus 5)" = 05 ] || fail "after the message the focus left the replications field"
echo "ok: after a failed check's message the focus stays in the field it named"
click 385 570
expect_exit_zero "the Quit button"

# --- Run 3: a key hands over at once; File > Quit by its shortcut.
start_program
xdotool windowactivate --sync "$splash" 2>/dev/null || true
xdotool key space
find_main_window
gone Splash || fail "the splash window stayed after a key press"
echo "ok: a key press on the splash window hands over at once"
xdotool key ctrl+q
expect_exit_zero "File > Quit (Ctrl+Q)"

# --- Runs 4 on: each way to quit ends a long calculation, and the program, within a second.
# ms_until_exit T0 T1: waits for the program to end with exit code 0; ms becomes the time from T0,
# before the tool that asks to quit starts, and sent_ms the time from T1, when it has sent the request.
ms_until_exit() {
  local code=0
  while kill -0 "$pid" 2>/dev/null; do
    [ $(($(now_ms) - $1)) -lt 20000 ] || fail "the program did not end"
    sleep 0.01
  done
  ms=$(($(now_ms) - $1))
  sent_ms=$((ms - ($2 - $1)))
  wait "$pid" || code=$?
  pid=
  [ "$code" -eq 0 ] || fail "the program ended with exit code $code"
}

# quit_during_run WAY BUTTON: starts 200 / 2500 / 1000, then asks to quit that way.
quit_during_run() {
  local t0
  start_program
  click_splash "$2"
  sleep 0.3
  wheel_hidden=$(wheel_look)
  type_counts 200 2500 1000
  click 55 570
  wait_for 5 wheel_shown || fail "no calculation under way"
  sleep 1.5
  if [ "$1" = menu ]; then
    xdotool mousemove $((wx + 20)) $((wy + top / 2)) click 1  # File
    sleep 0.5
  fi
  t0=$(now_ms)
  case $1 in
    close) python3 "$here/close_window.py" "$main" ;;
    ctrl+q) xdotool key ctrl+q ;;
    button) click 385 570 ;;
    menu) xdotool mousemove $((wx + 40)) $((wy + top + 12)) click 1 ;;  # File's first item, Quit
  esac
  ms_until_exit "$t0" "$(now_ms)"
}

declare -A latencies
for way in close ctrl+q button menu; do
  for button in 1 2 3; do
    quit_during_run "$way" "$button"
    latencies[$way]+="$sent_ms ($ms) "
    [ "$ms" -lt 1000 ] || fail "$way during a calculation took $ms ms to end the program"
  done
done
echo "ok: each way to quit ends a long calculation with exit code 0; ms from the request sent to"
echo "    the exit (in brackets: from the start of the tool that sends it, the bound of 1 s):"
echo "      close box: ${latencies[close]}; Ctrl+Q: ${latencies[ctrl+q]};" \
     "Quit button: ${latencies[button]}; File > Quit: ${latencies[menu]}"

# --- Last run: at scale factor 2 the main window is taller than the 1280 x 1024 screen, yet its
# title bar and its top-left corner are on the screen, where the user can reach them.
start_program QT_SCALE_FACTOR=2
click_splash 1
read -r fx fy < <(frame_origin "$main")
read -r sw sh < <(xwininfo -root | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w, h}')
import -window root "$shots/main-scale-2.png"
[ "$fx" -ge 0 ] && [ "$fy" -ge 0 ] && [ "$fx" -lt "$sw" ] && [ $((wy + top)) -le "$sh" ] ||
  fail "at scale factor 2 the main window's frame starts at $fx,$fy, off the ${sw}x${sh} screen"
echo "ok: at scale factor 2 the main window's title bar is on the screen (frame at $fx,$fy)"
python3 "$here/close_window.py" "$main"
expect_exit_zero "closing the main window at scale factor 2"

echo "ok: the whole program"
