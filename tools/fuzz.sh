#!/usr/bin/env bash
# Builds one *_fuzz.cpp with libFuzzer and AddressSanitizer over the pure sources of the project and runs
# it for the given seconds. usage: tools/fuzz.sh path/to/x_fuzz.cpp [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=$1
seconds=${2:-60}
command -v clang++ >/dev/null || { echo "needs clang: apt-get install -y clang"; exit 1; }
pure=$(cd "$root" && find common guard browser search -name '*.cpp' 2>/dev/null |
       grep -v -E '(^|/)win/|_win\.cpp$|_win32\.cpp$|main\.cpp$|_test\.cpp$|_wintest\.cpp$|_fuzz\.cpp$|/testing/')
out="$root/build/fuzz"
mkdir -p "$out/corpus-$(basename "$target" .cpp)"
bin="$out/$(basename "$target" .cpp)"
(cd "$root" && clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -I. $pure "$target" -o "$bin")
"$bin" -max_total_time="$seconds" -max_len=4096 "$out/corpus-$(basename "$target" .cpp)"
