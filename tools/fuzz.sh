#!/usr/bin/env bash
# Runs the fuzz targets of the portable code for a long time (./test.sh runs
# each for a few seconds). Usage: tools/fuzz.sh [seconds per target, default
# 3600] [target: format_fuzz, version_resource_fuzz, database_header_fuzz,
# lock_file_fuzz, program_header_fuzz,
# helper_protocol_fuzz or drop_files_fuzz; default all].
# Builds natively with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# in build-fuzz/; new inputs are kept in build-fuzz/corpus-<target>, and an
# input that fails is written to build-fuzz/ as crash-<hash> (replay it with
# build-fuzz/tests/fuzz/<target> build-fuzz/crash-<hash>).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-3600}
targets=${2:-"format_fuzz version_resource_fuzz database_header_fuzz lock_file_fuzz program_header_fuzz helper_protocol_fuzz drop_files_fuzz"}
cmake -S . -B build-fuzz -DMDAC_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz -j2
for target in $targets; do
  case $target in
    version_resource_fuzz) seeds=tests/fuzz/seeds-version ;;
    database_header_fuzz) seeds=tests/fuzz/seeds-database ;;
    lock_file_fuzz) seeds=tests/fuzz/seeds-lock ;;
    program_header_fuzz) seeds=tests/fuzz/seeds-program ;;
    helper_protocol_fuzz) seeds=tests/fuzz/seeds-helper ;;
    drop_files_fuzz) seeds=tests/fuzz/seeds-drop ;;
    *) seeds=tests/fuzz/seeds ;;
  esac
  mkdir -p "build-fuzz/corpus-$target"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "build-fuzz/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix=build-fuzz/ -print_final_stats=1 \
    "build-fuzz/corpus-$target" "$seeds"
done
