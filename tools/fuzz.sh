#!/usr/bin/env bash
# fuzz.sh PARSER [options]: runs the bad-input harness of one parser from the built 64-bit tree under Wine and prints
# every failing input as a file (kept under build/fuzz-failures/PARSER, ready to be kept as a fixture) with the
# command that makes it again.
#
# PARSER is one of
#   markup        markup text (mutated host documents, and documents generated from the registered types),
#                 parsed, measured and drawn into 320 x 240 through GDI+ and through GDI
#   image-file    image files of every form LoadImageFile reads (PNG, BMP, icons, cursors, GIF, JPEG), mutated with
#                 edits that know each format and PNG checksums repaired, through LoadImageFile, the icon cuts and
#                 a markup Image
#   image-paste   the toolbar-image clipboard bytes, pasted into an image manager
#   archive       a stored image manager and the property exchange, loaded
#   command-bars  saved command bars, loaded into a fresh frame, laid out, painted, popups opened, saved again
#
# Options
#   --seed N|random   the series (default: the one CI runs); "random" picks a new one and prints it
#   --seconds S       run for S seconds (restarts included)
#   --inputs N        run N inputs of the series (default: CI's count)
#   --first N         start at input N of the series (--first N --inputs 1 makes input N again)
#   --replay FILE...  run these files instead of the series (all the arguments after it)
#   --abandon S       give up on an input after S seconds (default 5): the program reports it and ends, and fuzz.sh
#                     goes on from the next input in a new process; 0 waits up to the harness's 30 s hang limit
#   --max-failures N  stop after N findings (default 50)
#
# An input is a finding when it crashes (a stack overflow included), takes more than 2 s of processor time (its
# thread's: the clock of a busy machine runs on while the input waits its turn), commits more than 512 MB while it
# runs, leaves more than 4 MB committed after its objects are released (again when run again), leaves GDI or markup
# objects behind, or answers wrongly. When the program ends without its summary (a crash the harness
# reported, an input it abandoned, or a death nothing inside it saw) fuzz.sh names the input that was running (the
# harness writes each input to PARSER-running.bin before it runs it), keeps its bytes, and goes on from the next
# one. A program that finishes no input for 90 s is stopped. Exit status: 0 without findings, 1 with, 2 when the
# harness could not run.
#
#   tools/fuzz.sh markup --seed random --seconds 600
#   tools/fuzz.sh image-file --seed 7 --first 1234 --inputs 1
#   tools/fuzz.sh markup --replay /work/shared/fixtures/bad-input-2/markup_line_y1_2147483647.txt
#
# CI runs each parser's fixed seed and count as a ctest test (the *_fuzz_tests programs); the same seed gives the
# same inputs here.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tree=${OSM_TREE:-$root/build/windows}
arguments=("$@")

usage() {
  echo "usage: fuzz.sh markup|image-file|image-paste|archive|command-bars [--seed N|random] [--seconds S]" \
       "[--inputs N] [--first N] [--abandon S] [--max-failures N] [--replay FILE...]" >&2
  exit 2
}

parser=${1:-}
shift || true
case "$parser" in
  markup)       program=tests/framework/markup/markup_fuzz_tests.exe; test='MarkupFuzz.Mutated*' ;;
  image-file)   program=tests/framework/markup/image_file_fuzz_tests.exe; test='ImageFileFuzz.Mutated*' ;;
  image-paste)  program=tests/framework/foundation/foundation_paste_fuzz_tests.exe; test='ImagePasteFuzz.Mutated*' ;;
  archive)      program=tests/framework/foundation/foundation_archive_fuzz_tests.exe; test='ArchiveFuzz.Mutated*' ;;
  command-bars) program=tests/framework/commandbars/commandbars_fuzz_tests.exe; test='CommandBarsFuzz.Mutated*' ;;
  *) usage ;;
esac

