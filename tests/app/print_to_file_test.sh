#!/usr/bin/env bash
# Printing the report to a PDF file through Qt's print dialog, on an X desktop with a window
# manager, as a person would: into a folder with room the file is written whole; onto a disk too
# small for it, a message names the file, no file is left, and the report stays in the report area.
# The small disk is a 12 KB tmpfs, so the test needs the right to mount one; without it, it is
# skipped (exit code 77).
# Usage: print_to_file_test.sh PATH/TO/tessivar SCREENSHOT_DIR
set -euo pipefail

exe=$(realpath "$1")
shots=$2
. "$(dirname "$0")/desktop.sh"

# A plain name, which reads back without doubt from the message's picture.
disk=/tmp/tessivar-small-disk-$$
mkdir "$disk"
if ! mount -t tmpfs -o size=12k tmpfs "$disk" 2>/dev/null; then
  rmdir "$disk"
  echo "skipped: mounting a small disk is not permitted here"
  exit 77
fi
at_exit='umount "$disk"; rmdir "$disk"'

# windows_named NAME [BUT]: the visible windows of that title, but for the window BUT; a message
# box has its parent's title.
windows_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | grep -vx "${2:-}" || true; }
message_shown() { [ "$(windows_named Tessivar | wc -l)" -ge 2 ]; }
message_gone() { [ "$(windows_named Tessivar | wc -l)" -eq 1 ]; }
# read_window ID [SHOT]: the text of a message box, read from its picture: Qt's message box gives
# its text to no tool here.
read_window() {
  local shot=$shots/${2:-window-$1.png}
  import -window "$1" "$shot"
  convert "$shot" -resize 300% -colorspace Gray png:- | tesseract stdin - 2>/dev/null | tr -s ' \n' ' '
}
file_done() { [ -s "$1" ] && pdfinfo "$1" >/dev/null 2>&1; }

# output_file_takes PATH: types PATH into the dialog's output file field and tells whether the
# field then holds it; under load a typed character can go astray.
output_file_takes() {
  xdotool key alt+f ctrl+a
  [ "$(typed_into_focus "$1")" = "$1" ]
}

# print_to FILE SHOT: Print, then in the dialog the PDF printer's output file and its Print button.
print_to() {
  click 165 570
  wait_for 30 shown Print || fail "Print showed no print dialog"
  local dialog refusal tries=0
  dialog=$(visible_window Print)
  xdotool windowactivate --sync "$dialog" 2>/dev/null || true
  wait_for 30 active_is "$dialog" || fail "the print dialog did not take the focus"
  wait_for 60 output_file_takes "$1" || fail "the output file field did not take $1"
  import -window "$dialog" "$shots/$2"
  # The field's completer can take a Return while its list is open; the dialog only closes on
  # the next one.
  until xdotool key Return && wait_for 20 gone Print; do
    tries=$((tries + 1))
    refusal=$(windows_named Print "$dialog" | head -n 1)
    [ -z "$refusal" ] || fail "the print dialog refused the file: $(read_window "$refusal")"
    [ "$tries" -lt 3 ] || fail "the print dialog stayed"
    xdotool windowactivate --sync "$dialog" 2>/dev/null || true
  done
}

start_program
read -r x y < <(window_origin "$splash")
xdotool mousemove $((x + 200)) $((y + 100)) click 1
find_main_window
type_counts 200 2500 5
click 55 570
wait_for 120 report_complete || fail "no complete report in the report area"
report=$(copy_report)

# With room, the whole report is printed, and it is larger than the small disk.
whole=$desktop_tmp/whole.pdf
print_to "$whole" print-dialog.png
wait_for 60 file_done "$whole" || fail "printing to $whole gave no PDF file"
pages=$(pdfinfo "$whole" | awk '/^Pages:/ {print $2}')
size=$(stat -c %s "$whole")
[ "$pages" -ge 4 ] && [ "$size" -gt 12288 ] || fail "$whole: $pages pages, $size bytes"
message_gone || fail "printing with room showed a message"
echo "ok: the report prints to a PDF file of $pages pages, $size bytes"

# On the small disk: a message that names the file, and nothing left on the disk.
small=$disk/report.pdf
print_to "$small" print-dialog-small-disk.png
wait_for 60 message_shown || fail "printing to a full disk showed no message"
box=$(windows_named Tessivar "$main" | head -n 1)
xdotool windowactivate --sync "$box" 2>/dev/null || true
message=$(read_window "$box" print-full-disk-message.png)
printf '%s\n' "$message" | grep -qF "$small" || fail "the message does not name $small: $message"
xdotool key Return
wait_for 10 message_gone || fail "the message did not close"
left=$(ls -A "$disk")
[ -z "$left" ] || fail "printing to a full disk left: $left"
echo "ok: printing to a full disk says so, naming the file, and leaves no file"

[ "$(copy_report)" = "$report" ] || fail "the report area lost its report"
echo "ok: the report area still holds the report"

close_window "$main" >/dev/null
expect_exit_zero "closing the main window after a failed print"
