#!/usr/bin/env bash
# Prints the benchmark figures, measured under Wine in the test prefix (the
# build must exist: ./test.sh or cmake --build --preset mingw-i686).
# MDAC_WINE_ARCH=x86_64 measures the x86_64 build (build-x86_64/) instead.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
[ "${MDAC_WINE_ARCH:-i686}" = x86_64 ] && build=build-x86_64
prefix="$(pwd)/$build/wineprefix-test"
tools/wine-session.sh start "$prefix" >/dev/null
export WINEDLLOVERRIDES="msado15,oledb32,msdasql,msdaps=n;mscoree,mshtml="
tools/wine-run.sh "$prefix" $build/tests/component_bench.exe | tr -d '\r' | grep -vE '^\[|^Running|^$'

# ---- catalogue build against its floor --------------------------------------
# BuildComponentList over the 31 stand-ins against 31 bare
# GetFileVersionInfoSizeW + GetFileVersionInfoW pairs on the same files.
catalogue_floor() {
  tools/wine-run.sh "$prefix" $build/tests/catalogue_bench.exe | tr -d '\r' | grep -vE '^\[|^Running|^$'
}
catalogue_floor
# ---- end of the catalogue block -------------------------------------------------

tools/wine-run.sh "$prefix" $build/tests/console_bench.exe | tr -d '\r'
unset WINEDLLOVERRIDES
tools/wine-run.sh "$prefix" $build/tests/program_bench.exe | tr -d '\r'
tools/wine-session.sh stop "$prefix"
