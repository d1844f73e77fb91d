#!/usr/bin/env bash
# Saves pictures of the wizard's first four pages in English and German at 96 and 120 dpi
# as build/screens/<page>-<language>-<dpi>.png, in a headless prefix of their
# own with MDAC 2.81 and a Jet 4.0 SP8 engine installed. Run after a build.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
prefix="$root/build/wineprefix-screens"
tools/wine-prefix.sh "$prefix" --headless
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY

reg() { wine reg add "$@" /f </dev/null >/dev/null 2>&1 9>&-; }
reg 'HKLM\Software\Microsoft\DataAccess' /v FullInstallVer /d 2.81.1117.0
cp build/tests/fixtures/ver_4_0_9025_0.dll "$prefix/drive_c/windows/syswow64/msjet40.dll"

mkdir -p build/screens
cd build/screens
for dpi in 96 120; do
  reg 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi
  for lang in en de; do
    locale=C.UTF-8
    [ $lang = de ] && locale=de_DE.UTF-8
    LC_ALL=$locale wine "$root/build/tests/wizard_screens.exe" "$lang-$dpi" </dev/null 9>&-
  done
done
wineserver -k 2>/dev/null || true
for bmp in *.bmp; do
  convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
done
echo "screens.sh: pictures saved in $root/build/screens/"
ls "$root/build/screens"
