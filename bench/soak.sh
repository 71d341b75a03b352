#!/usr/bin/env bash
# Soak: the real station process (offscreen) against the simulated K52L head
# with faults, for MINUTES minutes (default 10; an hour for a release),
# sampling the station's resident memory (VmRSS) every 30 s. After the
# warm-up (the first fifth of the run, at least one minute) the resident size
# must stay flat: the least-squares slope of the samples may not exceed
# 1 MB per hour. Prints the samples, the head's ping count and a verdict;
# exits 0 on pass, 1 on fail.
#
#   bench/soak.sh [MINUTES]          BUILD=build/release by default
#   SOAK_FAULTS=... SOAK_INTERVAL=30 bench/soak.sh 60
#
# The head listens on 127.0.0.1:4040, the station's fixed head port, inside
# a network namespace of its own (unshare), so nothing else on the machine
# is disturbed and nothing but loopback is reached. Registered in no test.
set -euo pipefail

minutes=${1:-10}
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
build=${BUILD:-$source_dir/build/release}
station=$build/bin/velmaris
tool=$build/bin/velmaris-tool
faults=${SOAK_FAULTS:-delay=17:1300,drop=11,split=5:3:20,close=53,garbage=13}
interval=${SOAK_INTERVAL:-30}
limit_kb_per_hour=${SOAK_LIMIT_KB_PER_HOUR:-1024}
for program in "$station" "$tool"; do
    [ -x "$program" ] || { echo "soak: $program is missing (build the release preset first)" >&2; exit 2; }
done

if [ "${SOAK_IN_NAMESPACE:-}" != 1 ]; then
    if [ "$(id -u)" = 0 ]; then namespace=(unshare -n); else namespace=(unshare -rn); fi
    exec "${namespace[@]}" env SOAK_IN_NAMESPACE=1 BUILD="$build" SOAK_FAULTS="$faults" \
        SOAK_INTERVAL="$interval" SOAK_LIMIT_KB_PER_HOUR="$limit_kb_per_hour" "$0" "$minutes"
fi
ip link set lo up

work=$(mktemp -d /tmp/velmaris-soak.XXXXXX)
head_pid=""
station_pid=""
cleanup() {
    [ -n "$station_pid" ] && kill "$station_pid" 2>/dev/null || true
    [ -n "$head_pid" ] && kill "$head_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

printf '[System Settings]\nSonar Type=1\nIP Address=127.0.0.1\nUDP Mode=0\n[Sonar Settings]\nRange=30\nRange Index=7\n' \
    >"$work/Velmaris.INI"
"$tool" headsim --tcp 127.0.0.1:4040 --faults "$faults" --log >"$work/head.log" 2>&1 &
head_pid=$!
sleep 1
seconds=$((minutes * 60))
QT_QPA_PLATFORM=offscreen "$station" --ini "$work/Velmaris.INI" --run-for $((seconds + 60)) \
    >"$work/station.log" 2>&1 &
station_pid=$!

echo "soak: $minutes min, faults $faults, sample every ${interval}s (station pid $station_pid)"
samples=()
times=()
start=$(date +%s)
while :; do
    now=$(( $(date +%s) - start ))
    if [ ! -r /proc/$station_pid/status ]; then
        echo "soak: FAIL - the station ended after ${now}s"
        tail -20 "$work/station.log"
        exit 1
    fi
    rss=$(awk '/^VmRSS:/ {print $2}' /proc/$station_pid/status)
    pings=$(wc -l <"$work/head.log")
    samples+=("$rss")
    times+=("$now")
    printf '  t=%5ds  VmRSS %8d kB  head pings %d\n' "$now" "$rss" "$pings"
    [ "$now" -ge "$seconds" ] && break
    sleep "$interval"
done

warmup=$(( seconds / 5 > 60 ? seconds / 5 : 60 ))
verdict=$(printf '%s %s\n' $(for i in "${!samples[@]}"; do echo "${times[$i]} ${samples[$i]}"; done) |
    awk -v warm="$warmup" -v limit="$limit_kb_per_hour" '
    $1 >= warm { n++; sx += $1; sy += $2; sxx += $1 * $1; sxy += $1 * $2
                 if (n == 1) first = $2; last = $2; if ($2 > max) max = $2 }
    END {
        if (n < 3) { print "FAIL too few samples after the warm-up"; exit }
        slope = (n * sxy - sx * sy) / (n * sxx - sx * sx) * 3600
        printf "%s slope %.0f kB/h (limit %d), first %d kB, last %d kB, peak %d kB after %ds warm-up, %d samples\n",
            (slope <= limit ? "PASS" : "FAIL"), slope, limit, first, last, max, warm, n
    }')
echo "soak: $verdict"
pings=$(wc -l <"$work/head.log")
echo "soak: the head answered $pings pings in ${now}s"
[ "${verdict%% *}" = PASS ]
