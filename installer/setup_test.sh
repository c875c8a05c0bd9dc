#!/usr/bin/env bash
# Runs the setup program's tests in a Wine prefix made fresh for each run, so that every install starts
# from a machine that never saw the suite, and the shared test prefix never sees an installation.
# Usage: setup_test.sh installer_tests.exe zorvix-suite-setup.exe data-folder prefix [gtest flags]
set -uo pipefail
tests=$1 setup=$2 data=$3 prefix=$4
shift 4
source "$(dirname "$0")/../tools/wine-env"
export WINEPREFIX=$prefix
# The shortcuts made by the setup program stay inside the prefix, out of this machine's own menus.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
win_path() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

# Wine's helpers inherit the output handles and outlive the programs: everything goes through a file,
# and the prefix's server (with all it runs) is ended before the file is shown.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$WINESERVER" -k 2>/dev/null
rm -rf "$prefix"
mkdir -p "$prefix"
{
  "$WINE" wineboot -i
  "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
  # As in the shared test prefix: without a window manager, managed windows take seconds to hide.
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
} >/dev/null 2>&1 </dev/null
SUITE_SETUP=$(win_path "$setup") SUITE_DATA=$(win_path "$data") "$WINE" "$tests" "$@" >"$log" 2>&1 </dev/null
rc=$?
"$WINESERVER" -k 2>/dev/null
cat "$log"
exit $rc
