#!/usr/bin/env bash
# isobench.sh [--scale F] [--runs N] [--work DIR] [--out DIR] [--trees "xp win7 many huge"] [--keep]
#
# Speed and memory of the image writer against genisoimage and xorriso on the same trees:
#   xp     ~600 MB, ~6,000 files, 8.3 and long names, 8 levels deep (a Windows XP disc)
#   win7   ~3 GB, one 2.5 GB install image among ~900 files (a Windows 7 disc)
#   many   10,000 small files: peak memory of the writer
#   huge   100,000 small files: time to build the tree (per 10,000 files)
# Each tool runs --runs times per tree (median wall time, peak resident memory). The writer runs as the
# native isobuild and as isobuild.exe under Wine. --scale shrinks the byte sizes and file counts of all
# trees (0.1 for a quick look). Images are written to --out (default: /dev/shm when it has room, so the
# disk's write-back and discards do not blur the comparison; the work folder otherwise). Not part of CI.
#
# Binaries: $ISOBUILD and $ISOBUILD_EXE, otherwise Release builds made under the work folder.
set -euo pipefail

scale=1
runs=3
work=${TMPDIR:-/tmp}/isobench
out_dir=
trees="xp win7 many huge"
keep=0
while [ $# -gt 0 ]; do
  case "$1" in
    --scale) scale=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --out) out_dir=$2; shift 2 ;;
    --trees) trees=$2; shift 2 ;;
    --keep) keep=1; shift ;;
    *) echo "usage: $0 [--scale F] [--runs N] [--work DIR] [--out DIR] [--trees LIST] [--keep]" >&2; exit 2 ;;
  esac
done

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
mkdir -p "$work"
work=$(cd "$work" && pwd)
export WINEPREFIX="$work/wineprefix"
if [ -z "$out_dir" ]; then
  out_dir=$work
  need_mb=$(echo "3500 * $scale + 200" | bc | cut -d. -f1)
  if [ -d /dev/shm ] && [ "$(df -Pm /dev/shm | awk 'NR==2 {print $4}')" -gt "$need_mb" ]; then
    out_dir=/dev/shm
  fi
fi
image="$out_dir/isobench-$$.iso"

for tool in genisoimage xorriso /usr/bin/time python3 cmake ninja; do
  command -v "$tool" >/dev/null || { echo "isobench: $tool is missing" >&2; exit 1; }
done

# --- binaries -------------------------------------------------------------------------------------------
if [ -z "${ISOBUILD:-}" ]; then
  echo "== building isobuild (native, Release)"
  cmake -S "$repo" -B "$work/build-native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
  ninja -C "$work/build-native" isobuild >/dev/null
  ISOBUILD="$work/build-native/platform/isowriter/isobuild"
fi
if [ -z "${ISOBUILD_EXE:-}" ] && command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  echo "== building isobuild.exe (mingw-w64, Release)"
  if cmake -S "$repo" -B "$work/build-win" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
       -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" >/dev/null &&
     ninja -C "$work/build-win" isobuild >/dev/null; then
    ISOBUILD_EXE="$work/build-win/platform/isowriter/isobuild.exe"
  else
    echo "isobench: the Windows build failed; Wine figures are left out" >&2
  fi
fi
wine_ok=0
if [ -n "${ISOBUILD_EXE:-}" ] && [ -x /usr/lib/wine/wine64 ]; then
  "$repo/tools/wine-prefix" && wine_ok=1
fi

