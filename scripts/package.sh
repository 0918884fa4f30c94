#!/usr/bin/env bash
# Builds the Debian package zavuv_VERSION_ARCH.deb into the repository's top
# folder: the three programs built in build-package/ with Debian's build flags
# (hardening included), packed by CPack, then checked with
# desktop-file-validate, appstreamcli, update-mime-database and lintian.
# lintian's findings are printed; an error from any check fails the script.
# Arguments go to CMake, e.g. -DZAVUV_MAINTAINER="Name <address>".
set -euo pipefail
source "$(dirname "$0")/setup.sh" --functions
check_packages=(desktop-file-utils appstream shared-mime-info lintian)
zavuv_install_missing "${zavuv_packages[@]}" "${check_packages[@]}"

build="$ZAVUV_ROOT/build-package"
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
# CMAKE_SKIP_INSTALL_ALL_DEPENDENCY: CPack packs what was built below instead of
# building every target (the tests) first.
cmake -S "$ZAVUV_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None \
    "-DCMAKE_CXX_FLAGS=$CXXFLAGS $CPPFLAGS" "-DCMAKE_EXE_LINKER_FLAGS=$LDFLAGS" \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON "$@" >&2
cmake --build "$build" -j "$(nproc)" \
    --target zavuv zavuv-cli zavuv-boardsim zavuv_installed_files >&2

rm -f "$build"/cpack/*.deb
cpack --config "$build/CPackConfig.cmake" -B "$build/cpack" >&2
deb=$(find "$build/cpack" -maxdepth 1 -name 'zavuv_*.deb' | head -n 1)
[ -n "$deb" ] || { echo "package: CPack made no .deb" >&2; exit 1; }
cp "$deb" "$ZAVUV_ROOT/"
deb="$ZAVUV_ROOT/$(basename "$deb")"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml
# The MIME type must compile into the database the desktop reads.
mkdir -p "$unpacked/mime/packages"
cp "$unpacked"/usr/share/mime/packages/*.xml "$unpacked/mime/packages/"
XDG_DATA_DIRS="$unpacked:${XDG_DATA_DIRS:-/usr/share}" update-mime-database "$unpacked/mime"
grep -q 'application/x-zavuv-project:\*\.kb2' "$unpacked/mime/globs"

echo "lintian:"
lintian_status=0
lintian --display-info --fail-on error "$deb" || lintian_status=$?
[ "$lintian_status" -eq 0 ] || { echo "package: lintian reports errors" >&2; exit 1; }
echo "package: $deb"
