#!/bin/bash
# The station's start to its first command on the wire, against the
# simulated head of `velmaris-tool headsim` (one line per command it takes),
# the station on an X server of 1920 x 1080 (Xvfb) or offscreen. Starts the
# station N times, each stopped once the head has logged its first command,
# and prints each time, the median, the least and the most, against the goal
# of 100 ms. Everything talks over loopback only; run it inside
# `unshare -n` (with `ip link set lo up`) to be sure of that.
#
#   [STATION=PATH] bench/first-command.sh [BUILD_DIR] [N] [xvfb|offscreen]
#
# Not run by ctest: the figures depend on the machine and its load.
set -u
build=${1:-build/release}
starts=${2:-10}
display=${3:-xvfb}
station=${STATION:-$build/bin/velmaris} # STATION=PATH times another build of the station
tool=$build/bin/velmaris-tool
goal_ms=100
[ -x "$station" ] && [ -x "$tool" ] || { echo "no $station or $tool: build first" >&2; exit 2; }

dir=$(mktemp -d /tmp/velmaris-first-XXXXXX)
mkdir -m 700 "$dir/runtime"
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null && wait "$p" 2>/dev/null; done
    rm -rf "$dir"
}
trap cleanup EXIT

port=$((20000 + RANDOM % 20000))
"$tool" headsim --tcp "127.0.0.1:$port" --fast --log > "$dir/head.log" &
pids+=($!)
for _ in $(seq 100); do grep -q listening "$dir/head.log" 2>/dev/null && break; sleep 0.02; done
grep -q listening "$dir/head.log" || { echo "headsim did not start" >&2; exit 1; }

if [ "$display" = xvfb ]; then
    number=$((50 + RANDOM % 400))
    Xvfb ":$number" -screen 0 1920x1080x24 -nolisten tcp 2> /dev/null &
    pids+=($!)
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$number" ] && break; sleep 0.02; done
    platform=(DISPLAY=":$number" QT_QPA_PLATFORM=xcb)
else
    printf '{"screens": [{"name": "b", "x": 0, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]}\n' > "$dir/screen.json"
    platform=(QT_QPA_PLATFORM="offscreen:configfile=$dir/screen.json")
fi

times=()
for i in $(seq "$starts"); do
    printf '[System Settings]\nSonar Type=1\nIP Address=127.0.0.1\n' > "$dir/Velmaris.INI"
    before=$(grep -c '^tcp ping' "$dir/head.log")
    t0=$(date +%s%N)
    env "${platform[@]}" VELMARIS_HEAD_PORT="$port" VELMARIS_UDP_PORT=0 HOME="$dir" \
        XDG_CONFIG_HOME="$dir" XDG_RUNTIME_DIR="$dir/runtime" \
        "$station" --ini "$dir/Velmaris.INI" > /dev/null 2>&1 &
    sp=$!
    t1=0
    for _ in $(seq 20000); do # 10 s at most
        if [ "$(grep -c '^tcp ping' "$dir/head.log")" -gt "$before" ]; then
            t1=$(date +%s%N)
            break
        fi
        sleep 0.0005
    done
    kill "$sp" 2>/dev/null
    wait "$sp" 2>/dev/null
    if [ "$t1" -gt 0 ]; then
        ms=$(( (t1 - t0) / 100000 ))
        times+=("$ms")
        printf 'start %d: %d.%d ms\n' "$i" $((ms / 10)) $((ms % 10))
    else
        echo "start $i: no command within 10 s"
    fi
done
[ ${#times[@]} -gt 0 ] || exit 1
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
n=${#sorted[@]}
median=${sorted[$((n / 2))]}
printf 'exec -> first command (%s, 1920x1080, %d starts): median %d.%d ms, least %d.%d, most %d.%d; goal %d ms, of goal %s\n' \
    "$display" "$n" $((median / 10)) $((median % 10)) $((sorted[0] / 10)) $((sorted[0] % 10)) \
    $((sorted[n - 1] / 10)) $((sorted[n - 1] % 10)) "$goal_ms" \
    "$(awk -v g="$goal_ms" -v m="$median" 'BEGIN { printf "%.2f", g * 10 / m }')"
