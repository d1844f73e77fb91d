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
# objdump reads a cut-off program without complaint as long as its headers
# are whole, so the section table must also find every section's bytes.
u16() { od -An -tu2 -j "$1" -N2 "$exe" 2>/dev/null | tr -d ' '; }
u32() { od -An -tu4 -j "$1" -N4 "$exe" 2>/dev/null | tr -d ' '; }
whole_file() {
  local size pe count table i raw at end=0
  size=$(stat -c %s "$exe" 2>/dev/null) || return 1
  [ "$(u16 0)" = 23117 ] || return 1 # "MZ"
  pe=$(u32 60)
  [ -n "$pe" ] && [ "$(u32 "$pe")" = 17744 ] || return 1 # "PE\0\0"
  # Past the end of the file od reads nothing: an empty field is a cut-off header.
  count=$(u16 $((pe + 6))) table=$(u16 $((pe + 20)))
  [ -n "$count" ] && [ -n "$table" ] || return 1
  table=$((pe + 24 + table))
  for ((i = 0; i < count; i++)); do
    raw=$(u32 $((table + 40 * i + 16))) at=$(u32 $((table + 40 * i + 20)))
    [ -n "$raw" ] && [ -n "$at" ] || return 1
    [ $((at + raw)) -gt $end ] && end=$((at + raw))
  done
  [ "$end" -le "$size" ] || return 2
}
whole_file || {
  case $? in
    2) echo "NOT OK   $exe is cut off: its sections run past its end" ;;
    *) echo "NOT OK   $exe is no Windows program" ;;
  esac
  exit 1
}
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
