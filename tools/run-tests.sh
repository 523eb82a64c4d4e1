#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# the image writer natively under the sanitizers, then the Windows programs under Wine on a private display.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/tools/install-deps.sh"

"$root/tools/build.sh" native
"$root/tools/build.sh" windows
if [ "${OSM_SKIP_I686:-0}" != 1 ]; then
  "$root/tools/build.sh" i686   # compile-only: there is no 32-bit Wine here
fi

status=0
ctest --test-dir "$root/build/native" --output-on-failure -j "${OSM_JOBS:-$(nproc)}" || status=1

export WINEPREFIX="$root/build/windows/wineprefix"
"$root/tools/wine-session" ctest --test-dir "$root/build/windows" --output-on-failure -j "${OSM_JOBS:-$(nproc)}" || status=1

if [ $status -ne 0 ]; then
  echo "Some tests failed." >&2
else
  echo "All tests passed."
fi
exit $status
