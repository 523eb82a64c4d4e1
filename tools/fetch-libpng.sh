#!/usr/bin/env bash
# fetch-libpng.sh: puts Debian's source of libpng 1.6 (upstream 1.6.39 with Debian's patches, security fixes
# among them) into third_party/libpng/src, where CMake builds it for the Windows trees. Debian has no mingw
# build of libpng, so we build our own from the release's source package; nothing of it is committed.
#
# apt runs on a private state under third_party/libpng/apt (its own deb-src list, package lists and cache), so
# the system's apt configuration and locks are left alone. A tree that already holds the checked source is kept
# as it is: apt is asked again only when the source is missing or came from another upstream tarball.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dest="$root/third_party/libpng"
orig=libpng1.6_1.6.39.orig.tar.gz
orig_sha256=a00e9d2f2f664186e4202db9299397f851aea71b36a35e74910b8820e380d441

if [ -f "$dest/src/CMakeLists.txt" ] && [ "$(cat "$dest/src.sha256" 2>/dev/null)" = "$orig_sha256" ]; then
  exit 0
fi

# The machine's release, and the first mirror its lists name for the release's main suite (deb822 lists, then
# one-line ones).
. /etc/os-release
codename=${VERSION_CODENAME:?fetch-libpng: /etc/os-release names no release}
main_mirror() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && awk -v suite="$codename" '
      function flush() { if (isdeb && hassuite && uri != "") print uri; isdeb = hassuite = 0; uri = "" }
      /^[ \t]*$/ { flush(); next }
      tolower($1) == "types:" { for (i = 2; i <= NF; i++) if ($i == "deb") isdeb = 1 }
      tolower($1) == "uris:" { uri = $2 }
      tolower($1) == "suites:" { for (i = 2; i <= NF; i++) if ($i == suite) hassuite = 1 }
      END { flush() }' "$f"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && awk -v suite="$codename" '
      $1 == "deb" { o = ($2 ~ /^\[/) ? 1 : 0; if ($(3 + o) == suite) print $(2 + o) }' "$f"
  done
  return 0
}
mirrors=$(main_mirror)
mirror=${mirrors%%$'\n'*}
mirror=${mirror:-http://deb.debian.org/debian}
echo "fetch-libpng: fetching the libpng1.6 source package of Debian $codename from $mirror"

apt_dir="$dest/apt"
rm -rf "$apt_dir" "$dest/download"
mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$dest/download"
# The main suite only: the security suite's source files are not served where its binaries are.
cat > "$apt_dir/sources.list.d/libpng-src.sources" <<SOURCES
Types: deb-src
URIs: $mirror
Suites: $codename
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
apt_options=(
  -o "Dir::Etc::SourceList=$apt_dir/none.list"
  -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
  -o "Dir::State::Lists=$apt_dir/lists"
  -o "Dir::Cache=$apt_dir/cache"
  -o APT::Sandbox::User=root
  -o Debug::NoLocking=true
)
apt-get "${apt_options[@]}" -q update
(cd "$dest/download" && apt-get "${apt_options[@]}" -q source --download-only libpng1.6)

# apt checked the files against the signed release; this pins the upstream release we build and test against.
if [ ! -f "$dest/download/$orig" ]; then
  echo "fetch-libpng: FAILED: the source package does not hold $orig (another upstream release?):" >&2
  ls "$dest/download" >&2
  exit 1
fi
actual=$(sha256sum "$dest/download/$orig" | cut -d' ' -f1)
if [ "$actual" != "$orig_sha256" ]; then
  echo "fetch-libpng: FAILED: $orig has SHA-256 $actual, expected $orig_sha256" >&2
  exit 1
fi

# dpkg-source applies Debian's patches on top of the upstream tarball. It may warn that it cannot check the
# .dsc's signature (no developer keyring here): apt has already checked every file against the signed index.
rm -rf "$dest/src" "$dest/src.new"
dsc=$(ls "$dest/download"/libpng1.6_*.dsc)
(cd "$dest/download" && dpkg-source -x "$(basename "$dsc")" "$dest/src.new" >/dev/null)
mv "$dest/src.new" "$dest/src"
echo "$orig_sha256" > "$dest/src.sha256"
rm -rf "$apt_dir" "$dest/download" "$dest/$orig"
echo "fetch-libpng: libpng source ready in $dest/src ($(basename "$dsc" .dsc))"
