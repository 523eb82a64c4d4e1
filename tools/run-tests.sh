#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the image writer and the markup reader natively
# under the sanitizers, the Windows XP checks of the 32-bit release build, then the Windows programs under Wine on a
# private display.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/tools/install-deps.sh"

"$root/tools/build.sh" native
"$root/tools/build.sh" windows
if [ "${OSM_SKIP_I686:-0}" != 1 ]; then
  "$root/tools/build.sh" i686
fi

status=0
ctest --test-dir "$root/build/native" --no-tests=error --output-on-failure -j "${OSM_JOBS:-$(nproc)}" || status=1

# The 32-bit program for users cannot run here (no 32-bit Wine): its tree checks that Windows XP would start it.
if [ "${OSM_SKIP_I686:-0}" != 1 ]; then
  ctest --test-dir "$root/build/i686" --no-tests=error --output-on-failure -j "${OSM_JOBS:-$(nproc)}" || status=1
fi

export WINEPREFIX="$root/build/windows/wineprefix"
"$root/tools/wine-session" ctest --test-dir "$root/build/windows" --no-tests=error --output-on-failure -j "${OSM_JOBS:-$(nproc)}" || status=1

if [ $status -ne 0 ]; then
  echo "Some tests failed." >&2
else
  echo "All tests passed."
fi
exit $status
