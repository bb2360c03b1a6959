#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, only those missing.
# Usage: scripts/install-deps.sh [native|windows|all]   (default: all)
set -euo pipefail
what="${1:-all}"

native=(cmake ninja-build g++ pkg-config libgl-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri libpng-dev
        libxrandr-dev libxinerama-dev xserver-xephyr xscreensaver
        doctest-dev libsdl2-dev libx11-dev libxtst-dev xvfb x11-utils x11-xserver-utils xdotool imagemagick libxml2-utils
        clang libclang-rt-14-dev dpkg-dev lintian man-db time sysvinit-utils)
windows=(g++-mingw-w64-x86-64-posix wine64 fonts-wine xvfb xserver-xephyr x11-utils xdotool imagemagick procps
         libgl1 libgl1-mesa-dri libxcomposite1 libxrender1 libxrandr2 libxi6 libxcursor1 libxfixes3
         libxinerama1 libxxf86vm1)

case "$what" in
  native) wanted=("${native[@]}") ;;
  windows) wanted=("${windows[@]}" cmake ninja-build doctest-dev) ;;
  all) wanted=("${native[@]}" "${windows[@]}") ;;
  *) echo "install-deps.sh: unknown set '$what'" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
