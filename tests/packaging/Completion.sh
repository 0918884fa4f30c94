#!/usr/bin/env bash
# Completion.sh ZAVUV_CLI COMPLETION: Tab completion of zavuv-cli under
# bash-completion, as a shell would ask for it. Exit 77 (skipped) without
# bash-completion.
set -uo pipefail
cli="$1" completion="$2"
loader=/usr/share/bash-completion/bash_completion
[ -r "$loader" ] || { echo "bash-completion is not installed" >&2; exit 77; }
source "$loader"
source "$completion"
compopt() { :; }  # only valid inside a real completion

# The device names come from the program found on PATH, as a user's would.
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT
ln -s "$(realpath "$cli")" "$bin/zavuv-cli"
export PATH="$bin:$PATH"

# complete LINE: COMPREPLY for the cursor at the end of LINE, one per line, sorted.
complete() {
    COMP_LINE="$1"
    COMP_POINT=${#COMP_LINE}
    read -ra COMP_WORDS <<<"$COMP_LINE"
    [[ $COMP_LINE == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _zavuv_cli zavuv-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sort
}

failures=0
expect() {
    local line="$1" expected="$2" got
    got=$(complete "$line")
    if [ "$got" != "$expected" ]; then
        printf 'completing "%s"\n  expected: %s\n  got:      %s\n' "$line" \
            "$(echo $expected)" "$(echo $got)" >&2
        failures=$((failures + 1))
    fi
}

# The commands are exactly those of --help.
commands=$("$cli" --help | awk '/^Subcommands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }' | sort)
expect "zavuv-cli " "$commands"
expect "zavuv-cli -p sim -P x.kb2 " "$commands"
expect "zavuv-cli fuses " "$(printf '%s\n' program read verify)"
expect "zavuv-cli project " "show"

# Device names from the device table, for -d and --sim-chip.
expect "zavuv-cli -d ATtiny2" "$("$cli" devices | awk -F'\t' 'NR > 1 && $3 ~ /^ATtiny2/ { print $3 }' | sort)"
expect "zavuv-cli -p sim --sim-chip AT45DB64" "$(printf '%s\n' AT45DB642 AT45DB642D)"
expect "zavuv-cli --lang " "$(printf '%s\n' en ru)"
expect "zavuv-cli -b " "$(printf '%s\n' 0 1 2)"
expect "zavuv-cli -p 1" "$(printf '%s\n' 1 10 11 12)"
expect "zavuv-cli --sim-fault h" "hangup-after="

# Options: the program's before the command, the command's own after it.
expect "zavuv-cli --sim-" "$(printf '%s\n' --sim-chip --sim-fault --sim-state --sim-trace)"
expect "zavuv-cli convert --" "$(printf '%s\n' --eeprom --help --load-at)"
expect "zavuv-cli -p sim update-firmware --" "$(printf '%s\n' --help --reduced)"
expect "zavuv-cli erase -" "$(printf '%s\n' --help -h)"

# Project files: .kb2, .zavuv and .kb1 (and folders), not memory images.
work=$(mktemp -d)
trap 'rm -rf "$bin" "$work"' EXIT
mkdir "$work/sub"
touch "$work/a.kb2" "$work/b.zavuv" "$work/c.kb1" "$work/d.hex" "$work/e.bin"
cd "$work"
expect "zavuv-cli -P " "$(printf '%s\n' a.kb2 b.zavuv c.kb1 sub)"
expect "zavuv-cli project show " "$(printf '%s\n' a.kb2 b.zavuv c.kb1 sub)"
expect "zavuv-cli -p sim program-flash d" "d.hex"

[ "$failures" -eq 0 ] && echo "completion: all cases complete as expected"
exit $((failures > 0))
