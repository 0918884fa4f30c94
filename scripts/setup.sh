#!/usr/bin/env bash
# Shared set-up of the two README commands: install the Debian packages that are
# missing, configure once, then build incrementally. Sourced, not run; sourced
# with the argument --functions it only defines the functions (for the CI
# scripts that build folders of their own).
set -euo pipefail

ZAVUV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ZAVUV_BUILD="${ZAVUV_BUILD:-$ZAVUV_ROOT/build}"

zavuv_packages=(
    g++ cmake ninja-build pkg-config
    libfmt-dev libcli11-dev
    # zavuv-cli --json
    nlohmann-json3-dev
    libgtest-dev libgmock-dev
    qt6-base-dev
    # Qt's own texts (standard buttons, file dialogs) in Russian.
    qt6-translations-l10n
    # The GUI tests draw text on Qt's offscreen platform, which finds its fonts
    # through fontconfig.
    fonts-dejavu-core libfontconfig1
    libbenchmark-dev
    # The installed files: PNG icons drawn from the SVG, and their tests
    # (CPack's dependency list needs dpkg-shlibdeps and file; the desktop entry
    # and the metainfo are validated; the completion runs under bash-completion).
    librsvg2-bin dpkg-dev file desktop-file-utils appstream bash-completion
    # ELF files are read through libelf.
    libelf-dev
    # The file-format tests build real images with avr-gcc and compare them
    # with what avr-objcopy and srec_cat make of them.
    gcc-avr avr-libc binutils-avr srecord
)

# zavuv_install_missing [PACKAGE...]: by default the packages above.
zavuv_install_missing() {
    local wanted=("$@")
    [ ${#wanted[@]} -eq 0 ] && wanted=("${zavuv_packages[@]}")
    local missing=()
    for p in "${wanted[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}" >&2
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >&2
}

zavuv_build() {
    if [ ! -f "$ZAVUV_BUILD/build.ninja" ]; then
        # Line tables only: enough for a backtrace, and the build takes a third
        # less time than with full debug information.
        cmake -S "$ZAVUV_ROOT" -B "$ZAVUV_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" >&2
    fi
    cmake --build "$ZAVUV_BUILD" -j "$(nproc)" >&2
}

# zavuv_build_in FOLDER TARGET [CMAKE_OPTION...]: a build folder of its own
# (sanitizers, fuzzing), configured with the options every time, so that a
# changed option takes effect, then the target built.
zavuv_build_in() {
    local folder="$1" target="$2"
    shift 2
    cmake -S "$ZAVUV_ROOT" -B "$folder" -G Ninja "$@" >&2
    cmake --build "$folder" --target "$target" -j "$(nproc)" >&2
}

if [ "${1:-}" != "--functions" ]; then
    zavuv_install_missing
    zavuv_build
fi
