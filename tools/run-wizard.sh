#!/usr/bin/env bash
# Installs what is missing, builds the wizard and starts it under Wine.
# With a display it opens there; without one it runs on a private Xvfb, saves a screenshot of its first window
# (captioned "VORN") and prints its path, or fails when no such window appears within OSM_WINDOW_WAIT seconds (20).
# Either way it keeps running until Ctrl+C.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/tools/install-deps.sh"
# The program only (with its resources and embedded files), not the test programs.
"$root/tools/build.sh" windows osmira
exe="$root/build/windows/wizard/osmira.exe"
export WINEPREFIX="$root/build/windows/wineprefix"

if [ -n "${DISPLAY:-}" ]; then
  OSM_USE_DISPLAY=1 "$root/tools/wine-session" "$root/tools/wine-exec" "$exe"
  exit $?
fi

shot="$root/build/osmira-first-window.png"
rm -f "$shot"
OSM_SHOT="$shot" OSM_WINDOW_WAIT="${OSM_WINDOW_WAIT:-20}" "$root/tools/wine-session" bash -c '
  "$0" "$1" & pid=$!
  # Ends the wizard: its Wine process (the child of wine-exec) and the Wine server of the prefix, again while a
  # Wine still starting brings a new server up, for at most ten seconds.
  stop_wizard() {
    for _ in $(seq 1 20); do
      kill $(cat /proc/$pid/task/*/children 2>/dev/null) 2>/dev/null
      wineserver -k >/dev/null 2>&1
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.5
    done
    wait "$pid" 2>/dev/null
  }
  # The first window of the wizard is captioned "VORN".
  window=
  for _ in $(seq 1 $((OSM_WINDOW_WAIT * 5))); do
    window=$(xwininfo -root -tree 2>/dev/null | awk "/\"VORN\"/ {print \$1; exit}")
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  if [ -z "$window" ]; then
    if kill -0 "$pid" 2>/dev/null; then
      echo "run-wizard: no window captioned \"VORN\" appeared within $OSM_WINDOW_WAIT s; stopping the wizard." >&2
      stop_wizard
    else
      wait "$pid"
      echo "run-wizard: the wizard ended (exit $?) before a window captioned \"VORN\" appeared." >&2
    fi
    exit 1
  fi
  sleep 1
  if ! xwd -id "$window" -silent | /usr/bin/convert xwd:- "$OSM_SHOT" || [ ! -s "$OSM_SHOT" ]; then
    echo "run-wizard: could not take the screenshot of window $window; stopping the wizard." >&2
    stop_wizard
    exit 1
  fi
  echo "The wizard runs on display $DISPLAY; screenshot of its first window: $OSM_SHOT"
  echo "It keeps running until you press Ctrl+C."
  wait $pid
' "$root/tools/wine-exec" "$exe"
