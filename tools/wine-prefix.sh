#!/usr/bin/env bash
# Creates (once) and prepares a Wine prefix: a default 64-bit prefix, as most
# users' Windows is, with Wine's own fonts, no crash dialogs, and optionally the
# null graphics driver so that real windows exist without an X server.
#   wine-prefix.sh DIR [--headless]
# A second call on a prepared prefix only checks its marker. MDAC_WINE_ARCH
# names the build whose programs it runs (wine-loader.sh): the registry values
# below are written by a program of that build, so they land in its view.
set -euo pipefail
. "$(dirname "$0")/wine-loader.sh"

prefix=$1
headless=${2:-}
marker="$prefix/.mdacrepair-ready-2${headless:+-headless}"
[ -f "$marker" ] && exit 0

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEARCH DISPLAY

mkdir -p "$prefix"
echo "wine-prefix: booting $prefix (takes 15-25 s the first time)"
"$wine" wineboot -i </dev/null >/dev/null 2>&1 9>&-
wineserver -w

# Debian's Wine does not find its own fonts; without them captions show boxes
# and text metrics (Tahoma) differ from what a user sees.
mkdir -p "$prefix/drive_c/windows/Fonts"
cp -n /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true

reg() { "$wine" reg add "$@" /f </dev/null >/dev/null 2>&1 9>&-; }
reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
reg 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
# Windows has Arial (the welcome heading's font); Wine does not. Its metric
# twin from fonts-liberation stands in.
reg 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans'
if [ "$headless" = --headless ]; then
  reg 'HKCU\Software\Wine\Drivers' /v Graphics /d null
fi
wineserver -w
touch "$marker"
