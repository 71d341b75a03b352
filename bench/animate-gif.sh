#!/usr/bin/env bash
# The whole `velmaris-tool render --animate x.gif` command on a recording of
# 100,000 polar pings (the default 1000 x 1000 frame after every 20 pings):
# pings a second by the clock and over the processor time of all its
# threads, each against the goal of 50,000 (`of_goal`, 1 or more meets it),
# the peak resident memory, the file's size, and the load average the
# machine carried (times by the clock mean little above a load of 1.5).
#
#   bench/animate-gif.sh [RUNS] [PINGS]     BUILD=build/release, RUNS 3, PINGS 100000
# Registered in no test; the recording and the GIF are made in a temporary
# folder and removed afterwards. The fastest run is the one reported.
set -euo pipefail

runs=${1:-3}
pings=${2:-100000}
here=$(cd "$(dirname "$0")" && pwd)
build=${BUILD:-$(dirname "$here")/build/release}
tool=$build/bin/velmaris-tool
[ -x "$tool" ] || { echo "animate-gif: $tool is missing" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "animate-gif: /usr/bin/time is missing (Debian: time)" >&2; exit 2; }
work=$(mktemp -d /tmp/velmaris-animate.XXXXXX)
trap 'rm -rf "$work"' EXIT

"$tool" synth "$work/dive.52l" --pings "$pings" --mode polar --seed 1 >/dev/null
best=""
for run in $(seq "$runs"); do
    rm -f "$work/dive.gif"
    load=$(cut -d' ' -f1 /proc/loadavg)
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$tool" render "$work/dive.52l" --animate "$work/dive.gif" \
        2>/dev/null
    read -r wall user sys peak <"$work/time"
    line=$(awk -v p="$pings" -v w="$wall" -v u="$user" -v s="$sys" -v m="$peak" -v l="$load" \
        -v b="$(stat -c %s "$work/dive.gif")" 'BEGIN {
            c = u + s
            printf "%.2f s by the clock (%.0f pings/s, of_goal %.2f), %.2f s of processor time (%.0f pings/s, cpu_of_goal %.2f), peak %.0f MB, %.0f MB written, load %s",
                w, p / w, p / w / 50000, c, p / c, p / c / 50000, m / 1024, b / 1e6, l }')
    echo "  run $run: $line"
    if [ -z "$best" ] || awk -v a="$wall" -v b="${best%% *}" 'BEGIN {exit !(a < b)}'; then
        best="$wall $line"
    fi
done
echo "animate-gif: $pings pings, fastest: ${best#* }"
