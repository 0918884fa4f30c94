#!/usr/bin/env bash
# The Windows build: zavuv-cli.exe and the core's test programs, cross-built
# with Debian's mingw-w64 (cmake/mingw-w64.cmake) and run under wine. Installs
# what is missing; the GUI and zavuv-boardsim stay Linux-only.
#
#   ./scripts/windows.sh            # build, then every test program under wine
#   ZAVUV_WINDOWS_BUILD=DIR ./scripts/windows.sh
set -euo pipefail
source "$(dirname "$0")/setup.sh" --functions

zavuv_install_missing g++-mingw-w64-x86-64-posix wine wine64 cmake ninja-build \
    libfmt-dev libcli11-dev nlohmann-json3-dev googletest
build="${ZAVUV_WINDOWS_BUILD:-$ZAVUV_ROOT/build-windows}"
# The serial port test drives a simulator of the host's own build (the
# README's build, made by scripts/test.sh), when there is one.
host_boardsim=""
if [ -f "$ZAVUV_BUILD/build.ninja" ]; then
    cmake --build "$ZAVUV_BUILD" --target zavuv-boardsim -j "$(nproc)" >&2
    host_boardsim="$ZAVUV_BUILD/src/sim/boardsim/zavuv-boardsim"
fi
# Unoptimised, and the test programs' files compiled in batches: the tests run
# as fast either way, and the build takes far less time. The test programs are
# built by the default target.
zavuv_build_in "$build" all -DCMAKE_TOOLCHAIN_FILE="$ZAVUV_ROOT/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O0" -DZAVUV_GUI=OFF -DZAVUV_UNITY_TESTS=ON \
    "-DZAVUV_HOST_BOARDSIM=$host_boardsim"

# A wine prefix of its own, made once, quietly; no window system is needed.
export WINEPREFIX="${WINEPREFIX:-$build/wine}" WINEDEBUG=-all DISPLAY=
wineboot --init >/dev/null 2>&1 || true
cd "$build"
ctest --output-on-failure -j "$(nproc)"
