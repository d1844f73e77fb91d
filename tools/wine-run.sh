#!/usr/bin/env bash
# Runs one Windows program of the build under Wine in the build's private test
# prefix. CMake uses it as the cross-compiling emulator, so `ctest` runs the
# test executables as they are. MDAC_WINE_ARCH names the build (wine-loader.sh).
set -eu
prefix=${1:?usage: wine-run.sh PREFIX PROGRAM [ARGS...]}; shift
. "$(dirname "$0")/wine-loader.sh"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
unset DISPLAY
exec "$wine" "$@" 9>&-
