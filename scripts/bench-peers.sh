#!/usr/bin/env bash
# Times zavuv-cli's HEX/BIN conversion against srec_cat on the same files, as
# whole commands (process start, read, convert, write), with hyperfine. Installs
# what is missing, builds, and prints one table per image size. Run by hand;
# never part of the test suite.
#
#   ./scripts/bench-peers.sh            # 1 MB and 8,650,752-byte images
#   RUNS=20 ./scripts/bench-peers.sh    # more runs per command (default 10)
set -euo pipefail
source "$(dirname "$0")/setup.sh"
zavuv_packages=(srecord hyperfine)
zavuv_install_missing

cli="$ZAVUV_BUILD/src/cli/zavuv-cli"
runs="${RUNS:-10}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# A profile of its own, so that the run leaves the person's preferences alone.
export ZAVUV_PROFILE="$work/profile.ini"

# 1 MB is the largest image written with type 02 records; 8,650,752 bytes is an
# AT45DB642's whole memory, written with type 04 records.
for size in 1048576 8650752; do
    dir="$work/$size"
    mkdir -p "$dir"
    # Random bytes: no run of 0xFF for either program to make light of.
    head -c "$size" /dev/urandom >"$dir/in.bin"
    "$cli" convert "$dir/in.bin" "$dir/in.hex" >/dev/null
    echo
    echo "## $size bytes ($(stat -c %s "$dir/in.hex") bytes of HEX text)"
    echo
    (
        cd "$dir"
        hyperfine --warmup 2 --runs "$runs" --style basic \
            --export-markdown "$dir/table.md" \
            -n "srec_cat hex->bin" "srec_cat in.hex -intel -o out-srec.bin -binary" \
            -n "zavuv-cli hex->bin" "$cli convert in.hex out-zavuv.bin" \
            -n "srec_cat bin->hex" "srec_cat in.bin -binary -o out-srec.hex -intel" \
            -n "srec_cat bin->hex, 16-byte records" \
            "srec_cat in.bin -binary -o out-srec16.hex -intel -output-block-size 16" \
            -n "zavuv-cli bin->hex" "$cli convert in.bin out-zavuv.hex" >&2
        # Both programs must have produced the same image.
        cmp in.bin out-srec.bin
        cmp in.bin out-zavuv.bin
        # With 16-byte records srec_cat writes the same data records; it ends lines
        # with LF alone and always uses type 04 bank records.
        dataRecords() { tr -d '\r' <"$1" | grep -v '^:0200000[24]'; }
        cmp <(dataRecords out-zavuv.hex) <(dataRecords out-srec16.hex)
    )
    cat "$dir/table.md"
done
