#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the image writer and the markup reader natively
# under the sanitizers, the Windows XP checks of the 32-bit release build, then the Windows programs under Wine on a
# private display. Each phase's time is printed at the end, so a slow one shows.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=${OSM_JOBS:-$(nproc)}
timings=()
# phase NAME COMMAND...: runs the command and notes how long it took; its status is passed on.
phase() {
  local name=$1 start=$SECONDS rc=0
  shift
  "$@" || rc=$?
  timings+=("$(printf '%-22s %5d s' "$name" $((SECONDS - start)))")
  return $rc
}

phase "install" "$root/tools/install-deps.sh"
phase "build native" "$root/tools/build.sh" native
phase "build windows" "$root/tools/build.sh" windows
if [ "${OSM_SKIP_I686:-0}" != 1 ]; then
  # What users get and, for the same checks, the framework: the example and the example with every framework library
  # linked whole. The framework's libraries are tested in the 64-bit tree.
  phase "build i686" "$root/tools/build.sh" i686 osmira osm_res_payload osm_frame_example osm_framework_whole
fi

status=0
phase "test native" ctest --test-dir "$root/build/native" --no-tests=error --output-on-failure -j "$jobs" || status=1

# The 32-bit program for users cannot run here (no 32-bit Wine): its tree checks that Windows XP would start it.
if [ "${OSM_SKIP_I686:-0}" != 1 ]; then
  phase "test i686" ctest --test-dir "$root/build/i686" --no-tests=error --output-on-failure -j "$jobs" || status=1
fi

export WINEPREFIX="$root/build/windows/wineprefix"
phase "test windows" "$root/tools/wine-session" ctest --test-dir "$root/build/windows" --no-tests=error \
  --output-on-failure -j "$jobs" || status=1

echo "Time per phase:"
printf '  %s\n' "${timings[@]}"
if command -v ccache >/dev/null; then
  ccache --show-stats 2>/dev/null | grep -Ei 'hits|misses' | sed 's/^/  ccache, all builds on this machine: /' || true
fi
if [ $status -ne 0 ]; then
  echo "Some tests failed." >&2
else
  echo "All tests passed."
fi
exit $status
