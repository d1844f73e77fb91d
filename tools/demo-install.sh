#!/usr/bin/env bash
# Puts a complete MDAC 2.81 installation with a Jet 4.0 SP8 engine into a Wine
# prefix, made of the test build's stand-in components (their registration
# entry only notes that it ran), so that every page of the wizard has real
# content: Jet's OLE DB provider, DAO 3.6 and ODBC driver registered for
# 32-bit programs, as Windows has them. Runs once per prefix.
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
shared='%CommonProgramFiles%\Microsoft Shared'
system='%SystemRoot%\system32'
reg_view=
if [ "$view" = --32-bit-view ]; then
  export MDAC_WINE_ARCH=x86_64
  common='%CommonProgramFiles(x86)%\System'
  shared='%CommonProgramFiles(x86)%\Microsoft Shared'
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
# The stand-ins go in through a folder of the prefix's own: the batch file
# would read a build folder's name in another code page, and a % in it as a
# variable.
staging="$prefix/drive_c/mdac-demo"
trap 'rm -rf "$staging"' EXIT
mkdir -p "$staging"
cp -f "$out/tests/fixtures/component_2_81.dll" "$staging/component.dll"
cp -f "$out/tests/fixtures/ver_4_0_8015_0.dll" "$staging/jet.dll"
component='C:\mdac-demo\component.dll'
jet='C:\mdac-demo\jet.dll'
batch="$staging/install.bat"
# Every copy is checked: a demo with files missing must not be marked done.
copy() { # SOURCE TARGET
  echo "copy /y \"$1\" \"$2\" >nul"
  echo "if errorlevel 1 exit /b 1"
}
{
  echo '@echo off'
  # Copied by Windows' own rules: file names compare without regard to case,
  # so Wine's files of the same names are replaced, not doubled.
  for folder in ado MSADC 'Ole DB'; do echo "mkdir \"$common\\$folder\" 2>nul"; done
  for f in MSADO15.DLL MSADER15.DLL MSADOR15.DLL MSADRH15.DLL MSADOX.DLL MSADOMD.dll MSJRO.DLL; do
    copy "$component" "$common\\ado\\$f"
  done
  for f in MSADCE.DLL MSADCER.DLL MSADCF.DLL MSADCFR.DLL MSADCO.DLL MSADCOR.DLL MSADCS.DLL MSADDS.DLL \
           MSADDSR.DLL MSDAPRST.DLL; do
    copy "$component" "$common\\MSADC\\$f"
  done
  for f in OLEDB32.DLL MSXACTPS.DLL MSDAENUM.DLL MSDAURL.DLL MSDATT.DLL MSDASQL.DLL MSDAOSP.DLL MSDAORA.DLL \
           MSDAPS.DLL MSDADC.DLL MSDAER.DLL; do
    copy "$component" "$common\\Ole DB\\$f"
  done
  copy "$jet" "$system\\msjet40.dll"
  copy "$component" "$system\\msjtes40.dll"
  copy "$component" "$system\\msjetoledb40.dll"
  copy "$component" "$system\\odbcjt32.dll"
  echo "mkdir \"$shared\\DAO\" 2>nul"
  copy "$component" "$shared\\DAO\\dao360.dll"
  reg() { # ARGUMENTS
    echo "reg add $1 /f$reg_view >nul"
    echo "if errorlevel 1 exit /b 1"
  }
  reg "\"HKLM\\Software\\Microsoft\\DataAccess\" /v FullInstallVer /d 2.81.1117.0"
  # Jet's engines as Windows registers them: the paths written out.
  jetclass='{DEE35070-506B-11CF-B1AA-00AA00B8DE95}'
  daoclass='{00000100-0000-0010-8000-00AA006D2EA4}'
  reg "\"HKLM\\Software\\Classes\\Microsoft.Jet.OLEDB.4.0\\CLSID\" /ve /d $jetclass"
  reg "\"HKLM\\Software\\Classes\\CLSID\\$jetclass\\InprocServer32\" /ve /d \"$system\\msjetoledb40.dll\""
  reg "\"HKLM\\Software\\Classes\\DAO.DBEngine.36\\CLSID\" /ve /d $daoclass"
  reg "\"HKLM\\Software\\Classes\\CLSID\\$daoclass\\InprocServer32\" /ve /d \"$shared\\DAO\\dao360.dll\""
  driver='Microsoft Access Driver (*.mdb)'
  reg "\"HKLM\\SOFTWARE\\ODBC\\ODBCINST.INI\\ODBC Drivers\" /v \"$driver\" /d Installed"
  reg "\"HKLM\\SOFTWARE\\ODBC\\ODBCINST.INI\\$driver\" /v Driver /d \"$system\\odbcjt32.dll\""
} | sed 's/$/\r/' > "$batch"
"$wine" cmd /c 'C:\mdac-demo\install.bat' </dev/null 9>&- || {
  echo "demo-install.sh: the demo installation in $prefix failed (cmd's exit code $?)" >&2
  exit 1
}
touch "$marker"
