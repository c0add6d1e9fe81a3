#!/usr/bin/env bash
# The installed program finds its pictures: `cmake --install` into a temporary prefix, the
# installed program started under Xvfb, and its splash window shows the banner and the emblem.
# A copy of the program alone in a folder shows neither, and still starts.
# Usage: install_test.sh BUILD_DIR SCREENSHOT_DIR
set -euo pipefail

build=$(realpath "$1")
shots=$2

if [ -z "${TESSIVAR_UNDER_XVFB:-}" ]; then
  export TESSIVAR_UNDER_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp -noreset" bash "$0" "$@"
fi
export QT_QPA_PLATFORM=xcb
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" "$shots"
chmod 700 "$XDG_RUNTIME_DIR"
pid=
wm=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

if command -v openbox >/dev/null; then
  openbox --sm-disable >/dev/null 2>&1 &
  wm=$!
fi

splash_window() { xdotool search --onlyvisible --name '^Splash$' 2>/dev/null | head -n 1; }

# colours PNG WIDTH HEIGHT X Y: how many colours the region of the splash's client area holds,
# its coordinates as designed (the menu bar sits above the 250-pixel-high client area).
colours() {
  local top=$(($(identify -format '%h' "$1") - 250))
  convert "$1" -crop "$2x$3+$4+$(($5 + top))" +repage -format '%k' info:
}

banner() { colours "$1" 374 99 20 30; }
emblem() { colours "$1" 65 56 174 141; }
credit_line() { colours "$1" 414 35 0 213; }

# shoot EXE PNG: starts the program and saves its splash window's client area once the window
# is drawn (its credit line shows), then stops the program.
shoot() {
  "$1" &
  pid=$!
  local tries=0 id=
  until id=$(splash_window) && [ -n "$id" ] && import -window "$id" "$2" 2>/dev/null &&
    [ "$(credit_line "$2")" -gt 1 ]; do
    tries=$((tries + 1))
    [ "$tries" -lt 200 ] || fail "$1: the splash window was not drawn"
    kill -0 "$pid" 2>/dev/null || fail "$1: the program ended before its splash window was drawn"
    sleep 0.1
  done
  sleep 0.3
  import -window "$id" "$2"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=
}

# pictures EXE PNG WHO: shoots the program's splash window and counts the colours of its banner
# and its emblem into b and e.
pictures() {
  shoot "$1" "$2"
  b=$(banner "$2")
  e=$(emblem "$2")
  echo "$3: banner $b colours, emblem $e colours"
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
for f in bin/tessivar share/tessivar/Tessivar.png share/tessivar/NumBlocks.png share/tessivar/Tessivar.ico; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done
# Nothing but the program and its data.
[ "$(find "$prefix" -type f | wc -l)" -eq 4 ] || fail "installed more than expected: $(find "$prefix" -type f)"

pictures "$prefix/bin/tessivar" "$shots/installed-splash.png" "installed program"
[ "$b" -gt 8 ] || fail "the installed program shows no banner"
[ "$e" -gt 8 ] || fail "the installed program shows no emblem"

# The program copied alone: no pictures beside it, none in a data folder next to it.
mkdir "$work/alone"
cp "$prefix/bin/tessivar" "$work/alone/"
pictures "$work/alone/tessivar" "$shots/alone-splash.png" "program alone"
[ "$b" -eq 1 ] || fail "the program alone shows a banner it cannot have found"
[ "$e" -eq 1 ] || fail "the program alone shows an emblem it cannot have found"
echo "ok"
