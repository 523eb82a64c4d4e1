#!/usr/bin/env bash
# fuzz.sh PARSER [--seed N] [--seconds S] [--inputs N]: runs the bad-input harness of one parser (markup, image-file,
# image-paste, archive, command-bars) from the built 64-bit tree under Wine, for as long or as many inputs as asked,
# and prints the file of every failing input (kept under build/fuzz-failures/PARSER), ready to be kept as a fixture.
# The same seed gives the same inputs: CI runs each parser's fixed seed and count.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tree=${OSM_TREE:-$root/build/windows}

parser=${1:-}
shift || true
case "$parser" in
  markup)       program=tests/framework/markup/markup_fuzz_tests.exe; test='MarkupFuzz.Mutated*' ;;
  image-file)   program=tests/framework/markup/image_file_fuzz_tests.exe; test='ImageFileFuzz.Mutated*' ;;
  image-paste)  program=tests/framework/foundation/foundation_paste_fuzz_tests.exe; test='ImagePasteFuzz.Mutated*' ;;
  archive)      program=tests/framework/foundation/foundation_archive_fuzz_tests.exe; test='ArchiveFuzz.Mutated*' ;;
  command-bars) program=tests/framework/commandbars/commandbars_fuzz_tests.exe; test='CommandBarsFuzz.Mutated*' ;;
  *) echo "usage: fuzz.sh markup|image-file|image-paste|archive|command-bars [--seed N] [--seconds S] [--inputs N]" >&2
     exit 2 ;;
esac

unset OSM_FUZZ_SEED OSM_FUZZ_SECONDS OSM_FUZZ_INPUTS
while [ $# -gt 0 ]; do
  case "$1" in
    --seed) export OSM_FUZZ_SEED=$2; shift 2 ;;
    --seconds) export OSM_FUZZ_SECONDS=$2; shift 2 ;;
    --inputs) export OSM_FUZZ_INPUTS=$2; shift 2 ;;
    *) echo "fuzz.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

[ -f "$tree/$program" ] || { echo "fuzz.sh: $tree/$program is not built (tools/build.sh windows)" >&2; exit 2; }
out=$root/build/fuzz-failures/$parser
mkdir -p "$out"
# The program writes relative to its folder, where ctest runs it; the failures go to one place per parser.
export OSM_FUZZ_OUT="Z:$out"
export WINEPREFIX=${WINEPREFIX:-$tree/wineprefix}
log=$(mktemp)
status=0
(cd "$(dirname "$tree/$program")" &&
  "$root/tools/wine-session" "$root/tools/wine-exec" "./$(basename "$program")" --gtest_filter="$test") >"$log" 2>/dev/null ||
  status=$?
grep -E '^\[   FUZZ   \]|^\[  FAILED  \]|^\[  PASSED  \]' "$log" || true
failures=$(grep -E '^FUZZ-FAILURE ' "$log" | sed -e 's/^FUZZ-FAILURE Z://' || true)
if [ -n "$failures" ]; then
  echo "Failing inputs:"
  echo "$failures"
fi
rm -f "$log"
exit $status
