#!/usr/bin/env bash
# isobench.sh [--scale F] [--runs N] [--work DIR] [--out DIR] [--trees "xp win7 many huge"] [--keep]
# isobench.sh --smoke [--work DIR]
#
# Speed and memory of the image writer on the same trees as its peers, with like-for-like images:
# ISO9660 + Joliet (long names) + an El Torito no-emulation boot entry, no Rock Ridge, deep folders kept
# where they are, the boot catalog hidden.
#   xp     ~600 MB, ~6,000 files, 8.3 and long names, 8 levels deep (a Windows XP disc)
#   win7   ~3 GB, one 2.5 GB install image among ~900 files (a Windows 7 disc)
#   many   10,000 small files: peak memory of the writer
#   huge   100,000 small files: time to build the tree (per 10,000 files)
# Every writer is measured against the floor, readfloor (tools/bench/readfloor.cpp): a plain program that walks
# the tree, reads every file once and writes as many bytes, sector-rounded, through the same buffer and write
# slices as isobuild; no writer can do less. floor-sizes (readfloor --sizes-first) walks the whole tree before
# reading the first file, as a writer that keeps no file data in memory must; it is shown beside the floor.
# Native: isobuild, genisoimage and xorriso against both native floors (and against genisoimage). Under Wine, where
# no native peer runs: isobuild.exe against both floors built for Windows (floor.exe, floor-sizes.exe).
# The tools run in turn (A B C ... A B C ...) for --runs rounds (default 5), so passing load shows up in the
# spread of every tool alike; the report gives the median, min-max and the ratios, and the load average
# (/proc/loadavg) before and after each tree's rounds: on a shared machine compare the ratios, not the times. Every image must hold all
# the tree's files in both trees, and every floor run must have read and written all of them, or the run stops.
# --scale shrinks byte sizes and file counts (0.1 for a quick look). Trees and images live under --work
# (default: build/isobench in the source tree, i.e. on the disk the user builds on); --out moves the images.
#
# --smoke: one round of isobuild and the floor on a generated 200-file tree, without peers, checking the same
# counts and that the table came out; CI runs it as a test of the native tree (isobench_smoke).
#
# Binaries: $ISOBUILD, $READFLOOR, $ISOBUILD_EXE and $READFLOOR_EXE, otherwise Release builds made under the
# work folder (--smoke makes none: it takes the binaries it is given). Reproduce the huge-tree figures:
#   tools/bench/isobench.sh --trees huge --runs 5
set -euo pipefail

scale=1
runs=5
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$repo/build/isobench
out_dir=
trees="xp win7 many huge"
keep=0
smoke=0
while [ $# -gt 0 ]; do
  case "$1" in
    --smoke) smoke=1; shift ;;
    --scale) scale=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --out) out_dir=$2; shift 2 ;;
    --trees) trees=$2; shift 2 ;;
    --keep) keep=1; shift ;;
    *) echo "usage: $0 [--scale F] [--runs N] [--work DIR] [--out DIR] [--trees LIST] [--keep] | --smoke [--work DIR]" >&2
       exit 2 ;;
  esac
done
case "$runs" in ''|*[!0-9]*) echo "isobench: --runs takes a number" >&2; exit 2 ;; esac
if [ "$smoke" = 1 ]; then
  trees=smoke runs=1 scale=1
elif [ "$runs" -lt 5 ] || [ "$runs" -gt 9 ]; then
  echo "isobench: $runs rounds; figures are comparable from 5 to 9 rounds" >&2
fi

mkdir -p "$work"
work=$(cd "$work" && pwd)
out_dir=${out_dir:-$work}
mkdir -p "$out_dir"
out_dir=$(cd "$out_dir" && pwd)
if [ "$(stat -f -c %T "$out_dir")" = tmpfs ]; then
  echo "isobench: $out_dir is in memory: large writes cost less there than on the disk users write to" >&2
fi
export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
image="$out_dir/isobench-$$.iso"

needed="isoinfo /usr/bin/time python3"
[ "$smoke" = 1 ] || needed="$needed genisoimage xorriso cmake ninja"
for tool in $needed; do
  command -v "$tool" >/dev/null || { echo "isobench: $tool is missing" >&2; exit 1; }
done

# --- binaries -------------------------------------------------------------------------------------------
if [ "$smoke" = 1 ]; then
  if [ -z "${ISOBUILD:-}" ] || [ -z "${READFLOOR:-}" ]; then
    echo "isobench: --smoke needs \$ISOBUILD and \$READFLOOR" >&2
    exit 2
  fi
