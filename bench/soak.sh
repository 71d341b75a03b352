#!/usr/bin/env bash
# Soak: three real station processes (offscreen) for MINUTES minutes
# (default 10; an hour for a release), each against a simulated head with a
# fault of the field:
#   tcp     the K52L head with faults (delay, drop, split, close, garbage)
#   serial  the K52A head on a pseudo-terminal, unplugged (the terminal
#           closed) for SOAK_UNPLUGGED seconds after every SOAK_PLUGGED
#           seconds and plugged in again at the same path; the station
#           records into a file all along
#   silent  a K52L head that accepts the connection and never answers
# Every station's resident memory (VmRSS) is sampled every 30 s. Passes
# when, after the warm-up (the first fifth of the run, at least one
# minute), no station's resident size grows by more than 1 MB per hour
# (least-squares slope), the serial station uses under 5 % of a core while
# its head is unplugged, pings reach every plugged-in head again within a
# few seconds, its record file holds whole records only, and the silent
# head's connection is given up and made again. Prints the samples and a
# verdict; exits 0 on pass, 1 on fail.
#
#   bench/soak.sh [MINUTES]          BUILD=build/release by default
#   SOAK_FAULTS=... SOAK_INTERVAL=30 SOAK_PLUGGED=20 SOAK_UNPLUGGED=10 bench/soak.sh 60
#
# The heads listen on loopback inside a network namespace of its own
# (unshare), so nothing else on the machine is disturbed and nothing but
# loopback is reached. Registered in no test.
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
plugged=${SOAK_PLUGGED:-20}
unplugged=${SOAK_UNPLUGGED:-10}
for program in "$station" "$tool"; do
    [ -x "$program" ] || { echo "soak: $program is missing (build the release preset first)" >&2; exit 2; }
done

if [ "${SOAK_IN_NAMESPACE:-}" != 1 ]; then
    if [ "$(id -u)" = 0 ]; then namespace=(unshare -n); else namespace=(unshare -rn); fi
    exec "${namespace[@]}" env SOAK_IN_NAMESPACE=1 BUILD="$build" SOAK_FAULTS="$faults" \
        SOAK_INTERVAL="$interval" SOAK_LIMIT_KB_PER_HOUR="$limit_kb_per_hour" SOAK_PLUGGED="$plugged" \
        SOAK_UNPLUGGED="$unplugged" "$0" "$minutes"
fi
ip link set lo up

