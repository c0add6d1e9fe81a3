#!/usr/bin/env bash
# Undo in the report area, on the real program under a window manager: after a calculation, a
# press on the help button and Ctrl+Z, then Clear and Edit > Undo, each give the report back byte
# for byte (CR LF line ends included), as copied with the keyboard.
# Usage: report_undo_test.sh PATH/TO/tessivar SCREENSHOT_DIR
set -euo pipefail

exe=$(realpath "$1")
shots=$2
. "$(dirname "$0")/desktop.sh"

start_program
read -r sx sy < <(window_origin "$splash")
xdotool mousemove $((sx + 200)) $((sy + 100)) click 1  # hands over at once
find_main_window

type_counts 12 200 30
click 55 570
wait_for 60 report_complete || fail "no complete report in the report area"
copy_report_exact >"$desktop_tmp/report"
lines=$(tr -cd '\n' <"$desktop_tmp/report" | wc -c)
crs=$(tr -cd '\r' <"$desktop_tmp/report" | wc -c)
[ "$lines" -eq 30 ] && [ "$crs" -eq 30 ] || fail "the copied report has $lines LF and $crs CR, not 30 CR LF"

# report_back: the report area holds the report byte for byte.
report_back() { copy_report_exact | cmp -s - "$desktop_tmp/report"; }

click 473 568  # the help button
wait_for 10 help_shown || fail "the help button did not show the help text"
click 250 400
xdotool key ctrl+z
wait_for 10 report_back || fail "Ctrl+Z after the help button did not give the report back"
echo "ok: Ctrl+Z after the help button gives the report back byte for byte"

click 275 570  # Clear
# An empty area is one colour.
area_empty() { [ "$(colours $((wx + 30)) $((wy + top + 300)) 300 200)" -eq 1 ]; }
wait_for 30 area_empty || fail "Clear did not empty the report area"
click 250 400  # Clear put the focus into the variables field
# Where the Edit menu opens: it is open once that place looks different and is not one plain colour,
# as a menu is before it is drawn.
edit_menu_look() { import -window root -crop "150x60+$((wx + 45))+$((wy + top + 2))" +repage rgb:- | md5sum; }
closed=$(edit_menu_look)
xdotool mousemove $((wx + 57)) $((wy + top / 2)) click 1  # Edit
edit_menu_drawn() {
  [ "$(edit_menu_look)" != "$closed" ] && [ "$(colours $((wx + 45)) $((wy + top + 2)) 150 60)" -gt 8 ]
}
wait_for 10 edit_menu_drawn || fail "the Edit menu did not open"
import -window root -crop "500x200+$wx+$wy" +repage "$shots/edit-menu-after-clear.png"
xdotool mousemove $((wx + 85)) $((wy + top + 10)) click 1  # Undo, the menu's first item
wait_for 10 report_back || fail "Edit > Undo after Clear did not give the report back"
echo "ok: Edit > Undo after Clear gives the report back byte for byte"

close_window "$main" >/dev/null
expect_exit_zero "closing the main window"
