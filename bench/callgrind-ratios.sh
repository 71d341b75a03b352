#!/usr/bin/env bash
# Instruction counts per item of each product section and its floor, and
# their ratio: runs a benchmark program under callgrind, which collects only
# the sections the program marks (bench/CallgrindSections.h, "<case> product"
# and "<case> floor"), and reads the dumps. Counts repeat to the instruction
# on a busy machine, unlike times.
# usage: bench/callgrind-ratios.sh BENCH_PROGRAM [BENCHMARK_FILTER]
#   e.g. bench/callgrind-ratios.sh build/release/bench/bench_image 'PingVs'
set -euo pipefail
bench=${1:?usage: callgrind-ratios.sh BENCH_PROGRAM [FILTER]}
filter=${2:-.}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
if ! valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$dir/cg" \
    "$bench" --benchmark_filter="$filter" --benchmark_min_time=0 >"$dir/out" 2>"$dir/log"; then
    cat "$dir/log" >&2
    exit 1
fi
for n in $(ls "$dir" | sed -n 's/^cg\.//p' | sort -n); do
    f="$dir/cg.$n"
    name=$(grep -a '^desc: Trigger: Client Request: ' "$f" | sed 's/^desc: Trigger: Client Request: //' | tr -d '\000')
    total=$(grep -a '^summary: ' "$f" | sed 's/^summary: //')
    echo "$name|$total"
done | awk -F'|' '
    { role = $1; sub(/.* /, "", role); c = $1; sub(/ [^ ]*$/, "", c); per = $3 / $2 }
    role == "product" { p[c] = per; order[n++] = c }
    role == "floor" { f[c] = per }
    END {
        printf "%-28s %14s %14s %7s\n", "case", "Ir/item", "floor Ir/item", "ratio"
        for (i = 0; i < n; ++i) {
            c = order[i]
            printf "%-28s %14.0f %14.0f %7.2f\n", c, p[c], f[c], (f[c] > 0 ? p[c] / f[c] : 0)
        }
    }'
