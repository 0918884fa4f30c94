#!/usr/bin/env bash
# zavuv-cli.exe through the Win32 serial back end, under wine: wine's COM9 is
# the pseudo-terminal of a zavuv-boardsim (a Linux program), and the profile
# maps the slot COM3 to COM9, so `-p 3` reaches the board only when the
# mapping is followed (COM3 itself has nothing behind it).
#
#   SerialPortUnderWine.sh ZAVUV-CLI.EXE ZAVUV-BOARDSIM
set -euo pipefail
cli="$1" boardsim="$2"
prefix="${WINEPREFIX:-$HOME/.wine}"
work="$(mktemp -d)"
sim=""
cleanup() {
    [ -n "$sim" ] && kill "$sim" 2>/dev/null
    rm -f "$prefix/dosdevices/com9"
    rm -rf "$work"
}
trap cleanup EXIT

# The simulator prints its terminal's name and runs until its input closes.
mkfifo "$work/input"
"$boardsim" --sim-chip ATmega16 --exit-on-stdin-close <"$work/input" >"$work/terminal" &
sim=$!
exec 3>"$work/input"
for _ in $(seq 100); do
    [ -s "$work/terminal" ] && break
    sleep 0.05
done
terminal="$(head -n 1 "$work/terminal")"
[ -c "$terminal" ] || { echo "no terminal from $boardsim" >&2; exit 1; }

mkdir -p "$prefix/dosdevices"
ln -sfn "$terminal" "$prefix/dosdevices/com9"
printf '[Ports]\r\nCOM3=COM9\r\n' >"$work/profile.ini"

for baud in 0 1 2; do
    out="$(ZAVUV_PROFILE="$work/profile.ini" WINEDEBUG=-all wine "$cli" -p 3 -b "$baud" \
        -d ATmega16 signature 2>&1 | tr -d '\r')" || { echo "$out" >&2; exit 1; }
    grep -qx 'Signature: 1E 94 03 - ATmega16' <<<"$out" || { echo "baud index $baud: $out" >&2; exit 1; }
done
echo "COM3 -> COM9 -> $terminal: signature read at all three baud rates"
