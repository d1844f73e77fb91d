#!/usr/bin/env bash
# start PREFIX: prepares the headless test prefix, starts its wineserver for the
#               whole test run and boots the prefix, all detached from the
#               caller's output (ctest waits for every process holding its pipe).
# stop PREFIX:  stops that wineserver.
# MDAC_WINE_ARCH names the build whose programs the prefix runs (wine-loader.sh).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-loader.sh"
action=${1:?usage: wine-session.sh start|stop PREFIX}
prefix=${2:?usage: wine-session.sh start|stop PREFIX}
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY

case "$action" in
  start)
    "$here/wine-prefix.sh" "$prefix" --headless </dev/null >/dev/null 2>&1 9>&-
    # Fails harmlessly when the server already runs.
    wineserver -p </dev/null >/dev/null 2>&1 9>&- || true
    "$wine" wineboot </dev/null >/dev/null 2>&1 9>&-
    echo "wine prefix ready: $prefix"
    ;;
  stop)
    wineserver -k </dev/null >/dev/null 2>&1 9>&- || true
    ;;
  *)
    echo "unknown action $action" >&2
    exit 2
    ;;
esac
