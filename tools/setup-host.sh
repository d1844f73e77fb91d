#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, and only what is missing,
# so that a second run costs a few dpkg queries. Sourced by test.sh and run.sh.
set -euo pipefail

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# Both Windows builds are made on every host: i686 is the product, x86_64 runs
# the tests on hosts whose kernel runs no 32-bit programs. The 32-bit Wine
# loader is installed only where it can run (it would end with "Exec format
# error" elsewhere, and Debian's wine wrapper would then pick it over wine64).
packages=(
  cmake make python3
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  g++ googletest
  clang libclang-rt-14-dev
  wine wine64 fonts-wine fonts-liberation
  xvfb xauth x11-utils imagemagick
  locales util-linux
)
if bash "$(dirname "$0")/host-runs-i386.sh" >/dev/null; then
  packages+=(wine32:i386)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if [[ " ${missing[*]} " = *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  as_root apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The German user interface is tested in two regions; a locale that is not
# generated is silently ignored by Wine, which would turn those runs English.
need_locales=()
for l in de_DE de_AT; do
  locale -a 2>/dev/null | grep -qix "${l}.utf8" || need_locales+=("$l")
done
if [ ${#need_locales[@]} -gt 0 ]; then
  echo "setup: generating locales ${need_locales[*]}"
  for l in "${need_locales[@]}"; do
    as_root sed -i -E "s/^# *(${l}\.UTF-8 UTF-8)/\1/" /etc/locale.gen
    grep -qx "${l}.UTF-8 UTF-8" /etc/locale.gen || echo "${l}.UTF-8 UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
  done
  as_root locale-gen >/dev/null
fi
