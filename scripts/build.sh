#!/usr/bin/env bash
# Configures and builds one variant of ZEVRO.
#   scripts/build.sh          Release build in build/ (programs, tests, benchmarks)
#   scripts/build.sh asan     Debug build with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
variant=${1:-release}
jobs=$(nproc 2>/dev/null || echo 2)

case "$variant" in
  release)
    dir="$root/build"
    args=(-DCMAKE_BUILD_TYPE=Release) ;;
  asan)
    dir="$root/build-asan"
    args=(-DCMAKE_BUILD_TYPE=Debug -DZEVRO_SANITIZE=ON -DZEVRO_BENCH=OFF) ;;
  *)
    echo "build: unknown variant '$variant' (release or asan)" >&2
    exit 2 ;;
esac

cmake -S "$root" -B "$dir" -G Ninja "${args[@]}" >/dev/null
cmake --build "$dir" -j"$jobs"
