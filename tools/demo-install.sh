#!/usr/bin/env bash
# Puts a complete MDAC 2.81 installation with a Jet 4.0 SP8 engine into a Wine
# prefix, made of the test build's stand-in components (their registration
# entry only notes that it ran), so that every page of the wizard has real
# content. Runs once per prefix.
#   demo-install.sh PREFIX [BUILD_DIR]   (build/ by default)
# The files are copied by a program of the build that will look for them
# (MDAC_WINE_ARCH, wine-loader.sh), so they land in the folders and registry
# view that build sees: the 32-bit build's common files are
# "Program Files (x86)", its system folder SysWOW64; the 64-bit build's are the
# others.
#   demo-install.sh PREFIX BUILD_DIR --32-bit-view
# has a 64-bit program fill the 32-bit view instead, for a prefix where 32-bit
# programs start too slowly to do it themselves (emulated).
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=$1
out=${2:-build}
view=${3:-}
common='%CommonProgramFiles%\System'
system='%SystemRoot%\system32'
reg_view=
if [ "$view" = --32-bit-view ]; then
  export MDAC_WINE_ARCH=x86_64
  common='%CommonProgramFiles(x86)%\System'
  system='%SystemRoot%\syswow64'
  reg_view=' /reg:32'
elif [ -n "$view" ]; then
  echo "demo-install.sh: unknown view '$view'" >&2
  exit 2
fi
marker="$prefix/.mdacrepair-demo$view"
[ -f "$marker" ] && exit 0
. tools/wine-loader.sh
export WINEPREFIX="$prefix" WINEDEBUG=-all
component=$("$wine" winepath -w "$out/tests/fixtures/component_2_81.dll")
jet=$("$wine" winepath -w "$out/tests/fixtures/ver_4_0_8015_0.dll")
batch="$prefix/drive_c/mdac-demo.bat"
{
  echo '@echo off'
  # Copied by Windows' own rules: file names compare without regard to case,
  # so Wine's files of the same names are replaced, not doubled.
  for folder in ado MSADC 'Ole DB'; do echo "mkdir \"$common\\$folder\" 2>nul"; done
  for f in MSADO15.DLL MSADER15.DLL MSADOR15.DLL MSADRH15.DLL MSADOX.DLL MSADOMD.dll MSJRO.DLL; do
    echo "copy /y \"$component\" \"$common\\ado\\$f\" >nul"
  done
  for f in MSADCE.DLL MSADCER.DLL MSADCF.DLL MSADCFR.DLL MSADCO.DLL MSADCOR.DLL MSADCS.DLL MSADDS.DLL \
           MSADDSR.DLL MSDAPRST.DLL; do
    echo "copy /y \"$component\" \"$common\\MSADC\\$f\" >nul"
  done
  for f in OLEDB32.DLL MSXACTPS.DLL MSDAENUM.DLL MSDAURL.DLL MSDATT.DLL MSDASQL.DLL MSDAOSP.DLL MSDAORA.DLL \
           MSDAPS.DLL MSDADC.DLL MSDAER.DLL; do
    echo "copy /y \"$component\" \"$common\\Ole DB\\$f\" >nul"
  done
  echo "copy /y \"$jet\" \"$system\\msjet40.dll\" >nul"
  echo "copy /y \"$component\" \"$system\\msjtes40.dll\" >nul"
  echo "copy /y \"$component\" \"$system\\msjetoledb40.dll\" >nul"
  echo "reg add \"HKLM\\Software\\Microsoft\\DataAccess\" /v FullInstallVer /d 2.81.1117.0 /f$reg_view >nul"
} | sed 's/$/\r/' > "$batch"
"$wine" cmd /c 'C:\mdac-demo.bat' </dev/null 9>&-
rm -f "$batch"
touch "$marker"
