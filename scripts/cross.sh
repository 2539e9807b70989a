#!/usr/bin/env bash
# Cross-builds for another machine and runs the tests there through an emulator (the toolchain
# file's CMAKE_CROSSCOMPILING_EMULATOR).
#   scripts/cross.sh arm64        the layers below the windows and pagelark-tso, their unit
#                                 tests under qemu-aarch64-static (build-arm64)
#   scripts/cross.sh arm64-deb    the whole program and its Debian package for arm64, checked
#                                 with lintian and its programs' --version under qemu
#                                 (build-arm64-deb)
#   scripts/cross.sh windows      the layers below the windows and pagelark-tso.exe for Windows
#                                 (mingw-w64), their tests under Wine and clang-tidy over the
#                                 Windows sources (build-windows)
# The packages come from scripts/setup.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/cross.sh arm64|arm64-deb|windows}

configure() {  # configure DIR TOOLCHAIN [cmake options...]
    local dir=$1 toolchain=$2
    shift 2
    cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAGELARK_WERROR=ON -DPAGELARK_BENCH=OFF "$@" >/dev/null
    cmake --build "$dir"
}

# The layers below the windows, without Qt, and their tests.
layers() {  # layers DIR TOOLCHAIN
    configure "$1" "$2" -DPAGELARK_KIOSK=OFF
    ctest --test-dir "$1" -j "$(nproc)" --output-on-failure
}

case $target in
arm64)
    layers build-arm64 cmake/toolchains/aarch64-linux-gnu.cmake
    ;;
arm64-deb)
    build=build-arm64-deb
    # Qt's build tools (moc, rcc, the D-Bus adaptor's generator) are the host's.
    configure "$build" cmake/toolchains/aarch64-linux-gnu.cmake -DPAGELARK_TESTS=OFF \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/"$(gcc -dumpmachine)"/cmake
    rm -f "$build"/pagelark_*.deb
    (cd "$build" && cpack -G DEB >/dev/null)
    deb=$(ls "$build"/pagelark_*_arm64.deb)
    dpkg-deb --field "$deb" Package Version Architecture Depends
    lintian --fail-on error,warning --tag-display-limit 0 "$deb"
    unpacked=$(mktemp -d)
    trap 'rm -rf "$unpacked"' EXIT
    dpkg-deb -x "$deb" "$unpacked"
    # The arm64 multiarch libraries the package's dependencies name, as on the board.
    for program in pagelark pagelark-tso; do
        qemu-aarch64-static "$unpacked/usr/bin/$program" --version
    done
    echo "$deb"
    ;;
windows)
    build=build-windows
    # Wine in a prefix of the build's own, made on first use; no display is needed. mshtml stays:
    # it registers the .htm association the default browser is found by.
    export WINEPREFIX=$PWD/$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree="
    mkdir -p "$build"
    [[ -d $WINEPREFIX ]] || { wineboot --init >/dev/null 2>&1 || true; }
    # The Linux tool the Windows one's golden outputs are compared with, without the kiosk.
    cmake -S . -B "$build/host" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAGELARK_KIOSK=OFF \
        -DPAGELARK_TESTS=OFF -DPAGELARK_BENCH=OFF >/dev/null
    cmake --build "$build/host" --target pagelark-tso
    status=0
    configure "$build" cmake/toolchains/mingw-w64-x86_64.cmake -DPAGELARK_KIOSK=OFF \
        -DPAGELARK_HOST_TSO="$PWD/$build/host/src/tsotool/pagelark-tso"
    ctest --test-dir "$build" -j "$(nproc)" --output-on-failure || status=$?
    wineserver -k 2>/dev/null || true
    # The Windows sources, which no native build compiles, checked with this build's commands.
    bash scripts/tidy.sh "$build" || status=$?
    exit $status
    ;;
*)
    echo "cross.sh: unknown target '$target' (arm64, arm64-deb or windows)" >&2
    exit 2
    ;;
esac
