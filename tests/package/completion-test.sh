#!/usr/bin/env bash
# completion-test.sh COMPLETION-SCRIPT: what bash offers after a few typed command lines, each
# given as the words readline makes of it (a '=' is a word of its own).
set -uo pipefail
source /usr/share/bash-completion/bash_completion
source "$1"
compopt() { :; }  # only works inside a completion that readline started

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
touch "$work/news.tlx" "$work/notes.txt"
mkdir "$work/feeds"
cd "$work"

failures=0
# expect "OFFERS|..." WORD...: completes the last word and compares the offers, in order.
expect() {
    local want=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_LINE=${COMP_LINE// = /=}
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _tickerlux_cli tickerlux-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local got
    got=$(printf '%s|' "${COMPREPLY[@]}")
    if [ "$got" != "$want" ]; then
        echo "FAIL: '$*' offers '$got', expected '$want'" >&2
        failures=$((failures + 1))
    fi
}

expect 'update|' tickerlux-cli up
expect 'Connection=|' tickerlux-cli config Conn
expect 'HeadlineCleanup=|' tickerlux-cli config Head
expect 'usb\ -\ betabrite\ prism|' tickerlux-cli config Connection = usb
expect 'serial\ port\ -\ custom\ settings|' tickerlux-cli config Connection = 'serial\ port\ -\ c'
expect 'none|' tickerlux-cli config Parity = n
expect 'WebServer=|WebPath=|' tickerlux-cli set news.tlx Web
expect 'Dim\ Green|Dim\ Red|' tickerlux-cli send Hello --color Dim
expect 'news.tlx|feeds|' tickerlux-cli watch ''
expect '--com|--connection|--mqtt|--mqtt-name|--mqtt-discovery-prefix|--no-mqtt-discovery|--help|' \
    tickerlux-cli watch news.tlx --
expect 'news.tlx|feeds|' tickerlux-cli watch --mqtt-name shop ''
expect 'serial\ port\ -\ betabrite\ classic|serial\ port\ -\ custom\ settings|' \
    tickerlux-cli clear --connection ser

[ "$failures" -eq 0 ] && echo "all offers as expected"
exit "$failures"
