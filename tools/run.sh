#!/usr/bin/env bash
# Starts one of the programs under Wine: on the user's display when there is one, otherwise on a virtual
# X server inside a Wine virtual desktop, with a screenshot every few seconds.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/wine-env"
app=$1; shift
exe="$root/${BUILD:-build}/win64/bin/$app.exe"
[ -f "$exe" ] || { echo "no $exe: unknown program '$app'"; exit 1; }
if [ -n "${DISPLAY:-}" ]; then
  exec "$WINE" "$exe" "$@"
fi
shots="$root/build/screenshots"
mkdir -p "$shots"
num=$(for n in $(seq 90 120); do [ -e /tmp/.X$n-lock ] || { echo $n; break; }; done)
Xvfb ":$num" -screen 0 1280x900x24 >/dev/null 2>&1 &
xpid=$!
export DISPLAY=":$num"
sleep 1
"$WINE" explorer "/desktop=$app,1024x768" "$exe" "$@" &
wpid=$!
echo "$app runs on the virtual display $DISPLAY; screenshots go to $shots/ (Ctrl+C ends it)"
trap 'kill $wpid 2>/dev/null; "$WINESERVER" -k 2>/dev/null; kill $xpid 2>/dev/null; exit 0' INT TERM
i=0
while kill -0 $wpid 2>/dev/null; do
  sleep 3
  i=$((i + 1))
  import -window root "$shots/$app-$(printf %04d $i).png" 2>/dev/null && cp "$shots/$app-$(printf %04d $i).png" "$shots/$app-latest.png"
  [ $i -eq 1 ] && echo "latest screenshot: $shots/$app-latest.png"
done
"$WINESERVER" -k 2>/dev/null
kill $xpid 2>/dev/null
