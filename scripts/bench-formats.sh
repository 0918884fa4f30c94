#!/usr/bin/env bash
# Times the S-record and ELF readers against srec_cat and avr-objcopy on the
# same files, as whole commands (process start, read, convert, write of a
# binary), with hyperfine. The S-record file is srec_cat's own, the ELF file is
# linked by avr-ld from the same random bytes. Installs what is missing, builds,
# and prints one table per image size. Run by hand; never part of the test suite.
#
#   ./scripts/bench-formats.sh            # 1 MB and 8 MB (the whole Flash space) images
#   RUNS=20 ./scripts/bench-formats.sh    # more runs per command (default 10)
#   TMPDIR=/dev/shm ./scripts/bench-formats.sh   # files in memory: no disk in the figures
set -euo pipefail
source "$(dirname "$0")/setup.sh" --functions
zavuv_install_missing "${zavuv_packages[@]}" hyperfine
zavuv_build_in "$ZAVUV_BUILD" zavuv_format_convert -DCMAKE_BUILD_TYPE=RelWithDebInfo

convert="$ZAVUV_BUILD/bench/zavuv_format_convert"
runs="${RUNS:-10}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for size in 1048576 8388608; do
    dir="$work/$size"
    mkdir -p "$dir"
    (
        cd "$dir"
        # Random bytes: no run of 0xFF for any program to make light of.
        head -c "$size" /dev/urandom >in.bin
        srec_cat in.bin -binary -o in.srec -motorola
        avr-objcopy -I binary -O elf32-avr -B avr:6 \
            --rename-section .data=.text,alloc,load,contents,code in.bin in.o
        avr-ld -mavr6 --defsym=__TEXT_REGION_LENGTH__=8M -o in.elf in.o
        echo
        echo "## $size bytes ($(stat -c %s in.srec) bytes of S-records, $(stat -c %s in.elf) bytes of ELF)"
        echo
        hyperfine --warmup 2 --runs "$runs" --style basic --export-markdown table.md \
            -n "srec_cat srec->bin" "srec_cat in.srec -motorola -o out-srec.bin -binary" \
            -n "zavuv srec->bin" "$convert srec in.srec out-zavuv-srec.bin" \
            -n "avr-objcopy elf->bin" "avr-objcopy -O binary in.elf out-objcopy.bin" \
            -n "zavuv elf->bin" "$convert elf in.elf out-zavuv-elf.bin" >&2
        # Every program must have produced the same image.
        for out in out-srec.bin out-zavuv-srec.bin out-objcopy.bin out-zavuv-elf.bin; do
            cmp in.bin "$out"
        done
        cat table.md
    )
done
