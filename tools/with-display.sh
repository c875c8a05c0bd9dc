#!/usr/bin/env bash
# Runs a command with an X display (a virtual one when there is none) and one Wine server for its whole
# run, so that Wine tests share a started server instead of booting one each. A server this run started
# is ended with everything it runs when the command ends, pass or fail; one that was already up stays.
set -uo pipefail
source "$(dirname "$0")/wine-env"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

# Signal 0 only asks whether the prefix's server is up.
server_runs() { "$WINESERVER" -k0 2>/dev/null; }

started=0
server_runs || started=1
"$WINESERVER" -p 60 2>/dev/null
"$@"
rc=$?
[ "$started" = 1 ] && "$WINESERVER" -k 2>/dev/null
exit $rc
