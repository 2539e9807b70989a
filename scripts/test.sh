#!/usr/bin/env bash
# Runs every check: formatting, the include layering, the example playbook's syntax, the
# sanitizer build's tests, the fuzzers, clang-tidy, then the test suite.
# FUZZ_SECONDS (default 60) sets how long each fuzzer runs; QUICK=1 runs only the test suite.
# On CI, or with ARM64=1 / ARM64_DEB=1 / WINDOWS=1, the cross builds follow (scripts/cross.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
fuzz_seconds=${FUZZ_SECONDS:-60}

build() {  # build DIR [cmake options...]
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DPAGELARK_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
}

if [ "${QUICK:-0}" != 1 ]; then
    echo "== formatting"
    git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

    echo "== include layering"
    bash scripts/check_includes.sh

    echo "== example playbook"
    ANSIBLE_LOCALHOST_WARNING=false ANSIBLE_INVENTORY_UNPARSED_WARNING=false \
        ansible-playbook --syntax-check docs/ansible/kiosk.yml

    echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DPAGELARK_SANITIZE=ON -DPAGELARK_BENCH=OFF \
        -DPAGELARK_KIOSK=OFF
    ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build-asan -j "$jobs" --output-on-failure

    echo "== fuzzing ${fuzz_seconds}s per target"
    build build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
        -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all" \
        -DPAGELARK_FUZZ=ON -DPAGELARK_TESTS=OFF -DPAGELARK_BENCH=OFF -DPAGELARK_KIOSK=OFF
    for target in ini_fuzz reg_fuzz mqtt_fuzz; do
        corpus=$(mktemp -d)
        cp fuzz/corpus/"${target%_fuzz}"/* "$corpus"/ 2>/dev/null || true
        build-fuzz/fuzz/"$target" -max_total_time="$fuzz_seconds" -max_len=65536 \
            -print_final_stats=1 "$corpus" 2>&1 | tail -n 4
        rm -rf "$corpus"
    done
fi

echo "== test suite"
build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ "${QUICK:-0}" != 1 ]; then
    echo "== clang-tidy"
    bash scripts/tidy.sh build
fi
ctest --test-dir build -j "$jobs" --output-on-failure

# The arm64 cross build of the layers: on CI, or when ARM64=1. The whole program and its
# package on CI, or when ARM64_DEB=1 (after ARM64_DEB=1 scripts/setup.sh).
if [ "${CI:-}" = true ] || [ "${ARM64:-0}" = 1 ]; then
    echo "== arm64: the layers below the windows, their tests under qemu"
    bash scripts/cross.sh arm64
fi
if [ "${ARM64_DEB:-0}" = 1 ] || [ "${CI:-}" = true ]; then
    echo "== arm64: the whole program and its Debian package"
    bash scripts/cross.sh arm64-deb
fi

# The layers below the windows and pagelark-tso built for Windows and tested under Wine.
if [ "${WINDOWS:-0}" = 1 ] || [ "${CI:-}" = true ]; then
    echo "== Windows build under Wine"
    bash scripts/cross.sh windows
fi
