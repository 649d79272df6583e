#!/usr/bin/env bash
# `make bench`: one full Update Sign Now against a local 199,999-byte page with 1,000 headlines
# and the virtual sign (no line-speed limit), median wall time of the command and of each stage,
# for today's plain HTML page and for a UTF-8 feed full of entities and non-Latin-1 text; then
# any other benchmark program of the build. RUNS=N sets the number of runs (default 30).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${TICKERLUX_BUILD_DIR:-$root/build/default}
bench=$build/tests/bench

if [[ ! -x $bench/update_bench ]]; then
    echo "bench: $bench/update_bench is missing; build with TICKERLUX_BENCH=ON ('make build')" >&2
    exit 1
fi
"$bench/update_bench" "$build/tools/signsim/tickerlux-signsim" "${RUNS:-30}"

for program in "$bench"/*; do
    [[ -f $program && -x $program && $(basename "$program") != update_bench ]] || continue
    echo
    echo "== $(basename "$program")"
    "$program"
done
