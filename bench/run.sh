#!/usr/bin/env bash
# Builds the benchmarks with optimisation and prints their figures.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPAGELARK_TESTS=OFF >/dev/null
cmake --build build-bench --target presentation_bench
build-bench/bench/presentation_bench "$@"
