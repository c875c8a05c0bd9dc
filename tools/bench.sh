#!/usr/bin/env bash
# Runs every benchmark: the native ones, then the Windows ones under Wine.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rc=0
for b in "$root"/${BUILD:-build}/bench/bench/*_bench; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" || rc=1
done
for b in "$root"/${BUILD:-build}/win64/bin/*_bench.exe; do
  [ -f "$b" ] || continue
  echo "== $(basename "$b")"
  "$root/tools/wine-run" "$b" || rc=1
done
exit $rc
