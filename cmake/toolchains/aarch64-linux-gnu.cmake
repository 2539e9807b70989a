# arm64 Linux (Debian 12, Raspberry Pi OS) with Debian's g++-aarch64-linux-gnu. The tests run
# under qemu-aarch64-static with the target's libraries from /usr/aarch64-linux-gnu; the
# target's other libraries (GIO, libsystemd) come from Debian's arm64 multiarch packages.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
# The C library from the cross toolchain's folder first: its loader (found through -L) hangs in a
# forked child when paired with the arm64 multiarch libc.so.6 that the GIO packages bring,
# whenever the two are different releases.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64-static -L /usr/aarch64-linux-gnu
    -E LD_LIBRARY_PATH=/usr/aarch64-linux-gnu/lib)

# Debian's multiarch layout: the target's libraries and CMake packages are found under
# lib/aarch64-linux-gnu (CMAKE_LIBRARY_ARCHITECTURE), beside the host's, with no sysroot.
# pkg-config reads the arm64 multiarch .pc files, not the host's.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
