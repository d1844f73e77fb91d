#!/usr/bin/env bash
# Saves pictures of the wizard's first four pages in English and German at 96 and 120 dpi
# as build/screens/<page>-<language>-<dpi>.png, in a headless prefix of their
# own with MDAC 2.81 and a Jet 4.0 SP8 engine installed. Run after a build.
# MDAC_WINE_ARCH=x86_64 takes the x86_64 build (build-x86_64/) instead.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
. tools/wine-loader.sh
out="$root/build"
[ "${MDAC_WINE_ARCH:-i686}" = x86_64 ] && out="$root/build-x86_64"
prefix="$out/wineprefix-screens"
tools/wine-prefix.sh "$prefix" --headless
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY

reg() { "$wine" reg add "$@" /f </dev/null >/dev/null 2>&1 9>&-; }
reg 'HKLM\Software\Microsoft\DataAccess' /v FullInstallVer /d 2.81.1117.0
# Copied by a program of the build, into the system folder that build sees.
"$wine" cmd /c copy /y "$("$wine" winepath -w "$out/tests/fixtures/ver_4_0_9025_0.dll")" \
  'C:\windows\system32\msjet40.dll' </dev/null >/dev/null 9>&-

mkdir -p "$out/screens"
cd "$out/screens"
for dpi in 96 120; do
  reg 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi
  for lang in en de; do
    locale=C.UTF-8
    [ $lang = de ] && locale=de_DE.UTF-8
    LC_ALL=$locale "$wine" "$out/tests/wizard_screens.exe" "$lang-$dpi" </dev/null 9>&-
  done
done
wineserver -k 2>/dev/null || true
for bmp in *.bmp; do
  convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
done
echo "screens.sh: pictures saved in $out/screens/"
ls "$out/screens"
