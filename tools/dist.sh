#!/usr/bin/env bash
# A folder and a zip for Windows users: the programs and the data files that stand beside them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/dist/zorvix-suite"
rm -rf "$root/dist"
mkdir -p "$out"
cp "$root"/${BUILD:-build}/win64/bin/*.exe "$out"/
rm -f "$out"/*_tests.exe "$out"/*_bench.exe "$out"/*_probe.exe "$out"/suite_child*.exe
cp -r "$root"/data/. "$out"/
(cd "$root/dist" && zip -qr zorvix-suite.zip zorvix-suite)
echo "dist/zorvix-suite/ and dist/zorvix-suite.zip"
