#!/usr/bin/env bash
# `make demo`: the whole job on a machine with no sign and no network. A made-up news page is
# served on 127.0.0.1, a feed is made that points at it, the virtual sign listens on a COM
# number of its own, one `tickerlux-cli update` runs, and what the sign shows is printed.
# Everything lives in a temporary folder (its own XDG_CONFIG_HOME, so none of your settings are
# read or changed) that is removed at the end. With DEMO_PICTURE=FILE.png the virtual sign also
# draws its face into that file (the picture in the README is made this way).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${TICKERLUX_BUILD_DIR:-$root/build/default}
cli=$build/cli/tickerlux-cli
pageserve=$build/tools/tickerlux-pageserve
signsim=$build/tools/signsim/tickerlux-signsim
page=$root/res/demo/headlines.html
for program in "$cli" "$pageserve" "$signsim"; do
    [[ -x $program ]] || { echo "demo: $program is missing; run 'make build' first" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tickerlux-demo-XXXXXX")
export XDG_CONFIG_HOME=$work/config
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Waits up to 10 s for a line matching $2 in file $1.
wait_for_line() {
    local i
    for ((i = 0; i < 100; i++)); do
        grep -q "$2" "$1" 2>/dev/null && return 0
        sleep 0.1
    done
    echo "demo: gave up waiting for '$2' in $1:" >&2
    cat "$1" >&2
    return 1
}

# A COM number whose default device does not exist, so nothing real is written even if the
# port map entry were missing.
com=1
while [[ -e /dev/ttyS$((com - 1)) ]]; do com=$((com + 1)); done

echo "== Serving res/demo/headlines.html on 127.0.0.1"
"$pageserve" --path /headlines.html "$page" >"$work/pageserve.out" 2>&1 &
pids+=($!)
wait_for_line "$work/pageserve.out" '^port '
port=$(sed -n 's/^port \([0-9]*\).*/\1/p' "$work/pageserve.out" | head -n 1)
echo "   http://127.0.0.1:$port/headlines.html"

echo "== Starting the virtual sign as COM$com (it stops after the three transmissions)"
sign_options=(--com "$com" --count 3)
[[ -n ${DEMO_PICTURE:-} ]] && sign_options+=(--picture "$DEMO_PICTURE")
"$signsim" "${sign_options[@]}" >"$work/sign.out" 2>&1 &
signsim_pid=$!
pids+=("$signsim_pid")
wait_for_line "$work/sign.out" 'listening'

echo "== tickerlux-cli config (stored in the demo's own settings folder)"
"$cli" config "Connection=serial port - betabrite classic" "ComPort=$com" BaudRate=9600 \
    ByteSize=7 Parity=even StopBits=1
"$cli" config | sed 's/^/   /'

feed=$work/demo.tlx
echo "== tickerlux-cli set demo.tlx"
"$cli" set "$feed" "WebServer=127.0.0.1:$port" WebPath=/headlines.html \
    'TextBefore=<li class="headline">' 'TextAfter=</li>' 'LeadingComment=Harbour Town Courier' \
    ShowTime=1
"$cli" show "$feed" | sed 's/^/   /'

echo "== tickerlux-cli update demo.tlx"
"$cli" update "$feed"

# --count 3 ends the sign after the update's three transmissions.
for ((i = 0; i < 100; i++)); do
    kill -0 "$signsim_pid" 2>/dev/null || break
    sleep 0.1
done
echo "== What the virtual sign received and shows"
sed 's/^/   /' "$work/sign.out"
