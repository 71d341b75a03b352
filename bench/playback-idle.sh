#!/usr/bin/env bash
# Playback at rest: the release station plays a large recording offscreen
# and the script measures what it costs while nothing is asked of it, and
# how soon it answers SIGTERM in the middle of the file:
#   - CPU at `Playback Speed` 0 (one record a tick, ticks 10 ms apart) and 12;
#   - the time from SIGTERM to the station's exit (goal: 0.2 s).
# The held playback does no work at all (no tick is armed while held; the
# playback tests check that); speed 0 still paints 100 pings a second.
#
#   bench/playback-idle.sh [GIB]     BUILD=build/release, GIB default 1
# Registered in no test; the recording is made in a temporary folder and
# removed afterwards.
set -euo pipefail

gib=${1:-1}
here=$(cd "$(dirname "$0")" && pwd)
build=${BUILD:-$(dirname "$here")/build/release}
station=$build/bin/velmaris
tool=$build/bin/velmaris-tool
for program in "$station" "$tool"; do
    [ -x "$program" ] || { echo "playback-idle: $program is missing" >&2; exit 2; }
done
work=$(mktemp -d /tmp/velmaris-idle.XXXXXX)
pid=""
cleanup() {
    [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

"$tool" synth "$work/part.52l" --pings 200000 --mode polar --range 30 --seed 1 >/dev/null
part_bytes=$(stat -c %s "$work/part.52l")
copies=$(( (gib * 1024 * 1024 * 1024 + part_bytes - 1) / part_bytes ))
for _ in $(seq "$copies"); do cat "$work/part.52l"; done >"$work/big.52l"
rm "$work/part.52l"
echo "playback-idle: $(( $(stat -c %s "$work/big.52l") / 1048576 )) MiB recording"

ticks=$(getconf CLK_TCK)
for speed in 0 12; do
    printf '[System Settings]\nPlayback Speed=%d\n' "$speed" >"$work/Velmaris.INI"
    XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=offscreen "$station" --ini "$work/Velmaris.INI" \
        --play "$work/big.52l" >"$work/station.log" 2>&1 &
    pid=$!
    sleep 3
    before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    sleep 5
    after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    cpu=$(awk -v t=$((after - before)) -v hz="$ticks" 'BEGIN {printf "%.1f", 100 * t / hz / 5}')
    start=$(date +%s%N)
    kill -TERM "$pid"
    wait "$pid" || true
    took=$(( ($(date +%s%N) - start) / 1000000 ))
    pid=""
    echo "  speed $speed: CPU $cpu % of a core; SIGTERM to exit ${took} ms"
done
