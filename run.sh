#!/usr/bin/env bash
# Installs what is missing, builds, and starts MdacRepair.exe under Wine in a
# prefix of its own (build/wineprefix-run). On $DISPLAY when there is one,
# otherwise on a virtual display; either way a screenshot of the window is saved
# as build/screens/welcome.png.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)

bash tools/setup-host.sh
cmake --preset mingw-i686 >/dev/null
cmake --build --preset mingw-i686 --target MdacRepair

prefix="$root/build/wineprefix-run"
tools/wine-prefix.sh "$prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    break
  done
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  virtual=1
else
  virtual=0
fi

wine build/src/MdacRepair.exe </dev/null >/dev/null 2>&1 9>&- &
app=$!

# Wait for the wizard's top-level window to be mapped.
window=
for _ in $(seq 150); do
  window=$(xwininfo -root -children 2>/dev/null | awk '/"mdacrepair.exe"/ && /MDAC/ {print $1; exit}')
  [ -n "$window" ] && break
  sleep 0.2
done
mkdir -p build/screens
if [ -n "$window" ]; then
  sleep 1  # let the first paint finish
  import -window "$window" build/screens/welcome.png
  echo "run.sh: screenshot of the window saved as $root/build/screens/welcome.png"
else
  echo "run.sh: the wizard's window did not appear" >&2
fi

if [ "$virtual" = 1 ]; then
  wineserver -k 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  [ -n "$window" ]
else
  wait "$app"
fi
