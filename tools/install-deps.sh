#!/usr/bin/env bash
# Installs what building and testing Osmira needs on Debian 12 (run as root); skips what is already there.
set -euo pipefail
packages=(
  cmake ninja-build python3 googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix libz-mingw-w64-dev
  wine wine64 fonts-wine xvfb x11-apps x11-utils imagemagick
  xorriso genisoimage p7zip-full python3-pycdlib libcdio-utils qemu-system-x86
  dpkg-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
