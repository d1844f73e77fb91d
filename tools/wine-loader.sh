# Sourced by the Wine scripts: sets $wine to the Wine loader that runs programs
# of the build named by MDAC_WINE_ARCH: i686 (the default: the product) or
# x86_64 (the same sources, for hosts that run no 32-bit programs). Debian's
# `wine` wrapper always takes the 32-bit loader when it is installed, which ends
# with "Exec format error" on such hosts, so the loader is named outright.
case "${MDAC_WINE_ARCH:-i686}" in
  i686) wine=wine ;;
  x86_64) wine=wine64 ;;
  *)
    echo "MDAC_WINE_ARCH must be i686 or x86_64, not '${MDAC_WINE_ARCH}'" >&2
    exit 2
    ;;
esac
if [ -x "/usr/lib/wine/$wine" ]; then
  wine=/usr/lib/wine/$wine
elif [ "$wine" = wine ]; then
  # Without the 32-bit loader Debian's wrapper would hand the i686 programs
  # to the 64-bit one, which cannot run them.
  echo "no 32-bit Wine loader /usr/lib/wine/wine on this host (Debian's wine32:i386)" >&2
  exit 2
elif ! command -v "$wine" >/dev/null; then
  echo "no Wine loader '$wine' on this host" >&2
  exit 2
fi
