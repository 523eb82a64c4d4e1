#!/usr/bin/env bash
# Installs what is missing, builds the wizard and starts it under Wine.
# With a display it opens there; without one it runs on a private Xvfb, saves a screenshot of the first
# window and prints its path.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/tools/install-deps.sh"
"$root/tools/build.sh" windows
exe="$root/build/windows/wizard/osmira.exe"
export WINEPREFIX="$root/build/windows/wineprefix"

if [ -n "${DISPLAY:-}" ]; then
  OSM_USE_DISPLAY=1 "$root/tools/wine-session" "$root/tools/wine-exec" "$exe"
  exit $?
fi

shot="$root/build/osmira-first-window.png"
OSM_SHOT="$shot" "$root/tools/wine-session" bash -c '
  "$0" "$1" & pid=$!
  for _ in $(seq 1 100); do
    xwininfo -root -children 2>/dev/null | grep -q "\"VORN\"" && break
    sleep 0.2
  done
  sleep 1
  xwd -root -silent | /usr/bin/convert xwd:- "$OSM_SHOT"
  echo "The wizard runs on display $DISPLAY; screenshot of its first window: $OSM_SHOT"
  echo "Press Ctrl+C to stop it."
  wait $pid
' "$root/tools/wine-exec" "$exe"
