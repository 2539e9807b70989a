#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over every source under src/ built here, with the compile commands of
# the build folder given (default build/); fails on any finding. The Windows sources build only with
# the Windows compiler: given a Windows build folder (scripts/cross.sh windows runs
# `scripts/tidy.sh build-windows`), it checks those with its commands instead.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

if grep -qs 'w64-mingw32-g' "$build/compile_commands.json"; then
    # clang reads mingw-w64's commands as its gcc runs them: its target, its C++ headers.
    triple=x86_64-w64-mingw32
    gcc=$(dirname "$("$triple-g++-posix" -print-libgcc-file-name)")
    args=(--extra-arg=--target="$triple" --extra-arg=-nostdinc++)
    for dir in "$gcc/include/c++" "$gcc/include/c++/$triple" "$gcc/include/c++/backward"; do
        args+=(--extra-arg=-isystem"$dir")
    done
    git ls-files 'src/*/windows/*.cpp' |
        xargs -P "$(nproc)" -n 4 clang-tidy-14 -p "$build" --quiet "${args[@]}"
else
    git ls-files 'src/*.cpp' ':!src/*/windows/*' |
        xargs -P "$(nproc)" -n 4 clang-tidy-14 -p "$build" --quiet
fi
