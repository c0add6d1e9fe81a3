#!/usr/bin/env bash
# The installed program finds its pictures: `cmake --install` into a temporary prefix, the
# installed program started under Xvfb, and its splash window shows the banner and the emblem.
# A copy of the program alone in a folder shows neither, and still starts.
# The desktop entry passes desktop-file-validate and names the program and an icon that is
# installed in every full-colour size of the icon file, pixel for pixel the same images; the
# running window carries that icon and the window class the entry names.
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
# is drawn (its credit line shows), and its window class and icon in $work/window-properties,
# then stops the program.
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
  xprop -id "$id" -notype -len 100000000 -f _NET_WM_ICON 32c WM_CLASS _NET_WM_ICON >"$work/window-properties"
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
data=share/tessivar
for f in bin/tessivar $data/Tessivar.png $data/NumBlocks.png $data/Tessivar.ico; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done

# The desktop entry: one file, named by the application's id.
entries=("$prefix"/share/applications/*.desktop)
[ ${#entries[@]} -eq 1 ] && [ -f "${entries[0]}" ] ||
  fail "not one desktop entry in share/applications: ${entries[*]}"
entry=${entries[0]}
id=$(basename "$entry" .desktop)
[[ $id =~ ^[A-Za-z][A-Za-z0-9_-]*(\.[A-Za-z_][A-Za-z0-9_-]*){2,}$ ]] || fail "$id is not a reverse-DNS application id"
validation=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $validation"
! grep -E '(error|warning):' <<<"$validation" || fail "desktop-file-validate warns: $validation"

# key KEY: the value of KEY in the entry's [Desktop Entry] group.
key() {
  awk -v key="$1" '/^\[/ { group = $0 } group == "[Desktop Entry]" && index($0, key "=") == 1 {
    print substr($0, length(key) + 2); exit }' "$entry"
}
[ "$(key Type)" = Application ] || fail "Type is '$(key Type)'"
[ "$(key Name)" = Tessivar ] || fail "Name is '$(key Name)'"
exec_line=$(key Exec)
[ "$exec_line" = tessivar ] || fail "Exec is '$exec_line'"
# Started by the desktop, through PATH: the installed program, whatever the prefix.
[ "$(PATH=$prefix/bin command -v "$exec_line")" = "$prefix/bin/tessivar" ] || fail "Exec does not find bin/tessivar"
for category in Education Science; do
  [[ ";$(key Categories);" == *";$category;"* ]] || fail "Categories '$(key Categories)' lack $category"
done
icon=$(key Icon)
[ "$icon" = "$id" ] || fail "Icon is '$icon', not the application id $id"

# The icon file's full-colour images, by size: each is installed as a theme icon, pixel for pixel.
# The 8-bit images of the same sizes are for old displays and have no theme counterpart.
# rgba FILE: the picture's pixels as RGBA bytes in hexadecimal.
rgba() { convert "$1" -depth 8 RGBA:- | od -An -v -tx1 | tr -d ' \n'; }
mapfile -t full_colour < <(python3 - "$prefix/$data/Tessivar.ico" <<'PY'
import struct, sys
ico = open(sys.argv[1], "rb").read()
count = struct.unpack_from("<H", ico, 4)[0]
for i in range(count):
    width, _, _, _, _, bits = struct.unpack_from("<BBBBHH", ico, 6 + 16 * i)
    if bits == 32:
        print(i, width or 256)
PY
)
[ ${#full_colour[@]} -gt 0 ] || fail "the icon file has no full-colour image"
icon_files=()
for entry_size in "${full_colour[@]}"; do
  read -r index size <<<"$entry_size"
  png=share/icons/hicolor/${size}x${size}/apps/$icon.png
  icon_files+=("$png")
  [ -f "$prefix/$png" ] || fail "not installed: $png"
  [ "$(identify -format '%wx%h' "$prefix/$png")" = "${size}x${size}" ] || fail "$png is not ${size}x${size}"
  [ "$(rgba "$prefix/$png")" = "$(rgba "ICO:$prefix/$data/Tessivar.ico[$index]")" ] ||
    fail "$png differs from the icon file's ${size}x${size} image"
done

# Nothing but the program, its data, the desktop entry and its icons.
expected=$((4 + 1 + ${#icon_files[@]}))
[ "$(find "$prefix" -type f | wc -l)" -eq "$expected" ] ||
  fail "installed more than expected: $(find "$prefix" -type f)"

pictures "$prefix/bin/tessivar" "$shots/installed-splash.png" "installed program"
[ "$b" -gt 8 ] || fail "the installed program shows no banner"
[ "$e" -gt 8 ] || fail "the installed program shows no emblem"

# The desktop ties the window to its entry by the window class, and shows the window's own icon:
# the same images as the installed theme icons.
wm_class=$(sed -n 's/^WM_CLASS = //p' "$work/window-properties")
[ "$(key StartupWMClass)" ] && [[ $wm_class == *", \"$(key StartupWMClass)\"" ]] ||
  fail "StartupWMClass '$(key StartupWMClass)' is not the window's class: $wm_class"
python3 - "$work/window-properties" "$prefix" "${icon_files[@]}" <<'PY' || fail "wrong window icon"
import subprocess, sys
properties, prefix, files = sys.argv[1], sys.argv[2], sys.argv[3:]
text = next(l for l in open(properties) if l.startswith("_NET_WM_ICON = "))
values = [int(v) for v in text.split("=", 1)[1].split(",")]
window = {}
while values:
    w, h = values[0], values[1]
    window[w, h] = values[2 : 2 + w * h]
    values = values[2 + w * h :]
for f in files:
    run = lambda *args: subprocess.run(args, capture_output=True, check=True).stdout
    w, h = map(int, run("identify", "-format", "%w %h", f"{prefix}/{f}").split())
    raw = run("convert", f"{prefix}/{f}", "-depth", "8", "RGBA:-")
    argb = [raw[i + 3] << 24 | raw[i] << 16 | raw[i + 1] << 8 | raw[i + 2] for i in range(0, len(raw), 4)]
    if window.get((w, h)) != argb:
        sys.exit(f"{f}: the window's {w}x{h} icon " + ("differs" if (w, h) in window else "is missing"))
PY

# The program copied alone: no pictures beside it, none in a data folder next to it.
mkdir "$work/alone"
cp "$prefix/bin/tessivar" "$work/alone/"
pictures "$work/alone/tessivar" "$shots/alone-splash.png" "program alone"
[ "$b" -eq 1 ] || fail "the program alone shows a banner it cannot have found"
[ "$e" -eq 1 ] || fail "the program alone shows an emblem it cannot have found"
echo "ok"
