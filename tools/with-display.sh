#!/usr/bin/env bash
# Runs a command with an X display (a virtual one when there is none) and one Wine server for its whole
# run, so that Wine tests share a started server instead of booting one each.
set -uo pipefail
source "$(dirname "$0")/wine-env"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
"$WINESERVER" -p 60 2>/dev/null
exec "$@"
