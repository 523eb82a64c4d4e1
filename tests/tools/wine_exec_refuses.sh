#!/usr/bin/env bash
# tools/wine-exec must refuse what wine64 cannot run (a 32-bit exe would crash and still exit 0), and run what it can.
# usage: wine_exec_refuses.sh WINE_EXEC X64_TEST_EXE
set -u
wine_exec=$1
good_exe=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0

printf 'int main(void) { return 0; }\n' >"$scratch/tiny.c"
i686-w64-mingw32-gcc -o "$scratch/tiny32.exe" "$scratch/tiny.c" || { echo "FAILED: cannot build the 32-bit probe"; exit 1; }
printf 'not a program\n' >"$scratch/text.exe"

for image in "$scratch/tiny32.exe" "$scratch/text.exe" "$scratch/missing.exe"; do
  out=$("$wine_exec" "$image" 2>&1); rc=$?
  if [ $rc -ne 125 ] || ! grep -q "refusing" <<<"$out"; then
    echo "FAILED: $image gave exit $rc: $out"
    failed=1
  fi
done

out=$("$wine_exec" "$good_exe" --gtest_list_tests 2>&1); rc=$?
if [ $rc -ne 0 ] || [ -z "$out" ]; then
  echo "FAILED: a 64-bit test program did not run: exit $rc"
  failed=1
fi

[ $failed -eq 0 ] && echo "WINE-EXEC-CHECK-PASSED"
exit $failed
