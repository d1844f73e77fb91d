#!/usr/bin/env bash
# Tells whether this host runs 32-bit x86 Linux programs natively, which the
# 32-bit Wine loader needs. Some kernels are built or booted without 32-bit
# emulation; every i386 program there ends with "Exec format error", and a
# machine may also have an emulator registered for i386 programs, which runs
# them far too slowly for the suite.
#
# Finds out by running one: a 106-byte static i386 program, written here byte by
# byte so that it needs no 32-bit compiler or library, that waits for one byte on
# its standard input. While it waits, the kernel's own link to the program it
# runs tells the two apart: the probe itself when it runs natively, the
# emulator when binfmt_misc handed it to one.
#
#   host-runs-i386.sh [FOLDER...]
# Writes the probe into the first folder that programs can run from (the
# given ones, then $TMPDIR or /tmp, /var/tmp, /dev/shm and the build folder),
# so that a folder mounted noexec or not writable is not taken for a kernel
# without 32-bit programs. Prints one line that says what it found; exit
# status 0 when natively, 1 when not, 2 when no folder could run a program.
set -u

here=$(cd "$(dirname "$0")" && pwd)
probe=
trap 'rm -f "$probe"' EXIT
for dir in "$@" "${TMPDIR:-/tmp}" /var/tmp /dev/shm "$here/../build"; do
  mkdir -p "$dir" 2>/dev/null || continue
  probe=$(mktemp "$dir/i386-probe.XXXXXX" 2>/dev/null) || continue
  printf '#!/bin/sh\nexit 0\n' >"$probe" && chmod +x "$probe" && "$probe" 2>/dev/null && break
  rm -f "$probe"
  probe=
done
if [ -z "$probe" ]; then
  echo "cannot tell whether this host runs 32-bit programs: no folder here lets a program run"
  exit 2
fi

{
  # ELF header: 32-bit, little-endian, executable, Intel 80386, entry 0x08048054,
  # program headers at 52, one of them.
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'
  printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'
  printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'
  # One loadable segment: the whole file (106 bytes) at 0x08048000, read + execute.
  printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'
  printf '\x6a\x00\x00\x00\x6a\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
  # read(0, esp - 4, 1); exit(0)
  printf '\x31\xc0\xb0\x03\x31\xdb\x8d\x4c\x24\xfc\x31\xd2\x42\xcd\x80'
  printf '\x31\xc0\x40\x31\xdb\xcd\x80'
} >"$probe"
chmod +x "$probe"

shell=$(readlink -f "/proc/$$/exe")
# The waiting sleep writes nothing and must not hold the caller's error output.
"$probe" < <(exec sleep 10 2>/dev/null) 2>/dev/null &
pid=$!
runs=
# Until the forked shell has turned into the program, its link still names the shell.
for _ in $(seq 100); do
  runs=$(readlink -f "/proc/$pid/exe" 2>/dev/null) || runs=
  [ -n "$runs" ] && [ "$runs" != "$shell" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.05
done
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
status=$?

if [ "$runs" = "$(readlink -f "$probe")" ]; then
  echo "this host runs 32-bit programs natively"
  exit 0
elif [ -n "$runs" ] && [ "$runs" != "$shell" ]; then
  echo "this host runs 32-bit programs only through the emulator $runs"
else
  echo "this host runs no 32-bit programs (a 32-bit probe ended with status $status)"
fi
exit 1
