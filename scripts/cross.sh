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
    toolchain=cmake/toolchains/mingw-w64-x86_64.cmake
    # Wine in a prefix of the build's own, made on first use; no display is needed. mshtml stays:
    # it registers the .htm association the default browser is found by.
    export WINEPREFIX=$PWD/$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree="
    [[ -d $WINEPREFIX ]] || { wineboot --init >/dev/null 2>&1 || true; }
    # The Linux tool the Windows one is compared with, built without the kiosk.
    cmake -S . -B "$build/host" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAGELARK_KIOSK=OFF \
        -DPAGELARK_TESTS=OFF -DPAGELARK_BENCH=OFF >/dev/null
    cmake --build "$build/host" --target pagelark-tso
    options+=(-DPAGELARK_HOST_TSO="$PWD/$build/host/src/tsotool/pagelark-tso")
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
status=0
ctest --test-dir "$build" -j "$(nproc)" --output-on-failure || status=$?
[[ $target == windows ]] && wineserver -k 2>/dev/null
exit $status
