#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tessivar need.
# Safe to run again: only missing packages are installed.
set -euo pipefail

usage() {
  echo "usage: scripts/setup.sh [--test | --cross]" >&2
  echo "  --test   also what the tests need;  --cross   also the cross compilers, qemu-user and Wine" >&2
  exit 2
}
mode=${1:-}
case $mode in
  "" | --test | --cross) [ $# -le 1 ] || usage ;;
  *) usage ;;
esac

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libgl-dev
  libgtest-dev googletest
  fonts-dejavu-core fonts-liberation2 fonts-urw-base35 fontconfig
  python3
)
if [ "$mode" = --test ]; then
  packages+=(xvfb xauth openbox xdotool xclip x11-utils poppler-utils imagemagick
             binutils-mingw-w64-x86-64 clang-14 libclang-rt-14-dev locales
             desktop-file-utils tesseract-ocr)
fi
if [ "$mode" = --cross ]; then
  # Cross builds of the Qt-free part: arm64 under qemu-user, Windows under Wine.
  packages+=(g++-aarch64-linux-gnu qemu-user g++-mingw-w64-x86-64-posix wine wine64)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The text tests switch to a locale with a decimal comma to show that numbers ignore it.
if [ "$mode" = --test ] && ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  echo "Generating the locale de_DE.UTF-8"
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