elif [ -z "${ISOBUILD:-}" ] || [ -z "${READFLOOR:-}" ]; then
  echo "== building isobuild and readfloor (native, Release)"
  cmake -S "$repo" -B "$work/build-native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
  ninja -C "$work/build-native" -j 2 isobuild readfloor >/dev/null
  ISOBUILD=${ISOBUILD:-$work/build-native/tools/isobuild}
  READFLOOR=${READFLOOR:-$work/build-native/tools/readfloor}
fi
if [ "$smoke" = 0 ] && { [ -z "${ISOBUILD_EXE:-}" ] || [ -z "${READFLOOR_EXE:-}" ]; } &&
   command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  echo "== building isobuild.exe and readfloor.exe (mingw-w64, Release)"
  if cmake -S "$repo" -B "$work/build-win" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
       -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" >/dev/null &&
     ninja -C "$work/build-win" -j 2 isobuild readfloor >/dev/null; then
    ISOBUILD_EXE=${ISOBUILD_EXE:-$work/build-win/tools/isobuild.exe}
    READFLOOR_EXE=${READFLOOR_EXE:-$work/build-win/tools/readfloor.exe}
  else
    echo "isobench: the Windows build failed; Wine figures are left out" >&2
  fi
fi
wine_ok=0
if [ -n "${ISOBUILD_EXE:-}" ] && [ -n "${READFLOOR_EXE:-}" ] && [ -x /usr/lib/wine/wine64 ]; then
  "$repo/tools/wine-prefix" && wine_ok=1
fi
native_tools="isobuild genisoimage xorriso floor floor-sizes"
[ "$smoke" = 1 ] && native_tools="isobuild floor floor-sizes"
wine_tools=
[ "$wine_ok" = 1 ] && wine_tools="isobuild.exe floor.exe floor-sizes.exe"

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
elif name == 'smoke':
    # Empty files, files of whole sectors and files just past one, long names, three levels.
    for i in range(200):
        folder = os.path.join(root, 'd%d' % (i // 50), 'Sub Folder %d' % (i % 3))
        write(os.path.join(folder, 'file %03d with a long name.txt' % i), [0, 2048, 2049, 100][i % 4] * (1 + i % 5))
    with open(os.path.join(root, '.hidden'), 'wb') as f:  # left out by every tool
        f.write(b'not in the image')
PY
  # The boot image lies in the tree too, as genisoimage and xorriso need it there.
  head -c 2048 /dev/zero > "$dir/boot.img"
  echo "$scale" > "$dir.done"
}

# --- runs -----------------------------------------------------------------------------------------------
declare -A seconds memory files load_before load_after

# The system's load average over 1, 5 and 15 minutes.
load_average() { cut -d' ' -f1-3 /proc/loadavg; }

# Regular files of an image's ISO9660 and Joliet trees, as "iso/joliet".
image_files() {
  echo "$(isoinfo -i "$1" -l | grep -c '^-')/$(isoinfo -i "$1" -J -l | grep -c '^-')"
}

# Files the floor read, as "files/files" like an image's count, once its report and output agree with the
# tree: as many files as it holds, and their data rounded up to whole sectors, byte for byte.
floor_files() { # floor_files LOG OUTPUT
  local said written count bytes
  said=$(grep -o '[0-9]* files, [0-9]* bytes written' "$1") || { echo "isobench: the floor printed no count" >&2; exit 1; }
  written=$(stat -c %s "$2")
  read -r count bytes < <(tree_data "$current_tree")
  if [ "$said" != "$count files, $bytes bytes written" ] || [ "$written" != "$bytes" ]; then
    echo "isobench: the floor read or wrote too little: it says '$said', wrote $written bytes;" \
         "the tree holds $count files, $bytes bytes in whole sectors" >&2
    exit 1
  fi
  echo "$count/$count"
}

tree_data() { # tree_data NAME: "files bytes" of a tree, without its top-level dot names, data in whole sectors
  find "$work/trees/$1" -mindepth 1 \( -path "$work/trees/$1/.*" -prune \) -o -type f -printf '%s\n' |
    awk '{n++; b += int(($1 + 2047) / 2048) * 2048} END {printf "%d %d\n", n, b}'
}

measure() { # measure KEY COMMAND...: one timed run, figures appended to the key's lists
  local key=$1 log="$work/run.log" stats="$work/run.time"
  shift
  # Nothing of the previous run is still on its way to the disk.
  sync
  if ! /usr/bin/time -f "%e %M" -o "$stats" "$@" >"$log" 2>&1; then
    echo "isobench: $key failed:" >&2
    tail -5 "$log" >&2
    exit 1
  fi
  read -r s kb < "$stats"
  seconds[$key]="${seconds[$key]:-} $s"
  memory[$key]="${memory[$key]:-} $kb"
  case "${key#*/}" in
    isobuild|isobuild.exe)
      grep -o 'tree [0-9.]* s' "$log" | awk -v k="$key" '{print k " " $0}' >> "$work/tree-times" ;;
  esac
  # The first round's images are counted: a tool that left files out would win by doing less. The floor
  # writes no image: it must have read every file and written every sector of their data.
  if [ -z "${files[$key]:-}" ]; then
    case "${key#*/}" in
      floor|floor-sizes|floor.exe|floor-sizes.exe) files[$key]=$(floor_files "$log" "$image") ;;
      *) files[$key]=$(image_files "$image") ;;
    esac
  fi
  # The image goes at once: the cached pages of earlier images slow the next writes down several times
  # over. The disk discards a removed file's blocks, and that must not fall into the next tool's time.
  rm -f "$image"
  sync
  [ "$smoke" = 1 ] || sleep 1
}

