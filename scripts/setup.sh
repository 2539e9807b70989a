#!/usr/bin/env bash
# Installs what Pagelark needs on Debian 12 and builds it into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ libgtest-dev clang-14 libclang-rt-14-dev clang-format clang-tidy-14
          qt6-base-dev qt6-base-private-dev qt6-declarative-dev qt6-webengine-dev libgl-dev
          libwayland-dev wayland-protocols qml6-module-qtquick-virtualkeyboard
          qt6-virtualkeyboard-plugin qml6-module-qtquick qml6-module-qtquick-layouts
          qml6-module-qtquick-window qml6-module-qtqml-workerscript qml6-module-qt-labs-folderlistmodel
          libx11-dev libxcb1-dev libxext-dev libxtst-dev libxdamage-dev libxfixes-dev xvfb xdotool x11-xserver-utils openbox
          xserver-xorg-core xserver-xorg-video-dummy
          cage grim xwayland qt6-wayland wtype
          dbus python3-dbusmock libsystemd-dev libglib2.0-dev pkg-config dpkg-dev desktop-file-utils
          systemd man-db ansible-core libmosquitto-dev mosquitto mosquitto-clients lintian shared-mime-info
          procps)
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
# On a PC, the arm64 cross build too (scripts/cross.sh arm64): the compiler, GoogleTest's
# sources, qemu to run the tests, and the target's own libraries from Debian's arm64 multiarch
# packages beside the host's (the architecture added once; its package lists come with the
# update below). On CI, or with ARM64_DEB=1, also the arm64 Qt that scripts/cross.sh arm64-deb
# builds the whole program against. On an arm64 board (Raspberry Pi OS) the native build below is all
# there is.
if [ "$(dpkg --print-architecture)" != arm64 ]; then
    packages+=(g++-aarch64-linux-gnu googletest qemu-user-static libglib2.0-dev:arm64
               libsystemd-dev:arm64)
    if [ "${ARM64_DEB:-0}" = 1 ] || [ "${CI:-}" = true ]; then
        packages+=(qt6-base-dev:arm64 qt6-base-private-dev:arm64 qt6-declarative-dev:arm64
                   qt6-webengine-dev:arm64 libgl-dev:arm64 libx11-dev:arm64 libxext-dev:arm64
                   libxcb1-dev:arm64 libwayland-dev:arm64 libmosquitto-dev:arm64)
    fi
    # And the Windows cross build (scripts/cross.sh windows): mingw-w64 and Wine to run it.
    packages+=(g++-mingw-w64-x86-64-posix wine wine64)
    if ! dpkg --print-foreign-architectures | grep -qx arm64; then
        "${sudo[@]}" dpkg --add-architecture arm64
    fi
fi
# A fresh machine may have no package lists yet: update only when the install needs it.
if ! "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null 2>&1; then
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${packages[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAGELARK_WERROR=ON
cmake --build build
