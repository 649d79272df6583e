# bash completion for tickerlux-cli: commands, options, NAME= fields of set and config with
# their choices, colour names and .tlx feed files.

# Adds to COMPREPLY each candidate that starts with `$1` (as typed: blanks escaped), quoted as
# the shell needs it.
_tickerlux_cli_offer()
{
    local typed=$1 candidate quoted
    shift
    for candidate in "$@"; do
        printf -v quoted %q "$candidate"
        [[ $quoted == "$typed"* ]] && COMPREPLY+=("$quoted")
    done
}

_tickerlux_cli()
{
    local cur prev words cword
    _init_completion -n = || return

    local commands="set show line encode config send clear update watch"
    local colours=(Amber Autocolor Brown "Dim Green" "Dim Red" Green Orange "Rainbow 1"
        "Rainbow 2" Red Yellow 0 1 2 3 4 5 6 7 8 9 10)
    local kinds=("serial port - betabrite classic" "serial port - custom settings"
        "usb - betabrite prism")
    local feed_fields="WebServer WebPath ReservedText AutoUpdate UpdateMinutes TextBefore
        TextAfter LeadingComment ColorIndex Condensed ReservedFlag ShowTime"
    local comm_fields="Connection ComPort BaudRate ByteSize Parity StopBits"

    if ((cword == 1)); then
        COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
        return
    fi
    local command=${words[1]}

    case $prev in
        --color)
            _tickerlux_cli_offer "$cur" "${colours[@]}"
            return ;;
        --connection)
            _tickerlux_cli_offer "$cur" "${kinds[@]}"
            return ;;
        --com | --mqtt | --mqtt-name | --mqtt-discovery-prefix)
            return ;;
    esac

    local options="" fields="" feed=""
    case $command in
        set) fields=$feed_fields feed=first ;;
        show | line) feed=only ;;
        encode) options="--color --condensed --raw" ;;
        config) fields="$comm_fields HeadlineCleanup" ;;
        send) options="--color --condensed --raw --com --connection" ;;
        clear) options="--com --connection" ;;
        update) options="--com --connection" feed=only ;;
        watch)
            options="--com --connection --mqtt --mqtt-name --mqtt-discovery-prefix
                --no-mqtt-discovery" feed=only ;;
        *) return ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options --help" -- "$cur"))
        return
    fi

    # The words before this one that are neither options nor option values.
    local operands=0 i
    for ((i = 2; i < cword; i++)); do
        [[ ${words[i]} == -* || ${words[i - 1]} == --color || ${words[i - 1]} == --com ||
            ${words[i - 1]} == --connection || ${words[i - 1]} == --mqtt* ]] || ((operands++))
    done
    if [[ -n $feed && $operands -eq 0 ]]; then
        _filedir tlx
        return
    fi
    [[ -n $fields ]] || return

    if [[ $cur == *=* ]]; then
        local value=${cur#*=}
        case ${cur%%=*} in
            Connection) _tickerlux_cli_offer "$value" "${kinds[@]}" ;;
            Parity) _tickerlux_cli_offer "$value" none even odd ;;
            ColorIndex) _tickerlux_cli_offer "$value" 0 1 2 3 4 5 6 7 8 9 10 ;;
            AutoUpdate | Condensed | ReservedFlag | ShowTime) _tickerlux_cli_offer "$value" 0 1 ;;
        esac
        return
    fi
    COMPREPLY=($(compgen -S = -W "$fields" -- "$cur"))
    compopt -o nospace
}
complete -F _tickerlux_cli tickerlux-cli
