#!/usr/bin/env bash
# For Windows users: a folder and a zip (the programs and the data files that stand beside them), and
# the setup program the Windows build made from the same files.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/${BUILD:-build}/win64"
out="$root/dist/zorvix-suite"
setup="$build/installer/zorvix-suite-setup.exe"
if [ ! -f "$setup" ]; then
  echo "No setup program in $build/installer: is makensis installed (make setup)?" >&2
  exit 1
fi
rm -rf "$root/dist"
mkdir -p "$out"
cp "$build"/bin/*.exe "$out"/
rm -f "$out"/*_tests.exe "$out"/*_bench.exe "$out"/*_probe.exe "$out"/suite_child*.exe
cp -r "$root"/data/. "$out"/
(cd "$root/dist" && zip -qr zorvix-suite.zip zorvix-suite)
cp "$setup" "$root/dist/"
echo "dist/zorvix-suite/, dist/zorvix-suite.zip and dist/zorvix-suite-setup.exe ($(stat -c %s "$setup") bytes)"
