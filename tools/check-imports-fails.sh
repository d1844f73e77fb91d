#!/usr/bin/env bash
# check-imports-fails.sh OBJDUMP PROGRAM: the imports check's own test. PROGRAM
# (tests/fixtures/ImportsLater.c) imports one function of each kind that
# Windows XP without a service pack lacks; the check must fail on it and name
# every one.
set -u
here=$(cd "$(dirname "$0")" && pwd)
if out=$(python3 "$here/check-imports.py" "$1" "$2" --floor); then
  printf '%s\n' "$out"
  echo "NOT OK   the check passed a program that XP cannot load"
  exit 1
fi
printf '%s\n' "$out"
status=0
for fault in 'SHELL32.dll is loaded at start' \
  'GetTickCount64 is not exported by Windows XP' \
  'GetProcessId came with XP SP1' \
  'IsWow64Process came with XP SP2' \
  'Wow64DisableWow64FsRedirection came after Windows XP' \
  '_wcsdup is new'; do
  case $out in
    *"$fault"*) ;;
    *)
      echo "NOT OK   not named: $fault"
      status=1
      ;;
  esac
done
exit $status