run_tree() { # run_tree NAME LABEL
  local name=$1 label=$2 src="$work/trees/$1"
  local peer=(-J -joliet-long -D -l -iso-level 3 -V "$label" -publisher "Taleno Company" -A "Taleno Corvane"
              -b boot.img -no-emul-boot -boot-load-size 4)
  current_tree=$name
  load_before[$name]=$(load_average)
  for r in $(seq 1 "$runs"); do
    printf '   round %d/%d\r' "$r" "$runs"
    measure "$name/isobuild" "$ISOBUILD" "$src" "$image" "$src/boot.img" "$label"
    if [ "$smoke" = 0 ]; then
      measure "$name/genisoimage" genisoimage -quiet -o "$image" "${peer[@]}" \
        -hide boot.catalog -hide-joliet boot.catalog "$src"
      measure "$name/xorriso" xorriso -as mkisofs -quiet --norock -o "$image" "${peer[@]}" \
        --boot-catalog-hide "$src"
    fi
    measure "$name/floor" "$READFLOOR" "$src" "$image"
    measure "$name/floor-sizes" "$READFLOOR" --sizes-first "$src" "$image"
    if [ "$wine_ok" = 1 ]; then
      measure "$name/isobuild.exe" /usr/lib/wine/wine64 "$ISOBUILD_EXE" "Z:$src" "Z:$image" \
        "Z:$src/boot.img" "$label"
      measure "$name/floor.exe" /usr/lib/wine/wine64 "$READFLOOR_EXE" "Z:$src" "Z:$image"
      measure "$name/floor-sizes.exe" /usr/lib/wine/wine64 "$READFLOOR_EXE" --sizes-first "Z:$src" "Z:$image"
    fi
    if [ "$r" = 1 ]; then check_files "$name"; fi
  done
  load_after[$name]=$(load_average)
  echo
}

check_files() { # check_files NAME: every image of the tree holds all its files, as many as the floor read
  local name=$1 tool count expected
  read -r count _ < <(tree_data "$name")
  expected="$count/$count"
  for tool in $native_tools $wine_tools; do
    if [ "${files[$name/$tool]}" != "$expected" ]; then
      echo "isobench: not every image of $name holds its $count files (ISO9660/Joliet):" >&2
      for t in $native_tools $wine_tools; do echo "  $t ${files[$name/$t]}" >&2; done
      exit 1
    fi
  done
}

stat_of() { # stat_of KEY: "median min max" of the key's seconds
  tr ' ' '\n' <<<"${seconds[$1]}" | grep . | sort -g |
    awk '{a[NR]=$1} END {m=(NR % 2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2; print m, a[1], a[NR]}'
}
maximum() { tr ' ' '\n' | grep . | sort -g | tail -1; }
median() { tr ' ' '\n' | grep . | sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }

