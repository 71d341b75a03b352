#!/usr/bin/env bash
# Builds every fuzz target with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer (build dir build/fuzz, or FUZZ_BUILD_DIR) and
# runs each for MINUTES minutes, one after the other, starting from its
# corpus fuzz/corpus/<Name>/. New inputs go to build/fuzz/corpus/<Name>/ (the
# checked-in corpus is not touched), findings to build/fuzz/findings/<Name>/.
# Prints per target: executions, exec/s, coverage (cov, ft), corpus size and
# findings; exits 1 when any target found something.
#
#   fuzz/run-all.sh MINUTES [TARGET...]    e.g. fuzz/run-all.sh 5 IniSettings
#   FUZZ_RUNS=10000000 fuzz/run-all.sh 60  also stop a target after that many runs
#   FUZZ_NO_BUILD=1 ...                    run what is built
set -euo pipefail

minutes=${1:?usage: fuzz/run-all.sh MINUTES [TARGET...]}
shift
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
build=${FUZZ_BUILD_DIR:-$source_dir/build/fuzz}
jobs=${FUZZ_BUILD_JOBS:-2}

[ "${FUZZ_NO_BUILD:-}" = 1 ] || cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DVELMARIS_LIBFUZZER=ON -DVELMARIS_SANITIZE=ON \
    -DVELMARIS_BUILD_GUI=OFF -DVELMARIS_BUILD_BENCH=OFF >/dev/null

if [ $# -gt 0 ]; then
    names=("$@")
else
    names=()
    for source in "$here"/*/*.cpp; do
        names+=("$(basename "$source" .cpp)")
    done
fi
targets=()
for name in "${names[@]}"; do targets+=("fuzz_$name"); done
[ "${FUZZ_NO_BUILD:-}" = 1 ] || cmake --build "$build" -j "$jobs" --target "${targets[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
seconds=$((minutes * 60))
runs=${FUZZ_RUNS:--1}
status=0
summary=()
for name in "${names[@]}"; do
    work="$build/corpus/$name"
    findings="$build/findings/$name"
    mkdir -p "$work" "$findings"
    log="$build/findings/$name.log"
    # Inputs no longer than these reach every rule of their decoders (a few
    # records, a whole settings file, the GPS receive cap and a little more)
    # and keep each execution short; 0 lets libFuzzer choose.
    case $name in
        PlaybackFile* | IniSettings) max_len=4096 ;;
        Nmea) max_len=4608 ;;
        *) max_len=0 ;;
    esac
    echo "== $name: $minutes min" >&2
    set +e
    nice -n 10 "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -runs="$runs" -timeout=10 -max_len="$max_len" \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
        "$work" "$here/corpus/$name" >"$log" 2>&1
    rc=$?
    set -e
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    found=$(find "$findings" -type f | wc -l)
    [ "$rc" -ne 0 ] && status=1
    [ "$found" -ne 0 ] && status=1
    summary+=("$(printf '%-22s execs %-10s exec/s %-7s cov %-6s ft %-6s corpus %-5s findings %s (exit %s)' \
        "$name" "${execs:-?}" "${rate:-?}" "${cov:-?}" "${ft:-?}" "$(ls "$work" | wc -l)" "$found" "$rc")")
    echo "${summary[-1]}"
done
echo
printf '%s\n' "${summary[@]}"
exit $status