# --- trees ----------------------------------------------------------------------------------------------
generate() { # generate NAME: makes $work/trees/NAME once per scale
  local name=$1 dir="$work/trees/$1"
  if [ -f "$dir.done" ] && [ "$(cat "$dir.done")" = "$scale" ]; then return; fi
  rm -rf "$dir"
  echo "== generating $name (scale $scale)"
  python3 - "$name" "$dir" "$scale" <<'PY'
import os, random, sys
name, root, scale = sys.argv[1], sys.argv[2], float(sys.argv[3])
rnd = random.Random(2010)
block = os.urandom(1 << 20)

def write(path, size):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        while size > 0:
            n = min(size, len(block))
            off = rnd.randrange(0, len(block) - n + 1)
            f.write(block[off:off + n])
            size -= n

def short_name():
    return ''.join(rnd.choice('ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_') for _ in range(rnd.randint(3, 8)))

def long_name():
    words = ['Setup', 'Windows', 'Driver', 'Update', 'Language', 'Pack', 'Microsoft', 'Component', 'Help', 'Media']
    return ' '.join(rnd.choice(words) for _ in range(rnd.randint(2, 5))) + ' ' + str(rnd.randint(1, 999))

def spread(count, total, depth, long_share, prefix):
    # Folders down to `depth` levels, files of mostly small sizes with a long tail, `total` bytes in all.
    folders = [prefix]
    for _ in range(max(1, count // 40)):
        parent = rnd.choice(folders)
        if parent.count(os.sep) - prefix.count(os.sep) < depth:
            folders.append(os.path.join(parent, short_name() if rnd.random() > long_share else long_name()))
    weights = [rnd.paretovariate(1.2) for _ in range(count)]
    scale_to = total / sum(weights)
    for i, w in enumerate(weights):
        stem = short_name() if rnd.random() > long_share else long_name()
        ext = rnd.choice(['DLL', 'SYS', 'EXE', 'INF', 'CAB', 'HLP', 'TXT', 'dl_', 'sy_', 'manifest'])
        write(os.path.join(rnd.choice(folders), '%s%d.%s' % (stem, i, ext)), int(w * scale_to))
    deep = prefix
    for level in range(depth):
        deep = os.path.join(deep, 'LEVEL%d' % level)
    write(os.path.join(deep, 'DEEP.TXT'), 100)

MB = 1 << 20
if name == 'xp':
    spread(int(6000 * scale), int(600 * MB * scale), 8, 0.3, os.path.join(root, 'I386'))
elif name == 'win7':
    write(os.path.join(root, 'sources', 'install.wim'), int(2500 * MB * scale))
    spread(int(900 * scale), int(500 * MB * scale), 6, 0.5, os.path.join(root, 'sources', 'dlmanifests'))
elif name == 'many':
    for i in range(10000):
        write(os.path.join(root, 'd%03d' % (i // 100), 'file%05d.dat' % i), 4096)
elif name == 'huge':
    for i in range(100000):
        write(os.path.join(root, 'd%04d' % (i // 100), 'file%06d.txt' % i), 64)
PY
  # The boot image lies in the tree too, as genisoimage and xorriso need it there.
  head -c 2048 /dev/zero > "$dir/boot.img"
  echo "$scale" > "$dir.done"
}

# --- runs -----------------------------------------------------------------------------------------------
declare -A seconds memory

measure() { # measure KEY COMMAND...: one timed run, figures appended to the key's lists
  local key=$1 log="$work/run.log" stats="$work/run.time"
  shift
  rm -f "$image"
  sync
  if ! /usr/bin/time -f "%e %M" -o "$stats" "$@" >"$log" 2>&1; then
    echo "isobench: $key failed:" >&2
    tail -5 "$log" >&2
    return 1
  fi
  read -r s kb < "$stats"
  seconds[$key]="${seconds[$key]:-} $s"
  memory[$key]="${memory[$key]:-} $kb"
  if [ "${key#*/}" = isobuild ] || [ "${key#*/}" = wine ]; then
    grep -o 'tree [0-9.]* s' "$log" | awk -v k="$key" '{print k " " $0}' >> "$work/tree-times"
  fi
}

median() { tr ' ' '\n' | grep . | sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
maximum() { tr ' ' '\n' | grep . | sort -g | tail -1; }

run_tree() { # run_tree NAME LABEL
  local name=$1 label=$2 src="$work/trees/$1" out="$image"
  for r in $(seq 1 "$runs"); do
    measure "$name/isobuild" "$ISOBUILD" "$src" "$out" "$src/boot.img" "$label"
    if [ "$wine_ok" = 1 ]; then
      measure "$name/wine" "$repo/tools/wine-exec" "$ISOBUILD_EXE" "Z:$src" "Z:$out" "Z:$src/boot.img" "$label"
    fi
    measure "$name/genisoimage" genisoimage -quiet -o "$out" -J -joliet-long -l -iso-level 3 -V "$label" \
      -publisher "Taleno Company" -A "Taleno Corvane" -b boot.img -no-emul-boot -boot-load-size 4 "$src"
    measure "$name/xorriso" xorriso -as mkisofs -quiet -o "$out" -J -joliet-long -l -iso-level 3 -V "$label" \
      -publisher "Taleno Company" -A "Taleno Corvane" -b boot.img -no-emul-boot -boot-load-size 4 "$src"
  done
}

report() { # report NAME
  local name=$1 base
  base=$(echo "${seconds[$name/genisoimage]}" | median)
  printf '\n%s (%s files, %s MB)\n' "$name" "$(find "$work/trees/$name" -type f | wc -l)" \
    "$(du -sm --apparent-size "$work/trees/$name" | cut -f1)"
  printf '  %-12s %10s %10s %12s %10s\n' tool "median s" "worst s" "peak MiB" "vs geniso"
  for tool in isobuild wine genisoimage xorriso; do
    local key="$name/$tool"
    [ -n "${seconds[$key]:-}" ] || continue
    local s worst mem
    s=$(echo "${seconds[$key]}" | median)
    worst=$(echo "${seconds[$key]}" | maximum)
    mem=$(echo "${memory[$key]}" | maximum)
    printf '  %-12s %10.2f %10.2f %12.1f %9.2fx\n' "$tool" "$s" "$worst" "$(echo "$mem / 1024" | bc -l)" \
      "$(echo "$s / $base" | bc -l)"
  done
}

cleanup() {
  if [ "$wine_ok" = 1 ]; then wineserver -k >/dev/null 2>&1 || true; fi
  rm -f "$image"
  if [ "$keep" = 0 ]; then rm -rf "$work/trees"; fi
}
trap cleanup EXIT

if [ "$wine_ok" = 1 ]; then
  # One server for all runs, so each run measures the program and not Wine's start.
  wineserver -p >/dev/null 2>&1 </dev/null || true
fi

rm -f "$work/tree-times"
for tree in $trees; do
  generate "$tree"
  echo "== timing $tree"
  label=$(echo "$tree" | tr a-z A-Z)
  run_tree "$tree" "$label"
done

echo
echo "Image build into $out_dir, median of $runs runs (scale $scale); peak = largest resident set of any run"
for tree in $trees; do report "$tree"; done

echo
echo "Tree building (Add of every top-level entry), median per 10,000 files:"
for key in huge/isobuild huge/wine many/isobuild many/wine; do
  grep -q "^$key " "$work/tree-times" 2>/dev/null || continue
  files=$(find "$work/trees/${key%%/*}" -type f | wc -l)
  t=$(grep "^$key " "$work/tree-times" 2>/dev/null | awk '{print $3}' | median || true)
  [ -n "$t" ] && printf '  %-14s %8.3f s for %d files = %.3f s per 10,000\n' "$key" "$t" "$files" \
    "$(echo "$t * 10000 / $files" | bc -l)"
done
echo
echo "Peak memory of the writer beyond its 10 MiB buffer (many: 10,000 files):"
for key in many/isobuild many/wine; do
  [ -n "${memory[$key]:-}" ] || continue
  printf '  %-14s %.1f MiB\n' "$key" "$(echo "$(echo "${memory[$key]}" | maximum) / 1024 - 10" | bc -l)"
done
