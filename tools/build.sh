#!/usr/bin/env bash
# build.sh [windows|native|i686]: configures and builds one tree under build/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kind=${1:-windows}
jobs=${OSM_JOBS:-$(nproc)}
case "$kind" in
  windows) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake") ;;
  i686)    args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" -DBUILD_TESTING=OFF) ;;
  native)  args=(-DOSM_SANITIZE=ON) ;;
  *) echo "usage: build.sh [windows|native|i686]" >&2; exit 2 ;;
esac
cmake -S "$root" -B "$root/build/$kind" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${args[@]}" >/dev/null
cmake --build "$root/build/$kind" -j "$jobs"
