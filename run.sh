#!/usr/bin/env bash
# Installs what is missing, builds, and starts MdacRepair.exe under Wine in a
# prefix of its own.
#   ./run.sh          the wizard on this machine's Wine (build/wineprefix-run)
#   ./run.sh --demo   the wizard on a simulated complete installation: MDAC 2.81
#                     components and a Jet 4.0 SP8 engine (build/wineprefix-demo)
# With $DISPLAY the wizard opens there and a picture of its first page is saved
# as build/screens/welcome.png. Without one it runs on a virtual display, a
# driver walks it through all five pages, and a picture of each is saved in
# build/screens/ (or build/screens/demo/).
# The program is the i686 build where this host runs 32-bit programs, else the
# x86_64 build of the same sources (then in build-x86_64/); MDAC_BUILD chooses
# on purpose.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)

demo=0
if [ $# = 1 ] && [ "$1" = --demo ]; then
  demo=1
elif [ $# != 0 ]; then
  echo "run.sh: unknown arguments: $*; usage: ./run.sh [--demo]" >&2
  exit 2
fi

. tools/choose-build.sh
check_build_choice ONE || exit 2
bash tools/setup-host.sh
choose_builds ONE || exit 2
build=${builds[0]}
out="$root/$(build_dir "$build")"
cmake --preset "mingw-$build" >/dev/null
cmake --build --preset "mingw-$build"
echo "run.sh: starting the $build build: $build_why"

export MDAC_WINE_ARCH=$build WINEDEBUG=-all
. tools/wine-loader.sh
screens="$out/screens"
if [ $demo = 1 ]; then
  prefix="$out/wineprefix-demo"
  screens="$screens/demo"
else
  prefix="$out/wineprefix-run"
fi
tools/wine-prefix.sh "$prefix"
export WINEPREFIX="$prefix"
if [ $demo = 1 ]; then
  tools/demo-install.sh "$prefix" "$out"
  # Wine has components of its own by four of these names; the demo's files win.
  export WINEDLLOVERRIDES="msado15,oledb32,msdasql,msdaps=n;mscoree,mshtml="
else
  export WINEDLLOVERRIDES="mscoree,mshtml="
fi
# Wine's desktop keeps the display it was started with: begin afresh on ours.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true

xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

mkdir -p "$screens"
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 120); do
    { [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; } && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    break
  done
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  rm -f "$screens"/*.bmp
  MDAC_TOUR_DIR=$("$wine" winepath -w "$screens") "$wine" "$out/tests/walkthrough_tests.exe" --gtest_filter=Tour.* \
    </dev/null >/dev/null 2>&1 9>&- || echo "run.sh: the walk through the pages did not finish" >&2
  wineserver -k 2>/dev/null || true
  for bmp in "$screens"/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
  done
  [ -e "$screens/1-welcome.png" ] && cp "$screens/1-welcome.png" "$screens/welcome.png"
  echo "run.sh: pictures of the five pages saved in $screens/:"
  ls "$screens"/*.png
  [ -e "$screens/5-finish.png" ]
else
  "$wine" "$out/src/MdacRepair.exe" </dev/null >/dev/null 2>&1 9>&- &
  app=$!
  window=
  for _ in $(seq 150); do
    window=$(xwininfo -root -children 2>/dev/null | awk '/"mdacrepair.exe"/ && /MDAC/ {print $1; exit}')
    [ -n "$window" ] && break
    sleep 0.2
  done
  if [ -n "$window" ]; then
    sleep 1  # let the first paint finish
    import -window "$window" "$screens/welcome.png"
    echo "run.sh: picture of the window saved as $screens/welcome.png"
  fi
  wait "$app"
fi
