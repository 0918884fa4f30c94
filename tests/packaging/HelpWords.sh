#!/usr/bin/env bash
# HelpWords.sh PROGRAM FILE: fails when an option or a command that PROGRAM's
# --help lists (its commands' own --help included, all the way down) is
# missing from FILE. A manual page (*.1) must name each in bold (.B, .BR, .BI
# or \fB); any other file (a completion script) must hold it as a word.
set -euo pipefail
program="$1" file="$2"

# help_words COMMAND...: the options and commands of "PROGRAM COMMAND... --help",
# each command followed by its own.
help_words() {
    local help section="" line name
    help=$("$program" "$@" --help)
    while IFS= read -r line; do
        case $line in
            Options:*) section=options ;;
            Subcommands:*) section=commands ;;
            Positionals:*) section="" ;;
            "  -"*)
                [ "$section" = options ] || continue
                name=${line#  }
                name=${name%% *}
                tr ',' '\n' <<<"$name"
                ;;
            "  "[a-z]*)
                [ "$section" = commands ] || continue
                name=${line#  }
                name=${name%% *}
                echo "$name"
                help_words "$@" "$name"
                ;;
        esac
    done <<<"$help"
}

words=$(help_words | sort -u)
[ -n "$words" ] || { echo "no options found in $program --help" >&2; exit 1; }

if [[ $file == *.1 ]]; then
    # Roff's minus signs and font changes out of the way; only bold text counts.
    text=$(sed -e 's/\\-/-/g' -e 's/\\&//g' "$file" |
        awk '/^\.B[IR]? / { sub(/^\.B[IR]? /, ""); print } { while (match($0, /\\fB[^\\]*/)) { print substr($0, RSTART + 3, RLENGTH - 3); $0 = substr($0, RSTART + RLENGTH) } }')
else
    text=$(cat "$file")
fi

missing=0
while IFS= read -r word; do
    if ! grep -qE -- "(^|[^A-Za-z0-9-])${word}([^A-Za-z0-9-]|\$)" <<<"$text"; then
        echo "$(basename "$file") lacks $word (from $(basename "$program") --help)" >&2
        missing=1
    fi
done <<<"$words"
[ "$missing" -eq 0 ] && echo "$(basename "$file"): all $(wc -l <<<"$words") words of $(basename "$program") --help"
exit "$missing"
