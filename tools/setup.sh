#!/usr/bin/env bash
# Installs what the build, the tests and the run need, then makes the project's Wine prefix. Idempotent.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
packages=(build-essential cmake g++-mingw-w64-x86-64-posix wine64 xvfb xauth fonts-wqy-microhei locales
          googletest libgtest-dev libbenchmark-dev imagemagick x11-utils zip openssl osslsigncode nsis)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Run as root first: apt-get update && apt-get install -y ${missing[*]}"
    exit 1
  fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Run as root first: generate the zh_CN.UTF-8 locale (locale-gen)"
    exit 1
  fi
  sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi

source "$root/tools/wine-env"
if [ ! -f "$WINEPREFIX/.suite-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  "$WINE" wineboot -i >/dev/null 2>&1
  # No crash dialog: a failing test must fail, not wait for a click.
  "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  # A server kept up by another run never ends by itself: wait for it a while, then end it.
  timeout 120 "$WINESERVER" -w || "$WINESERVER" -k
  touch "$WINEPREFIX/.suite-ready"
fi
# Without a window manager (the virtual X server of the tests) Wine waits two seconds for each managed
# window it hides to be acknowledged; unmanaged windows are drawn by Wine itself and hide at once.
if [ ! -f "$WINEPREFIX/.suite-unmanaged" ]; then
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  touch "$WINEPREFIX/.suite-unmanaged"
fi
