#!/usr/bin/env bash
# Cross-builds the layers below the windows and pagelark-tso for another machine and runs
# their unit tests there through an emulator (the toolchain file's CMAKE_CROSSCOMPILING_EMULATOR).
#   scripts/cross.sh TARGET      TARGET: arm64 (qemu-aarch64-static) or windows
# Builds into build-TARGET; the packages come from scripts/setup.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/cross.sh arm64|windows}
build=build-$target
options=()

case $target in
arm64)
    toolchain=cmake/toolchains/aarch64-linux-gnu.cmake
    ;;
windows)
    echo "cross.sh: the windows build is not here yet" >&2
    exit 2
    ;;
*)
    echo "cross.sh: unknown target '$target' (arm64 or windows)" >&2
    exit 2
    ;;
esac

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAGELARK_WERROR=ON -DPAGELARK_KIOSK=OFF \
    -DPAGELARK_BENCH=OFF "${options[@]}" >/dev/null
cmake --build "$build"
ctest --test-dir "$build" -j "$(nproc)" --output-on-failure
