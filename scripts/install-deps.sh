#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, and those that make and
# check the .deb (python3 writes the man page; dpkg-dev and file find the package's dependencies;
# man-db, desktop-file-utils and xdotool check what it installs).
# Does nothing when they are all present; uses sudo when not run as root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qt6-base-dev qt6-svg-dev libgl-dev
  libusb-1.0-0-dev umockdev libumockdev-dev
  libgsf-1-dev libzip-dev
  fonts-arphic-uming fonts-dejavu-core python3-fonttools xvfb xauth
  python3 man-db desktop-file-utils
  dpkg-dev file xdotool
)
if [ "${QVPRT_FUZZ:-0}" = 1 ]; then
  packages+=(clang-14 libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}" >&2
"${sudo_cmd[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