seed= seconds= inputs= first=0 abandon=5 max_failures=50
replay=()
while [ $# -gt 0 ]; do
  case "$1" in
    --seed) seed=${2:?}; shift 2 ;;
    --seconds) seconds=${2:?}; shift 2 ;;
    --inputs) inputs=${2:?}; shift 2 ;;
    --first) first=${2:?}; shift 2 ;;
    --abandon) abandon=${2:?}; shift 2 ;;
    --max-failures) max_failures=${2:?}; shift 2 ;;
    --replay) shift; replay=("$@"); [ ${#replay[@]} -gt 0 ] || usage; break ;;
    *) echo "fuzz.sh: unknown option $1" >&2; usage ;;
  esac
done

[ -f "$tree/$program" ] || { echo "fuzz.sh: $tree/$program is not built (tools/build.sh windows)" >&2; exit 2; }
export WINEPREFIX=${WINEPREFIX:-$tree/wineprefix}

# Everything below runs inside one private display and Wine server, however often the program is started again.
if [ -z "${OSM_FUZZ_IN_SESSION:-}" ]; then
  export OSM_FUZZ_IN_SESSION=1
  exec "$root/tools/wine-session" "$0" "${arguments[@]}"
fi
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="

if [ "$seed" = random ]; then
  seed=$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')
  echo "fuzz.sh: seed $seed"
fi
out=$root/build/fuzz-failures/$parser
mkdir -p "$out"
rundir=$(dirname "$tree/$program")
exe=./$(basename "$program")
running_bytes=$out/$parser-running.bin
running_label=$out/$parser-running.txt
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: >"$work/failures"
: >"$work/found"
stall_limit=90

unset OSM_FUZZ_SEED OSM_FUZZ_INPUTS OSM_FUZZ_SECONDS OSM_FUZZ_FIRST OSM_FUZZ_REPLAY OSM_FUZZ_ABANDON
export OSM_FUZZ_OUT="Z:$out" OSM_FUZZ_MAX_FAILURES=$max_failures
[ -n "$seed" ] && export OSM_FUZZ_SEED=$seed
[ "$abandon" != 0 ] && export OSM_FUZZ_ABANDON=$abandon
# The files still to replay, handed to the program as Z: paths separated by ';'.
set_replay() {
  local list= file
  for file in "$@"; do
    list="$list${list:+;}Z:$(cd "$(dirname "$file")" && pwd)/$(basename "$file")"
  done
  export OSM_FUZZ_REPLAY=$list
}
for file in "${replay[@]}"; do
  [ -f "$file" ] || { echo "fuzz.sh: no file $file" >&2; exit 2; }
done
[ ${#replay[@]} -eq 0 ] || set_replay "${replay[@]}"

# One start of the program from input $1; sets status, and summary when the program finished its series.
run_program() {
  export OSM_FUZZ_FIRST=$1 OSM_FUZZ_ELAPSED=$(($(date +%s) - started))
  rm -f "$running_bytes" "$running_label"
  (cd "$rundir" && exec /usr/lib/wine/wine64 "$exe" --gtest_filter="$test" >"$work/log" 2>"$work/err") &
  local pid=$!
  while [ -d "/proc/$pid" ] && [ "$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null)" != Z ]; do
    sleep 1
    # The label goes and comes back between inputs: a stat that misses it reads as just written.
    changed=$(stat -c %Y "$running_label" 2>/dev/null) || changed=$(date +%s)
    if [ $(($(date +%s) - changed)) -gt $stall_limit ]; then
      echo "fuzz.sh: no input finished for $stall_limit s; stopping the program"
      kill -KILL "$pid" 2>/dev/null || true
    fi
  done
  status=0
  wait "$pid" || status=$?
  grep -E '^\[   FUZZ   \]|^\[  FAILED  \] [a-z-]+:' "$work/log" || true
  grep -E '^FUZZ-FAILURE ' "$work/log" | sed -e 's/^FUZZ-FAILURE Z:/FUZZ-FAILURE /' | tee -a "$work/failures" || true
  grep -E '^\[   FUZZ   \] [a-z-]+: [a-z0-9-]+ found [0-9]+ s into the run' "$work/log" >>"$work/found" || true
  summary=$(grep -E '^\[   FUZZ   \] [a-z-]+: [0-9]+ inputs \(' "$work/log" | tail -1 || true)
}

started=$(date +%s)
next=$first
done_inputs=0
restarts=0
used_seed=$seed
while :; do
  if [ -n "$seconds" ]; then
    left=$((seconds - ($(date +%s) - started)))
    [ "$left" -gt 0 ] || break
    export OSM_FUZZ_SECONDS=$left
  elif [ -n "$inputs" ]; then
    left=$((inputs - (next - first)))
    [ "$left" -gt 0 ] || break
    export OSM_FUZZ_INPUTS=$left
  fi
  run_program "$next"
  if [ -n "$summary" ]; then
    used_seed=$(sed -E 's/.* from seed ([0-9]+) .*/\1/' <<<"$summary")
    last=$(sed -E 's/.*\(-?[0-9]+ to (-?[0-9]+)\).*/\1/' <<<"$summary")
    done_inputs=$((done_inputs + last - next + 1))
    break
  fi
  # The program ended without its summary: name the input it was running, keep it, and go on after it.
  label=$(cat "$running_label" 2>/dev/null || true)
  if [[ "$label" =~ ^seed\ [0-9]+\ (replay-(.*)) ]]; then
    if ! grep -q ": ${BASH_REMATCH[1]}: " "$work/failures"; then
      kept=$out/$parser-${BASH_REMATCH[1]}.bin
      cp "$running_bytes" "$kept"
      echo "FUZZ-FAILURE $kept: ${BASH_REMATCH[1]}: the program ended (exit status $status) while it ran," \
           "without a report" | tee -a "$work/failures"
    fi
    # On with the files after it.
    name=${BASH_REMATCH[2]}
    while [ ${#replay[@]} -gt 0 ]; do
      file=${replay[0]}
      replay=("${replay[@]:1}")
      base=$(basename "$file")
      [ "${base%.*}" = "$name" ] && break
    done
    [ ${#replay[@]} -gt 0 ] || break
    set_replay "${replay[@]}"
    restarts=$((restarts + 1))
    continue
  fi
  if [[ "$label" =~ ^seed\ ([0-9]+)\ next([0-9]+) ]]; then
    # Ended between inputs to give back what leaking inputs (already reported) left it holding.
    used_seed=${BASH_REMATCH[1]}
    done_inputs=$((done_inputs + BASH_REMATCH[2] - next))
    next=${BASH_REMATCH[2]}
    restarts=$((restarts + 1))
    continue
  fi
  if [[ ! "$label" =~ ^seed\ ([0-9]+)\ input([0-9]+) ]]; then
    echo "fuzz.sh: the program ended (exit status $status) before its series began ('$label'):"
    tail -20 "$work/log"
    tail -5 "$work/err" >&2
    exit 2
  fi
  used_seed=${BASH_REMATCH[1]}
  index=${BASH_REMATCH[2]}
  if ! grep -q ": input$index: " "$work/failures"; then
    kept=$out/$parser-seed$used_seed-input$index.bin
    cp "$running_bytes" "$kept"
    line="FUZZ-FAILURE $kept: input$index: the program ended (exit status $status) while it ran, without a report"
    echo "$line" | tee -a "$work/failures"
    echo "[   FUZZ   ] $parser: input$index found $(($(date +%s) - started)) s into the run" >>"$work/found"
  fi
  done_inputs=$((done_inputs + index - next + 1))
  next=$((index + 1))
  restarts=$((restarts + 1))
  if [ "$(wc -l <"$work/failures")" -ge "$max_failures" ]; then
    echo "fuzz.sh: $max_failures findings; stopping"
    break
  fi
done

count=$(wc -l <"$work/failures")
echo "[   FUZZ   ] $parser: $done_inputs inputs from seed ${used_seed:-?} (first $first) in $(($(date +%s) - started)) s," \
     "$restarts restarts, $count failures"
if [ "$count" -gt 0 ]; then
  echo "Failing inputs, each with the command that runs it again:"
  while IFS= read -r line; do
    entry=${line#FUZZ-FAILURE }
    echo "  $entry"
    file=${entry%%: *}
    rest=${entry#*: }
    label=${rest%%: *}
    found=$(grep -E "\] $parser: $label found " "$work/found" | head -1 | sed -E 's/.* found ([0-9]+) s .*/\1/')
    if [[ "$label" =~ ^input([0-9]+)$ ]]; then
      echo "    found after ${found:-?} s and $((BASH_REMATCH[1] - first + 1)) inputs of the series"
      echo "    tools/fuzz.sh $parser --seed $used_seed --first ${BASH_REMATCH[1]} --inputs 1"
    fi
    [ -f "$file" ] && echo "    tools/fuzz.sh $parser --replay $file"
  done <"$work/failures"
  exit 1
fi
exit 0
