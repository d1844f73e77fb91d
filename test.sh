#!/usr/bin/env bash
# Installs what is missing, builds the program and every test, and runs them all:
# the Windows tests under Wine in a prefix private to the build, the portable
# code natively with the sanitizers. Ends with ctest's summary.
set -euo pipefail
cd "$(dirname "$0")"

bash tools/setup-host.sh

cmake --preset mingw-i686 >/dev/null
cmake --build --preset mingw-i686

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
status=0
"${runner[@]}" ctest --preset mingw-i686 || status=$?
tools/wine-session.sh stop build/wineprefix-test
exit $status
