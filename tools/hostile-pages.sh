#!/usr/bin/env bash
# Pages that once cost the headline pipeline far more than their size, each served on 127.0.0.1
# and read with `tickerlux-cli line`; prints the headlines found, the wall time and the peak
# memory of each run. Usage: tools/hostile-pages.sh [BUILD_DIR] (default build/default).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/default}
work=$(mktemp -d)
trap 'kill "${server:-}" 2>/dev/null || true; rm -rf "$work"' EXIT

# A paragraph of nested formatting tags, each with its own attribute, then paragraphs until
# `size` bytes: a tree parser rebuilds every one of the tags in each paragraph.
bomb() {
    local size=$1 out=$2 i
    { printf '<h2><p>'; for ((i = 1; i <= 400; i++)); do printf '<b id=%d>' "$i"; done; } >"$out"
    local unit='<p>x</p>' have
    have=$(stat -c %s "$out")
    printf '%*s' $(((size - have - 5) / ${#unit})) '' | sed "s| |$unit|g" >>"$out"
    printf '</h2>' >>"$out"
}

# `count` tags nested in one headline.
deep() {
    { printf '<h2>'; printf '%*s' "$1" '' | sed 's/ /<b>/g'; printf 'x</h2>'; } >"$2"
}

# Chinese text of about `filler` bytes without headlines, then `count` Chinese headlines.
chinese() {
    local filler=$1 count=$2 out=$3
    local word='北京新闻' i
    { printf '<html><meta charset="utf-8"><p>'
      printf '%*s' $((filler / 12)) '' | sed "s/ /$word/g"
      printf '</p>'
      for ((i = 1; i <= count; i++)); do printf '<h2>%s</h2>' "$word"; done; } >"$out"
}

bomb 35000 "$work/bomb-35k.html"
bomb 89000 "$work/bomb-89k.html"
bomb 179000 "$work/bomb-179k.html"
bomb 199999 "$work/bomb-199999.html"
deep 66000 "$work/deep-66000.html"
chinese 150000 10 "$work/chinese-150k-10.html"
chinese 20000 8000 "$work/chinese-8000.html"

export XDG_CONFIG_HOME=$work/config no_proxy=127.0.0.1,localhost
cli=$build/cli/tickerlux-cli
printf '%-22s %8s %9s %10s %12s %s\n' page bytes headlines seconds 'peak KB' exit
for page in "$work"/*.html; do
    "$build/tools/tickerlux-pageserve" --path /news --type 'text/html' "$page" \
        >"$work/served" &
    server=$!
    until grep -q '^port ' "$work/served" 2>/dev/null; do sleep 0.05; done
    port=$(sed -n 's/^port //p' "$work/served")
    "$cli" set "$work/feed.tlx" "WebServer=127.0.0.1:$port" WebPath=/news TextBefore='<h2>' \
        TextAfter='</h2>' LeadingComment=News ShowTime=0 >/dev/null
    status=0
    # Deep nesting once crashed the parser's recursion on a stack of 1 MB.
    stack=$(ulimit -s); [[ $page == */deep-* ]] && stack=1024
    ( ulimit -s "$stack"; /usr/bin/time -v "$cli" line "$work/feed.tlx" >"$work/out" \
        2>"$work/time" ) || status=$?
    kill "$server"; wait "$server" 2>/dev/null || true
    headlines=$(grep -o ' -- ' "$work/out" | wc -l || true)
    seconds=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time")
    peak=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time")
    printf '%-22s %8d %9d %10s %12s %s\n' "$(basename "$page" .html)" "$(stat -c %s "$page")" \
        "$headlines" "$seconds" "$peak" "$status"
done
