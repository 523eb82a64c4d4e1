#!/usr/bin/env bash
# Installs what building and testing Osmira needs on Debian 12 (run as root); skips what is already there. Then
# fetches libpng's Debian source for the Windows trees (tools/fetch-libpng.sh; also skipped once it is there).
# Another installation may hold the package manager's locks (a fresh machine often runs one at start-up): we wait
# for it, at most OSM_APT_LOCK_WAIT seconds (600), and then name the process that still holds them.
set -euo pipefail
packages=(
  cmake ninja-build python3 googletest ccache dpkg-dev clang-format
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32 libz-mingw-w64-dev
  wine wine64 fonts-wine xvfb x11-apps x11-utils imagemagick
  xorriso genisoimage p7zip-full python3-pycdlib libcdio-utils qemu-system-x86
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# libpng has no mingw package: its Debian source is fetched and kept in the tree (once; later runs keep it).
fetch_libpng() {
  "$(dirname "${BASH_SOURCE[0]}")/fetch-libpng.sh"
}
if [ ${#missing[@]} -eq 0 ]; then
  fetch_libpng
  exit 0
fi

lock_wait=${OSM_APT_LOCK_WAIT:-600}
locks=(/var/lib/dpkg/lock-frontend /var/lib/dpkg/lock /var/lib/apt/lists/lock /var/cache/apt/archives/lock)

# "LOCKFILE pid PID (COMMAND)" for each lock someone holds now. apt and dpkg take fcntl locks, which /proc/locks
# lists by inode; flock(1) cannot see them.
lock_holders() {
  local lock inode pid
  for lock in "${locks[@]}"; do
    [ -e "$lock" ] || continue
    inode=$(stat -c %i "$lock")
    for pid in $(awk -v inode="$inode" '{ n = split($6, id, ":"); if (id[n] == inode) print $5 }' /proc/locks); do
      echo "$lock pid $pid ($(tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | sed 's/ $//'))"
    done
  done
}

deadline=$((SECONDS + lock_wait))

wait_for_locks() {
  local holders announced=
  while holders=$(lock_holders) && [ -n "$holders" ]; do
    if [ $SECONDS -ge $deadline ]; then
      echo "install-deps: the package manager is still busy after ${lock_wait} s; its lock is held by:" >&2
      sed 's/^/  /' <<<"$holders" >&2
      echo "install-deps: let that installation finish (or stop it) and run this again." >&2
      exit 1
    fi
    if [ -z "$announced" ]; then
      echo "install-deps: waiting up to $((deadline - SECONDS)) s for another installation to finish:"
      sed 's/^/  /' <<<"$holders"
      announced=1
    fi
    sleep 2
  done
}

# One apt-get step, with its progress shown. Another installation can take a lock between our look and apt's
# (apt-get update does not wait for the lists lock at all): then we wait again, within the same deadline.
apt_step() {
  local errors rc
  errors=$(mktemp)
  while :; do
    wait_for_locks
    rc=0
    apt-get -o DPkg::Lock::Timeout=$((deadline > SECONDS ? deadline - SECONDS : 1)) "$@" 2>"$errors" || rc=$?
    cat "$errors" >&2
    if [ $rc -eq 0 ]; then
      rm -f "$errors"
      return 0
    fi
    if ! grep -q 'Could not get lock' "$errors" || [ $SECONDS -ge $deadline ]; then
      rm -f "$errors"
      wait_for_locks
      echo "install-deps: apt-get $1 failed (exit $rc)." >&2
      exit 1
    fi
    sleep 1
  done
}

echo "install-deps: installing ${#missing[@]} missing packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt_step update
apt_step install -y --no-install-recommends "${missing[@]}"
fetch_libpng
echo "install-deps: done."
