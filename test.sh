#!/usr/bin/env bash
# Installs what is missing, builds the program and every test, and runs them all:
# the Windows tests under Wine in a prefix private to the build, the portable
# code natively with the sanitizers. Ends with ctest's summary.
#
# The product is the i686 build. The suite runs on it under 32-bit Wine where
# this host runs 32-bit programs natively; elsewhere it runs on the x86_64 build
# of the same sources under 64-bit Wine, and the i686 program is still built and
# its imports checked. MDAC_BUILD chooses on purpose: i686, x86_64 or both.
set -euo pipefail
cd "$(dirname "$0")"

. tools/choose-build.sh
check_build_choice MANY || exit 2
bash tools/setup-host.sh
choose_builds MANY || exit 2
tested() { [[ " ${builds[*]} " = *" $1 "* ]]; }

# The product is built and its imports checked in every run, tested or not.
cmake --preset mingw-i686 >/dev/null
if tested i686; then
  cmake --build --preset mingw-i686
else
  cmake --build --preset mingw-i686 --target MdacRepair imports_later
fi
if tested x86_64; then
  cmake --preset mingw-x86_64 >/dev/null
  cmake --build --preset mingw-x86_64
fi

# No test may reach a network: run them in a namespace with only a loopback
# interface where the machine allows one.
runner=()
if unshare -n true 2>/dev/null; then
  runner=(unshare -n)
elif unshare -rn true 2>/dev/null; then
  runner=(unshare -rn)
else
  echo "test.sh: no network namespace available; tests run with the network visible" >&2
fi
# An interrupted run would leave each prefix's server running for good.
stop_sessions() {
  local build
  for build in "${builds[@]}"; do
    MDAC_WINE_ARCH=$build tools/wine-session.sh stop "$(build_dir "$build")/wineprefix-test" ||
      true
  done
}
trap stop_sessions EXIT
status=0
if ! tested i686; then
  echo "test.sh: the product, MdacRepair.exe for i686, is built; its imports:"
  ctest --preset mingw-i686 -R '^imports' || status=$?
fi
for build in "${builds[@]}"; do
  echo "test.sh: testing the $build build: $build_why"
  "${runner[@]}" ctest --preset "mingw-$build" || status=$?
  MDAC_WINE_ARCH=$build tools/wine-session.sh stop "$(build_dir "$build")/wineprefix-test"
done
exit $status
