#!/usr/bin/env bash
# Long fuzzing: builds the "fuzz" configuration, then runs every libFuzzer
# target (fuzz/<name>_fuzzer.cpp) for MINUTES minutes each, two at a time,
# and prints a table of executions and findings per target.
#
#   scripts/fuzz-long.sh MINUTES
#
# Each target keeps a working corpus in build/fuzz/fuzz-long/corpus/<name>/
# (grown across runs; the committed seeds in fuzz/corpus/<name>/ are only
# read). Findings (crash-, leak-, timeout- and oom- files) go to
# build/fuzz/fuzz-long/run-<time>/<name>/ with each target's log, and are
# listed at the end; a target
# that finds something is restarted for the rest of its time, until it finds
# nothing new. Exit status 1 when there are findings. CARTON_FUZZ_TARGETS
# (names separated by spaces) limits the run to those targets.
set -euo pipefail
minutes=${1:-}
if ! [[ "$minutes" =~ ^[0-9]+$ ]] || [ "$minutes" -lt 1 ]; then
    echo "usage: $0 MINUTES" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
parallel=${CARTON_FUZZ_PARALLEL:-2}

echo "=== building the fuzz configuration"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" >/dev/null

build="$root/build/fuzz"
out="$build/fuzz-long/run-$(date -u +%Y%m%d-%H%M%S)"
corpora="$build/fuzz-long/corpus"
mkdir -p "$out" "$corpora"
names=()
for src in fuzz/*_fuzzer.cpp; do
    name=$(basename "$src" _fuzzer.cpp)
    if [ -n "${CARTON_FUZZ_TARGETS:-}" ] && ! [[ " $CARTON_FUZZ_TARGETS " == *" $name "* ]]; then
        continue
    fi
    if [ ! -x "$build/fuzz/${name}_fuzzer" ]; then
        echo "missing program: $build/fuzz/${name}_fuzzer" >&2
        exit 1
    fi
    names+=("$name")
done

# run_target <name>: fuzzes for the whole time; writes the executions and the
# number of runs to <out>/<name>/result.
run_target() {
    local name=$1 dir="$out/$1" corpus="$corpora/$1" deadline now left runs=0 total=0 units before after
    mkdir -p "$corpus" "$dir/findings"
    : > "$dir/log"
    deadline=$(( $(date +%s) + minutes * 60 ))
    while now=$(date +%s); left=$((deadline - now)); [ "$left" -gt 0 ]; do
        before=$(ls "$dir/findings" | wc -l)
        local args=("$corpus")
        [ -d "fuzz/corpus/$name" ] && args+=("fuzz/corpus/$name")
        "$build/fuzz/${name}_fuzzer" "${args[@]}" -max_total_time="$left" -rss_limit_mb=2048 \
            -timeout=10 -print_final_stats=1 -artifact_prefix="$dir/findings/" \
            >"$dir/run.log" 2>&1 || true
        cat "$dir/run.log" >> "$dir/log"
        units=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$dir/run.log" | tail -n1)
        total=$((total + ${units:-0}))
        runs=$((runs + 1))
        after=$(ls "$dir/findings" | wc -l)
        # Stopped early without a new finding (the same crash again, or a
        # fault outside libFuzzer's reach): restarting would only repeat it.
        if [ "$after" -eq "$before" ]; then
            break
        fi
    done
    rm -f "$dir/run.log"
    echo "$total $runs" > "$dir/result"
}

if [ "${#names[@]}" = 0 ]; then
    echo "no fuzz targets to run" >&2
    exit 1
fi
echo "=== fuzzing ${#names[@]} targets for $minutes minute(s) each, $parallel at a time"
running=0
for name in "${names[@]}"; do
    if [ "$running" -ge "$parallel" ]; then
        wait -n || true
        running=$((running - 1))
    fi
    run_target "$name" &
    running=$((running + 1))
done
wait

echo
printf '%-14s %8s %14s %9s\n' target minutes executions findings
findings_total=0
for name in "${names[@]}"; do
    read -r execs runs < "$out/$name/result" || { execs=0; runs=0; }
    found=$(ls "$out/$name/findings" | wc -l)
    findings_total=$((findings_total + found))
    printf '%-14s %8s %14s %9s\n' "$name" "$minutes" "$execs" "$found"
done
if [ "$findings_total" -gt 0 ]; then
    echo
    echo "findings:"
    for name in "${names[@]}"; do
        for f in "$out/$name/findings"/*; do
            [ -e "$f" ] && echo "  $f"
        done
    done
    exit 1
fi
echo
echo "no findings"
