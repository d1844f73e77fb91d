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
    # A run cut off while the tests' stand-ins stood at the components' paths
    # left each original beside its path as NAME.saved, and NAME.stand-in
    # where there was none: give the prefix back what it had before that run.
    find "$prefix/drive_c" -type f \( -name '*.saved' -o -name '*.stand-in' \) -print0 2>/dev/null |
      while IFS= read -r -d '' left; do
        case "$left" in
          *.saved) mv -f -- "$left" "${left%.saved}" ;;
          *.stand-in) rm -f -- "${left%.stand-in}" "$left" ;;
        esac
        echo "put back after a run that was cut off: ${left#"$prefix/"}"
      done
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
