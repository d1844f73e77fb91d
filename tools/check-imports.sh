#!/usr/bin/env bash
# check-imports.sh OBJDUMP EXE: fails when EXE imports a DLL that a bare Windows
# does not have (a MinGW runtime DLL, say): the program ships as one file.
set -eu
objdump=${1:?usage: check-imports.sh OBJDUMP EXE}
exe=${2:?usage: check-imports.sh OBJDUMP EXE}
allowed='^(kernel32|user32|gdi32|comctl32|advapi32|msvcrt|shell32|ole32|oleaut32|version|shfolder|shlwapi|comdlg32|uxtheme)\.dll$'
status=0
while read -r dll; do
  if [[ ${dll,,} =~ $allowed ]]; then
    echo "ok       $dll"
  else
    echo "NOT OK   $dll is not a system DLL"
    status=1
  fi
done < <("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
exit $status
