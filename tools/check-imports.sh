#!/usr/bin/env bash
# check-imports.sh OBJDUMP EXE: fails when EXE imports a DLL that is not one of
# the platform's known DLLs. The program ships as one file (no MinGW runtime
# DLL), and it runs elevated, often from a downloads folder: the loader looks
# for any other DLL in the program's own folder first, where a planted copy
# would run with administrator rights. comctl32 is the one exception: the
# manifest binds it to the side-by-side store, which the loader asks first.
set -eu
objdump=${1:?usage: check-imports.sh OBJDUMP EXE}
exe=${2:?usage: check-imports.sh OBJDUMP EXE}
allowed='^(kernel32|user32|gdi32|advapi32|msvcrt|shell32|ole32|oleaut32|shlwapi|comdlg32|comctl32)\.dll$'
# A missing or damaged file must fail here, not pass with nothing to check.
listing=$("$objdump" -p "$exe") || {
  echo "NOT OK   cannot read the imports of $exe"
  exit 1
}
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$listing")
if [ -z "$dlls" ]; then
  echo "NOT OK   $exe imports no DLL: not the program"
  exit 1
fi
status=0
while read -r dll; do
  if [[ ${dll,,} =~ $allowed ]]; then
    echo "ok       $dll"
  else
    echo "NOT OK   $dll is not a known DLL"
    status=1
  fi
done <<<"$dlls"
exit $status
