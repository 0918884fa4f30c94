# bash completion for zavuv-cli: commands, options, device names from the
# program's own table, project files.

_zavuv_cli_devices() {
    # The names are the third column of the table; asked once per shell.
    if [[ -z ${_zavuv_cli_device_names-} ]]; then
        _zavuv_cli_device_names=$("$1" devices 2>/dev/null | awk -F'\t' 'NR > 1 { print $3 }')
    fi
    printf '%s\n' "$_zavuv_cli_device_names"
}

_zavuv_cli_project_files() {
    _filedir '@(kb2|zavuv|kb1)'
}

_zavuv_cli() {
    local cur prev words cword
    _init_completion || return

    local commands="devices ports convert info search signature erase calibration fuses
        update-firmware program-flash program-eeprom verify-flash verify-eeprom
        read-flash read-eeprom blank-check autoprogram project"
    local options="-h --help -p --port -b --baud -P --project -d --device --lang
        -y --yes -n --no --sim-chip --sim-state --sim-trace --sim-fault --json --log"

    case $prev in
        -p | --port)
            COMPREPLY=($(compgen -W "1 2 3 4 5 6 7 8 9 10 11 12 sim" -- "$cur"))
            [[ $cur == /* ]] && _filedir
            return
            ;;
        -b | --baud)
            COMPREPLY=($(compgen -W "0 1 2" -- "$cur"))
            return
            ;;
        -P | --project)
            _zavuv_cli_project_files
            return
            ;;
        -d | --device | --sim-chip)
            local IFS=$'\n'
            COMPREPLY=($(compgen -W "$(_zavuv_cli_devices "$1")" -- "$cur"))
            return
            ;;
        --lang)
            COMPREPLY=($(compgen -W "en ru" -- "$cur"))
            return
            ;;
        --sim-state)
            _filedir -d
            return
            ;;
        --sim-trace | --load-at | --log)
            _filedir
            return
            ;;
        --sim-fault)
            compopt -o nospace
            COMPREPLY=($(compgen -W "silent-after= garbage-after= hangup-after= swap-chip-after=
                no-firmware version= locked polling-fail" -- "$cur"))
            [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} != *= ]] && compopt +o nospace
            return
            ;;
    esac

    # The command and, for fuses and project, its own command; the words
    # after an option that takes a value are not commands.
    local i command="" subcommand=""
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            -p | --port | -b | --baud | -P | --project | -d | --device | --lang | --log | --sim-*) ((i++)) ;;
            -*) ;;
            *)
                if [[ -z $command ]]; then
                    command=${words[i]}
                elif [[ -z $subcommand ]]; then
                    subcommand=${words[i]}
                fi
                ;;
        esac
    done

    # The program's options stand before the command; after it, only the
    # command's own.
    if [[ $cur == -* ]]; then
        case $command in
            "") ;;
            devices) options="-h --help --aliases" ;;
            convert) options="-h --help --eeprom --load-at" ;;
            update-firmware) options="-h --help --reduced" ;;
            program-flash) options="-h --help -e --erase --no-verify -F --force" ;;
            program-eeprom) options="-h --help --no-verify -F --force" ;;
            verify-flash|verify-eeprom|read-flash|read-eeprom) options="-h --help -F --force" ;;
            autoprogram) options="-h --help --force-lockout --repeat --repeat=auto" ;;
            fuses) [[ $subcommand == program ]] && options="-h --help --low --high --ext --lock --force-lockout" || options="-h --help" ;;
            *) options="-h --help" ;;
        esac
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi

    case $command in
        "") COMPREPLY=($(compgen -W "$commands" -- "$cur")) ;;
        fuses) [[ -z $subcommand ]] && COMPREPLY=($(compgen -W "read program verify" -- "$cur")) ;;
        project)
            if [[ -z $subcommand ]]; then
                COMPREPLY=($(compgen -W "show" -- "$cur"))
            else
                _zavuv_cli_project_files
            fi
            ;;
        convert | program-* | verify-* | read-*) _filedir ;;
    esac
}
complete -F _zavuv_cli zavuv-cli
