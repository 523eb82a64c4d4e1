#!/usr/bin/env bash
# build.sh [windows|native|i686] [TARGET...]: configures one tree under build/ and builds it, or only the targets
# named (with what they need).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kind=${1:-windows}
shift || true
jobs=${OSM_JOBS:-$(nproc)}
# The compiler cache keys on paths relative to the checkout and ignores the working folder, so a clone in another
# folder (each CI run) reuses what earlier builds on this machine compiled. A caller's own settings win.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
# windows: the 64-bit build whose tests run under Wine; i686: the optimised, stripped 32-bit program for Windows XP
# and later that users get (its tests check what it imports); native: the image writer and the markup reader under
# the sanitizers.
# The Windows trees compile their sources sixteen to a unit (cmake/OsmUnityBuild.cmake): most of a unit's time goes
# to the Windows, classlib and test headers, read once per unit instead of once per file. In the 32-bit tree the
# libraries of the program for users are built file by file: the linker takes a library's objects whole, and a unit
# would bring its unused neighbours (and what they import) along; only the framework above them, built there for its
# Windows XP check, comes in units.
unity=(-DCMAKE_UNITY_BUILD=OFF -DOSM_UNITY_BUILD=ON -DOSM_UNITY_BATCH_SIZE=16)
case "$kind" in
  windows) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${unity[@]}") ;;
  i686)    args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON "${unity[@]}") ;;
  native)  args=(-DOSM_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  *) echo "usage: build.sh [windows|native|i686] [TARGET...]" >&2; exit 2 ;;
esac
# CMake keeps the compilers of a tree's first configure: when the toolchain files change (another thread model,
# say), the tree is configured afresh instead of building on with the old compilers.
tree="$root/build/$kind"
stamp=$(cat "$root"/cmake/mingw-w64-*.cmake | sha1sum | cut -d' ' -f1)
if [ -f "$tree/CMakeCache.txt" ] && [ "$(cat "$tree/.toolchain-stamp" 2>/dev/null)" != "$stamp" ]; then
  rm -rf "$tree/CMakeCache.txt" "$tree/CMakeFiles"
fi
cmake -S "$root" -B "$tree" -G Ninja "${args[@]}" >/dev/null
echo "$stamp" > "$tree/.toolchain-stamp"
if [ $# -gt 0 ]; then
  cmake --build "$tree" -j "$jobs" --target "$@"
else
  cmake --build "$tree" -j "$jobs"
fi
