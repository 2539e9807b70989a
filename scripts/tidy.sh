#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over every source under src/ with the compile commands of
# the build folder given (default build/); fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
git ls-files 'src/*.cpp' | xargs -P "$(nproc)" -n 4 clang-tidy-14 -p "$build" --quiet
