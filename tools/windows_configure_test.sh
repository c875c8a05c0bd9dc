#!/usr/bin/env bash
# The Windows build configures against an installed GoogleTest (as on MSYS2) with no GoogleTest sources in
# reach: GoogleTest is built and installed into WORK, the suite configured with GTest_DIR naming it and the
# sources' folder pointing nowhere, and one source that includes GoogleTest compiled.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:?usage: windows_configure_test.sh WORK}
toolchain=$root/cmake/mingw-w64-x86_64.cmake
prefix=$work/gtest
config=$prefix/lib/cmake/GTest

if [ ! -f "$config/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$work/gtest-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
  cmake --build "$work/gtest-build" -j "$(nproc)" >/dev/null
  cmake --install "$work/gtest-build" >/dev/null
fi

rm -rf "$work/suite"
out=$(cmake -S "$root" -B "$work/suite" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
            -DSUITE_BENCH=OFF -DGTest_DIR="$config" -DSUITE_GTEST_SOURCES="$work/no-sources")
grep -qF "GoogleTest: installed, $config" <<<"$out" || { echo "$out"; echo "FAIL: the installed GoogleTest was not used"; exit 1; }
[ ! -d "$work/suite/googletest" ] || { echo "FAIL: GoogleTest was built from sources"; exit 1; }
make -C "$work/suite/common" -s testing/test_main.cpp.obj >/dev/null
echo "configured against $config"
