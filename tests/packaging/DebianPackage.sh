#!/usr/bin/env bash
# DebianPackage.sh BUILD_DIR EXAMPLES_DIR PROGRAM...: packs the build with
# CPack, checks the .deb's control fields and file list, validates its desktop
# entry and metainfo, and runs the programs of an unpacked copy: they must find
# their shipped files from there. PROGRAM... are the programs this build has.
set -euo pipefail
build="$1" examples="$2"
shift 2
programs=("$@")
has() { [[ " ${programs[*]} " == *" $1 "* ]]; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! cpack --config "$build/CPackConfig.cmake" -B "$work/cpack" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    exit 1
fi
debs=("$work"/cpack/zavuv_*.deb)
deb="${debs[0]}"
[ -f "$deb" ] || { echo "CPack made no zavuv_*.deb" >&2; exit 1; }

failures=0
fail() {
    echo "$*" >&2
    failures=$((failures + 1))
}

# Control fields: dependencies from the shared libraries, Qt's translations
# recommended, the section.
field() { dpkg-deb -f "$deb" "$1"; }
version=$(field Version)
[ "$(field Section)" = electronics ] || fail "Section is '$(field Section)'"
[ "$(field Recommends)" = qt6-translations-l10n ] || fail "Recommends is '$(field Recommends)'"
field Depends | grep -q 'libc6' || fail "Depends lacks the C library: '$(field Depends)'"
if has zavuv; then
    field Depends | grep -q 'libqt6widgets6' || fail "Depends lacks Qt Widgets: '$(field Depends)'"
fi
[ -n "$(field Maintainer)" ] || fail "no Maintainer"

# The file list: everything under /usr, and every installed file there.
files=$(dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./||')
outside=$(grep -v '^usr/' <<<"$files" || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
expected=(
    usr/share/zavuv/firmware/README
    usr/share/doc/zavuv/README.md usr/share/doc/zavuv/LICENSE
    usr/share/doc/zavuv/copyright usr/share/doc/zavuv/changelog.gz
    usr/share/doc/zavuv/docs/architecture.md usr/share/doc/zavuv/docs/screenshots/main-window-en.png
)
for program in "${programs[@]}"; do
    expected+=("usr/bin/$program" "usr/share/man/man1/$program.1.gz")
done
if has zavuv-cli; then
    expected+=(usr/share/bash-completion/completions/zavuv-cli)
fi
if has zavuv; then
    expected+=(usr/share/zavuv/help/zavuv.htm usr/share/applications/zavuv.desktop
        usr/share/mime/packages/zavuv.xml usr/share/icons/hicolor/scalable/apps/zavuv.svg)
    for size in 16 22 24 32 48 64 128 256; do
        expected+=("usr/share/icons/hicolor/${size}x${size}/apps/zavuv.png")
    done
    grep -q '^usr/share/metainfo/[^/]*\.metainfo\.xml$' <<<"$files" || fail "no AppStream metainfo"
fi
for path in "${expected[@]}"; do
    grep -qxF "$path" <<<"$files" || fail "the package lacks /$path"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"

# The release named in the changelog and the metainfo is the package's.
zcat "$root/usr/share/doc/zavuv/changelog.gz" | sed -n 1p | grep -qF "zavuv ($version)" ||
    fail "changelog.gz does not start with version $version"
for metainfo in "$root"/usr/share/metainfo/*.metainfo.xml; do
    [ -e "$metainfo" ] || continue
    grep -qF "<release version=\"$version\"" "$metainfo" || fail "$(basename "$metainfo") lacks release $version"
done
for desktop in "$root"/usr/share/applications/*.desktop; do
    [ -e "$desktop" ] || continue
    desktop-file-validate "$desktop" || fail "$(basename "$desktop") is not valid"
done
for metainfo in "$root"/usr/share/metainfo/*.metainfo.xml; do
    [ -e "$metainfo" ] || continue
    appstreamcli validate --no-net "$metainfo" >"$work/appstream.txt" 2>&1 ||
        fail "$(basename "$metainfo") is not valid: $(cat "$work/appstream.txt")"
done
for page in "$root"/usr/share/man/man1/*.gz; do
    zcat "$page" | sed -n 1p | grep -q '^\.TH ' || fail "$(basename "$page") is no manual page"
done

# The unpacked programs run, with a profile of their own.
export ZAVUV_PROFILE="$work/profile.ini"
unset ZAVUV_FIRMWARE
if has zavuv-cli; then
    cli="$root/usr/bin/zavuv-cli"
    "$cli" --help >"$work/help.txt" || fail "zavuv-cli --help: exit $?"
    grep -q '^Subcommands:' "$work/help.txt" || fail "zavuv-cli --help lists no commands"
    "$cli" devices >"$work/devices.txt" || fail "zavuv-cli devices: exit $?"
    [ "$(wc -l <"$work/devices.txt")" -gt 50 ] || fail "zavuv-cli devices: $(wc -l <"$work/devices.txt") lines"
    grep -qP '^\d+\t\d+\tATmega128\t' "$work/devices.txt" || fail "zavuv-cli devices lacks the ATmega128"

    # The firmware image is looked for in the installed firmware folder: named
    # in the message while missing, taken once it is there.
    firmware="$root/usr/share/zavuv/firmware"
    status=0
    "$cli" -p sim -y update-firmware >"$work/fw.txt" 2>&1 || status=$?
    [ "$status" -eq 2 ] || fail "update-firmware without an image: exit $status"
    grep -qF "'$root/usr/bin/../share/zavuv/firmware/zavuv-board.bin' not found" "$work/fw.txt" ||
        fail "update-firmware does not name the installed firmware folder: $(cat "$work/fw.txt")"
    head -c 12288 /dev/zero >"$firmware/zavuv-board.bin"
    "$cli" -p sim -y update-firmware >"$work/fw.txt" 2>&1 ||
        fail "update-firmware with the installed image: $(cat "$work/fw.txt")"
fi
if has zavuv-boardsim; then
    "$root/usr/bin/zavuv-boardsim" --help >/dev/null || fail "zavuv-boardsim --help: exit $?"
fi
if has zavuv; then
    # The desktop program's whole job on the example project, with no window.
    mkdir "$work/examples"
    cp "$examples/blink.kb2" "$examples/blink.hex" "$work/examples/"
    (cd "$work" && ZAVUV_ANSWER_BOXES=1 QT_QPA_PLATFORM=offscreen \
        "$root/usr/bin/zavuv" --simulate examples/blink.kb2 -autoprogram) >"$work/gui.txt" 2>&1 ||
        fail "zavuv --simulate examples/blink.kb2 -autoprogram: $(cat "$work/gui.txt")"
fi

[ "$failures" -eq 0 ] && echo "package $(basename "$deb"): $(wc -l <<<"$files") entries, all checks passed"
exit $((failures > 0))
