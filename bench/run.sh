#!/usr/bin/env bash
# Builds the benchmarks with optimisation and prints their figures.
#   bench/run.sh               both benchmarks
#   bench/run.sh presentation  load and save of a 10 000-page presentation
#   bench/run.sh kiosk         the kiosk under Xvfb (about two minutes)
set -euo pipefail
cd "$(dirname "$0")/.."
what=${1:-all}
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPAGELARK_TESTS=ON >/dev/null
if [ "$what" = all ] || [ "$what" = presentation ]; then
    cmake --build build-bench --target presentation_bench >/dev/null
    build-bench/bench/presentation_bench
fi
if [ "$what" = all ] || [ "$what" = kiosk ]; then
    cmake --build build-bench --target kiosk_bench pagelark >/dev/null
    build-bench/bench/kiosk_bench
fi
