#!/usr/bin/env bash
# The test-run wrapper ends the Wine server it started, and only that one. Uses a scratch prefix folder
# (a server needs no booted prefix), so the project's own server is never touched.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env"
scratch=$(mktemp -d)
trap 'WINEPREFIX=$scratch "$WINESERVER" -k 2>/dev/null; rm -rf "$scratch"' EXIT
export WINEPREFIX=$scratch
runs() { WINEPREFIX=$scratch "$WINESERVER" -k0 2>/dev/null; }  # signal 0: only asks whether it is up
fail=0

WINEPREFIX=$scratch bash "$here/with-display.sh" bash -c 'exit 3'
[ $? -eq 3 ] || { echo "FAIL: the command's exit code was not passed on"; fail=1; }
runs && { echo "FAIL: a server the run started is still up"; fail=1; }

"$WINESERVER" -p 60
WINEPREFIX=$scratch bash "$here/with-display.sh" true
runs || { echo "FAIL: a server that was up before the run was ended"; fail=1; }
exit $fail
