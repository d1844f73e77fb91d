#!/usr/bin/env bash
# Runs the product itself, the i686 MdacRepair.exe, once on a host that runs no
# 32-bit programs: 32-bit Wine under user-mode emulation (qemu-user), in a fresh
# prefix, `/check /json`, compared with what the x86_64 build reports on the
# same stand-in installation. Also works where 32-bit programs run natively,
# but only when asked to: the emulator's entry is machine-wide and takes over
# every 32-bit program on the machine for the length of the smoke, another
# user's test run among them.
#
#   tools/smoke-i686-emulated.sh [--on-a-native-host]
#                                     (as root; both builds built, e.g. by
#                                      MDAC_BUILD=both ./test.sh)
#
# Not part of test.sh: under emulation every 32-bit Wine process takes about
# two minutes to start and the prefix about four and a half to boot, which is
# too slow and too fragile for every run.
#
# The emulator is registered for i386 programs only while the smoke runs and is
# removed on every way out, errors and signals included: left behind, it would
# turn every later 32-bit program on the machine into an emulated one.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" != 0 ]; then
  echo "smoke: registering an emulator for i386 programs needs root" >&2
  exit 2
fi
case "${1:-}" in
  "" | --on-a-native-host) ;;
  *)
    echo "smoke: unknown argument '$1'" >&2
    exit 2
    ;;
esac
if [ "${1:-}" != --on-a-native-host ] && bash tools/host-runs-i386.sh >/dev/null; then
  echo "smoke: this host runs 32-bit programs natively, and while the smoke runs every one of" >&2
  echo "them would run emulated; say --on-a-native-host to run it all the same" >&2
  exit 2
fi
for exe in build/src/MdacRepair.exe build-x86_64/src/MdacRepair.exe build/tests/fixtures/component_2_81.dll \
  build-x86_64/tests/fixtures/component_2_81.dll; do
  if [ ! -f "$exe" ]; then
    echo "smoke: $exe is missing; build both first (MDAC_BUILD=both ./test.sh)" >&2
    exit 2
  fi
done

binfmt=/proc/sys/fs/binfmt_misc
entry=mdacrepair-i386-smoke
[ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"

# What the smoke needs beyond the builds: the emulator and the 32-bit loader.
# Installing qemu-user-static may register its own entries for good (through
# systemd-binfmt or binfmt-support); any i386 entry that was not there before
# is switched off again, so the only one in force is the smoke's own.
entries_before=$(ls "$binfmt")
missing=()
dpkg-query -W -f='${Status}' qemu-user-static 2>/dev/null | grep -q 'install ok installed' || missing+=(qemu-user-static)
dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' || missing+=(wine32:i386)
if [ ${#missing[@]} -gt 0 ]; then
  echo "smoke: installing ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  for e in $(ls "$binfmt"); do
    case "$e" in register | status) continue ;; esac
    if ! grep -qx "$e" <<<"$entries_before" && grep -q '^magic 7f454c4601' "$binfmt/$e"; then
      echo "smoke: switching off the entry '$e' that the installation registered"
      echo -1 >"$binfmt/$e"
    fi
  done
fi

work=$(mktemp -d /tmp/mdacrepair-smoke.XXXXXX)
prefix=$work/prefix
cleanup() {
  set +e
  [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null
  [ -e "$binfmt/$entry" ] && echo -1 >"$binfmt/$entry"
  if [ -e "$binfmt/$entry" ]; then
    echo "smoke: could not remove the emulator's entry $binfmt/$entry; remove it by hand" >&2
  fi
  rm -rf "$work"
}
trap cleanup EXIT
# Bash runs a trap only once the command in the foreground has ended, which
# can be a whole prefix boot; a command waited for in the background lets a
# signal end the smoke at once.
run() {
  "$@" &
  wait $!
}
trap 'exit 130' INT
trap 'exit 143' TERM HUP

# i386 ELF executables and shared objects; F opens the emulator now, so it is
# found from any mount namespace the programs later run in.
echo ":$entry:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:$(command -v qemu-i386-static):F" \
  >"$binfmt/register"
echo "smoke: i386 programs run through qemu-i386-static until the smoke ends"

start=$SECONDS
elapsed() { echo "$((SECONDS - start)) s"; }

# A 64-bit prefix booted while 32-bit programs can start (emulated) gets its
# 32-bit half too; booted without, its SysWOW64 stays empty and no 32-bit
# program loads ("could not load kernel32.dll").
MDAC_WINE_ARCH=x86_64 run timeout 900 tools/wine-prefix.sh "$prefix" --headless
echo "smoke: prefix booted after $(elapsed)"
[ -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ] || {
  echo "smoke: the prefix has no 32-bit system files; the emulator did not run Wine's 32-bit programs" >&2
  exit 1
}

# The same installation in both views, each made of its own build's stand-ins,
# written by 64-bit programs, which start at full speed.
MDAC_WINE_ARCH=x86_64 tools/demo-install.sh "$prefix" build-x86_64
tools/demo-install.sh "$prefix" build --32-bit-view

run_check() { # BUILD_DIR MDAC_WINE_ARCH OUT
  local rc=0
  MDAC_WINE_ARCH=$2 run timeout 600 tools/wine-run.sh "$prefix" "$1/src/MdacRepair.exe" /check /json >"$3" </dev/null || rc=$?
  if [ $rc != 0 ]; then
    echo "smoke: $1/src/MdacRepair.exe /check /json ended with $rc after $(elapsed)" >&2
    exit 1
  fi
}
run_check build-x86_64 x86_64 "$work/x86_64.json"
run_check build i686 "$work/i686.json"
echo "smoke: the i686 program reported after $(elapsed)"

# Emulation must not have let the 64-bit view stand in for the 32-bit one: the
# i686 program sees "Program Files (x86)", the x86_64 one the plain folder, and
# both found the whole installation.
grep -q 'Program Files (x86)' "$work/i686.json" || {
  echo "smoke: the i686 program did not report the 32-bit common files folder:" >&2
  cat "$work/i686.json" >&2
  exit 1
}
for build in i686 x86_64; do
  if grep -q '"matches": false' "$work/$build.json" || ! grep -q '"installed": "2.81.1117.0"' "$work/$build.json"; then
    echo "smoke: the $build program did not find the whole installation:" >&2
    cat "$work/$build.json" >&2
    exit 1
  fi
done
if ! diff -u "$work/x86_64.json" <(sed 's/Program Files (x86)/Program Files/g' "$work/i686.json"); then
  echo "smoke: the i686 and x86_64 programs disagree (above, the 32-bit folder names made plain)" >&2
  exit 1
fi
echo "smoke: passed in $(elapsed): the i686 MdacRepair.exe reports what the x86_64 build does"
