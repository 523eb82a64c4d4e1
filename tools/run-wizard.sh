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
  window=
  for _ in $(seq 1 100); do
    window=$(xwininfo -root -tree 2>/dev/null | awk "/\"VORN\"/ {print \$1; exit}")
    [ -n "$window" ] && break
    sleep 0.2
  done
  sleep 1
  if [ -n "$window" ]; then
    xwd -id "$window" -silent | /usr/bin/convert xwd:- "$OSM_SHOT"
  else
    xwd -root -silent | /usr/bin/convert xwd:- "$OSM_SHOT"
  fi
  echo "The wizard runs on display $DISPLAY; screenshot of its first window: $OSM_SHOT"
  echo "Press Ctrl+C to stop it."
  wait $pid
' "$root/tools/wine-exec" "$exe"