report() { # report NAME
  local name=$1
  printf '\n%s (%s files, %s MB; every image: %s files in ISO9660/Joliet)\n' "$name" \
    "$(tree_data "$name" | cut -d' ' -f1)" "$(du -sm --apparent-size "$work/trees/$name" | cut -f1)" \
    "${files[$name/isobuild]}"
  printf '  load average (1, 5, 15 min): %s before, %s after\n' "${load_before[$name]}" "${load_after[$name]}"
  printf '  %-15s %9s %15s %9s   %-18s %-16s %s\n' tool "median s" "min-max s" "peak MiB" "to the floor" \
    "$([ "$smoke" = 1 ] || echo "to genisoimage")" "to floor-sizes"
  local tool floor sizes peer sized
  for tool in $native_tools $wine_tools; do
    local key="$name/$tool"
    [ -n "${seconds[$key]:-}" ] || continue
    # Each tool against the floors of its own system.
    case "$tool" in *.exe) floor=floor.exe sizes=floor-sizes.exe ;; *) floor=floor sizes=floor-sizes ;; esac
    local m lo hi mem f p
    read -r m lo hi < <(stat_of "$key")
    read -r f _ _ < <(stat_of "$name/$floor")
    mem=$(echo "${memory[$key]}" | maximum)
    peer= sized=
    if [ "$smoke" = 0 ] && [ "$floor" = floor ]; then
      read -r p _ _ < <(stat_of "$name/genisoimage")
      peer=$(printf '%.2fx' "$(echo "$m / $p" | bc -l)")
    fi
    if [ -n "${seconds[$name/$sizes]:-}" ]; then
      read -r p _ _ < <(stat_of "$name/$sizes")
      if awk -v f="$p" 'BEGIN {exit !(f > 0)}'; then sized=$(printf '%.2fx' "$(echo "$m / $p" | bc -l)"); fi
    fi
    # A tiny tree can take less than the timer's 10 ms.
    printf '  %-15s %9.2f %7.2f-%-7.2f %9.1f   %-18s %-16s %s\n' "$tool" "$m" "$lo" "$hi" \
      "$(echo "$mem / 1024" | bc -l)" \
      "$(if awk -v f="$f" 'BEGIN {exit !(f > 0)}'; then printf '%.2fx %s' "$(echo "$m / $f" | bc -l)" "$floor"
         else echo "- $floor"; fi)" "$peer" "$sized"
  done
}

cleanup() {
  if [ "$wine_ok" = 1 ]; then wineserver -k >/dev/null 2>&1 || true; fi
  rm -f "$image"
  if [ "$keep" = 0 ]; then rm -rf "$work/trees"; fi
}
trap cleanup EXIT

if [ "$wine_ok" = 1 ]; then
  # One server for all runs, so each run measures the program and not Wine's start; one untimed start of
  # each program first, so the first timed one does not pay for loading Wine's libraries.
  wineserver -p >/dev/null 2>&1 </dev/null || true
  for exe in "$ISOBUILD_EXE" "$READFLOOR_EXE"; do /usr/lib/wine/wine64 "$exe" >/dev/null 2>&1 </dev/null || true; done
fi

rm -f "$work/tree-times"
for tree in $trees; do
  generate "$tree"
  echo "== timing $tree ($runs rounds: $native_tools $wine_tools)"
  label=$(echo "$tree" | tr a-z A-Z)
  run_tree "$tree" "$label"
done

echo
echo "Images written to $out_dir ($(stat -f -c %T "$out_dir")), $runs alternating rounds, scale $scale;"
echo "peak = largest resident set of any run"
if [ "$smoke" = 1 ]; then
  # The table must have come out whole: a row of figures for every tool.
  table=$(report smoke)
  echo "$table"
  for tool in $native_tools $wine_tools; do
    if ! grep -Eq "^  ${tool//./\\.} +[0-9]+\.[0-9]{2} +[0-9.]+-[0-9.]+ +[0-9]+\.[0-9] +(-|[0-9]+\.[0-9]{2}x) floor" <<<"$table"; then
      echo "isobench: the table has no row of figures for $tool" >&2
      exit 1
    fi
  done
  echo "isobench: smoke run passed ($(tree_data smoke | cut -d' ' -f1) files read by the floor and found in every image)"
  exit 0
fi
for tree in $trees; do report "$tree"; done

echo
echo "Tree building (Add of every top-level entry), median per 10,000 files:"
for key in huge/isobuild huge/isobuild.exe many/isobuild many/isobuild.exe; do
  grep -q "^$key " "$work/tree-times" 2>/dev/null || continue
  count=$(find "$work/trees/${key%%/*}" -type f | wc -l)
  t=$(grep "^$key " "$work/tree-times" | awk '{print $3}' | median)
  printf '  %-18s %8.3f s for %d files = %.3f s per 10,000\n' "$key" "$t" "$count" "$(echo "$t * 10000 / $count" | bc -l)"
done
echo
echo "Peak memory of the writer beyond its 10 MiB buffer (many: 10,000 files):"
for key in many/isobuild many/isobuild.exe; do
  [ -n "${memory[$key]:-}" ] || continue
  printf '  %-18s %.1f MiB\n' "$key" "$(echo "$(echo "${memory[$key]}" | maximum) / 1024 - 10" | bc -l)"
done