work=$(mktemp -d /tmp/velmaris-soak.XXXXXX)
heads=()
names=()
pids=()
replug_pid=""
cleanup() {
    for pid in "${pids[@]}" $replug_pid "${heads[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

seconds=$((minutes * 60))
# start_station NAME INI_TEXT [ENV=VALUE...] -- [ARGUMENT...]
start_station() {
    local name=$1 ini=$2
    shift 2
    local environment=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do environment+=("$1"); shift; done
    [ $# -gt 0 ] && shift
    printf '%b' "$ini" >"$work/$name.INI"
    env "${environment[@]}" QT_QPA_PLATFORM=offscreen "$station" --ini "$work/$name.INI" \
        --run-for $((seconds + 60)) "$@" >"$work/$name.log" 2>&1 &
    names+=("$name")
    pids+=($!)
}
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }

# The K52L head with faults, on the station's own head port.
"$tool" headsim --tcp 127.0.0.1:4040 --faults "$faults" --log >"$work/head.log" 2>&1 &
heads+=($!)
# A K52L head that takes every command and answers none.
"$tool" headsim --tcp 127.0.0.1:4041 --faults drop=1 >"$work/silent-head.log" 2>&1 &
heads+=($!)

# The K52A head, unplugged and plugged in again at the same path for the
# whole run. Each line of replug.log: the serial station's CPU share (%)
# while the head was away, and the pings the head answered in its first
# seconds back.
pty_link=$work/head-pty
station_ready=$work/serial-station.pid
(
    ticks_per_second=$(getconf CLK_TCK)
    head_pid=""
    trap '[ -n "$head_pid" ] && kill "$head_pid" 2>/dev/null; exit 0' TERM
    nap() { sleep "$1" & wait $!; } # the trap runs at once, not after the sleep
    plug_in() {
        round=$((round + 1))
        "$tool" headsim --pty "$pty_link" --log >"$work/pty-head.$round.log" 2>&1 &
        head_pid=$!
    }
    round=0
    plug_in
    until [ -s "$station_ready" ]; do nap 0.2; done
    serial_pid=$(cat "$station_ready")
    while :; do
        nap "$plugged"
        kill "$head_pid" 2>/dev/null || true
        wait "$head_pid" 2>/dev/null || true
        head_pid=""
        before=$(cpu_ticks "$serial_pid")
        nap "$unplugged"
        after=$(cpu_ticks "$serial_pid")
        awk -v t=$((after - before)) -v hz="$ticks_per_second" -v s="$unplugged" \
            'BEGIN { printf "away %.1f\n", 100 * t / hz / s }' >>"$work/replug.log"
        plug_in
        nap 3
        echo "back $(wc -l <"$work/pty-head.$round.log")" >>"$work/replug.log"
    done
) &
replug_pid=$!
for _ in $(seq 50); do [ -L "$pty_link" ] && break; sleep 0.1; done
sleep 1

start_station tcp '[System Settings]\nSonar Type=1\nIP Address=127.0.0.1\nUDP Mode=0\n[Sonar Settings]\nRange=30\nRange Index=7\n'
start_station serial "[System Settings]\nSonar Type=0\nSonarComPort=1\nUDP Mode=0\n[Sonar Settings]\nRange=30\nRange Index=7\n[Serial Devices]\nCOM1=$pty_link\n" \
    -- "$work/serial.52a"
echo "${pids[1]}" >"$station_ready"
start_station silent '[System Settings]\nSonar Type=1\nIP Address=127.0.0.1\nUDP Mode=0\n' VELMARIS_HEAD_PORT=4041

echo "soak: $minutes min; tcp faults $faults; serial head unplugged ${unplugged}s after every ${plugged}s;" \
    "a silent head; sample every ${interval}s (stations ${names[*]}: pids ${pids[*]})"
samples=()
times=()
silent_ports=()
start=$(date +%s)
while :; do
    now=$(( $(date +%s) - start ))
    line=$(printf '  t=%5ds ' "$now")
    for i in "${!pids[@]}"; do
        if [ ! -r "/proc/${pids[$i]}/status" ]; then
            echo "soak: FAIL - the ${names[$i]} station ended after ${now}s"
            tail -20 "$work/${names[$i]}.log"
            exit 1
        fi
        rss=$(awk '/^VmRSS:/ {print $2}' "/proc/${pids[$i]}/status")
        samples+=("$i $now $rss")
        line+=$(printf ' %s %7d kB' "${names[$i]}" "$rss")
    done
    # The silent station's end of its connection, if it has one now.
    port=$(ss -Htn state established '( dport = :4041 )' | awk '{split($3, a, ":"); print a[2]; exit}')
    [ -n "$port" ] && silent_ports+=("$port")
    printf '%s  tcp head pings %d\n' "$line" "$(wc -l <"$work/head.log")"
    [ "$now" -ge "$seconds" ] && break
    sleep "$interval"
done

warmup=$(( seconds / 5 > 60 ? seconds / 5 : 60 ))
failed=0
for i in "${!pids[@]}"; do
    verdict=$(for sample in "${samples[@]}"; do echo "$sample"; done | awk -v only="$i" -v warm="$warmup" \
        -v limit="$limit_kb_per_hour" '
        $1 == only && $2 >= warm { n++; sx += $2; sy += $3; sxx += $2 * $2; sxy += $2 * $3
                                   if (n == 1) first = $3; last = $3; if ($3 > max) max = $3 }
        END {
            if (n < 3) { print "FAIL too few samples after the warm-up"; exit }
            slope = (n * sxy - sx * sy) / (n * sxx - sx * sx) * 3600
            printf "%s slope %.0f kB/h (limit %d), first %d kB, last %d kB, peak %d kB after %ds warm-up, %d samples\n",
                (slope <= limit ? "PASS" : "FAIL"), slope, limit, first, last, max, warm, n
        }')
    echo "soak: ${names[$i]}: $verdict"
    [ "${verdict%% *}" = PASS ] || failed=1
done
echo "soak: the tcp head answered $(wc -l <"$work/head.log") pings in ${now}s"

# The serial head: CPU while away, pings once back, whole records.
kill "$replug_pid" 2>/dev/null || true
wait "$replug_pid" 2>/dev/null || true
replug_pid=""
away=$(awk '$1 == "away" { n++; if ($2 > max) max = $2 } END { printf "%d %.1f", n, max }' "$work/replug.log" 2>/dev/null)
returns=$(awk '$1 == "back" { n++; if ($2 == 0) silent++ } END { printf "%d %d", n, silent }' "$work/replug.log" 2>/dev/null)
read -r unplugs max_cpu <<<"$away"
read -r replugs unanswered <<<"$returns"
kill "${pids[1]}" 2>/dev/null || true
wait "${pids[1]}" 2>/dev/null || true
"$tool" dump "$work/serial.52a" >"$work/serial.dump" 2>"$work/serial.damage" || true
records=$(wc -l <"$work/serial.dump")
verdict=$(awk -v u="$unplugs" -v cpu="$max_cpu" -v r="$replugs" -v q="$unanswered" -v rec="$records" \
    -v damage="$(wc -c <"$work/serial.damage")" 'BEGIN {
        ok = u > 0 && cpu < 5 && q == 0 && rec > 0 && damage == 0
        printf "%s %d unplugs (at most %.1f %% CPU while away, limit 5), %d replugs (%d without pings after 3 s), %d records, %s\n",
            ok ? "PASS" : "FAIL", u, cpu, r, q, rec, damage == 0 ? "no damage" : "DAMAGED records"
    }')
echo "soak: serial: $verdict"
[ "${verdict%% *}" = PASS ] || failed=1

# The silent head: its connection is made again and again.
connections=$(printf '%s\n' "${silent_ports[@]}" | sort -u | grep -c . || true)
if [ "$connections" -ge 2 ]; then
    echo "soak: silent: PASS $connections different connections seen in ${#silent_ports[@]} samples"
else
    echo "soak: silent: FAIL $connections different connections seen in ${#silent_ports[@]} samples"
    failed=1
fi
[ "$failed" = 0 ]
