#!/usr/bin/env bash
# Sets up the machine, builds ZEVRO twice (Release, and Debug with the address
# and undefined-behaviour sanitizers) and runs every test in both builds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

bash "$root/scripts/setup.sh"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp:print_suppressions=0}

for variant in release asan; do
  echo "== $variant build"
  bash "$root/scripts/build.sh" "$variant"
  dir="$root/build"
  [ "$variant" = asan ] && dir="$root/build-asan"
  echo "== $variant tests"
  ctest --test-dir "$dir" --output-on-failure -j"$jobs"
done
