#!/usr/bin/env bash
# Extraction benchmarks (host build, optimised, no sanitizers):
#  1. wall-clock time of extracting a ~50 MiB payload divided by the time of
#     `bzip2 -dc` on the same compressed stream (target with every
#     processor: at most 0.65 on a 2-core machine), for sequential reading
#     and for 1, 2 and all decoding threads;
#  2. peak memory of extracting an 8 MiB and a 400 MiB package (must not
#     grow with the package size). Skipped with EXTRACT_BENCH_MEMORY=0.
# Each figure is the best of RUNS runs (default 5) taken in turns, so that
# other work on a shared machine disturbs them little; the slowest run is
# printed too.
# Usage: bench/run-extract-bench.sh [WORK_DIR]   (default: a folder in $TMPDIR)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
work=${1:-$(mktemp -d "${TMPDIR:-/tmp}/extract-bench.XXXXXX")}
runs=${RUNS:-5}
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

core=$(ls "$root"/core/*.cpp | grep -v 'Win32\.cpp$')
launcher=$(ls "$root"/launcher/*.cpp | grep -v '/CartonMain\.cpp$')
echo "building extract_bench (-O2)..." >&2
c++ -std=c++17 -O2 -DNDEBUG -I"$root/core" -I"$root/launcher" $core $launcher \
    "$here/extract_bench.cpp" -lbz2 -lpthread -o "$work/extract_bench"
bench=$work/extract_bench

minimum() { tr ' ' '\n' | grep . | sort -g | head -1; }
maximum() { tr ' ' '\n' | grep . | sort -g | tail -1; }
ratio() { awk "BEGIN{printf \"%.3f\", $1 / $2}"; }

echo "== 1. extraction wall time vs bzip2 -dc (50 MiB payload, $(nproc) processors)"
"$bench" make "$work/src50" 50 "$work/p50.exe"
rm -rf "$work/src50"
settings="0 1 2 -1"
declare -A ours
theirs=""
for _ in $(seq "$runs"); do
    for threads in $settings; do
        rm -rf "$work/out50"
        ours[$threads]="${ours[$threads]:-} $("$bench" extract "$work/p50.exe" "$work/out50" "$threads" |
                                           awk '{print $2}')"
    done
    theirs="$theirs $( { /usr/bin/time -f '%e' bzip2 -dc "$work/p50.exe.bz2" > "$work/plain50"; } 2>&1 |
                      tail -1)"
done
rm -rf "$work/out50" "$work/plain50"
best=$(echo "$theirs" | minimum)
echo "bzip2 -dc: ${best}s to $(echo "$theirs" | maximum)s"
for threads in $settings; do
    case $threads in 0) name="sequential";; -1) name="all processors";; *) name="$threads threads";; esac
    low=$(echo "${ours[$threads]}" | minimum)
    high=$(echo "${ours[$threads]}" | maximum)
    echo "extraction, $name: ${low}s to ${high}s, ratio $(ratio "$low" "$best")" \
         "(slowest runs: $(ratio "$high" "$(echo "$theirs" | maximum)"))"
done
echo "(target with all processors: ratio <= 0.65)"
rm -f "$work"/p50.exe*

[ "${EXTRACT_BENCH_MEMORY:-1}" = 0 ] && exit 0
echo "== 2. peak memory of extraction"
for mb in 8 400; do
    "$bench" make "$work/src$mb" "$mb" "$work/p$mb.exe" > /dev/null
    rm -rf "$work/src$mb" "$work/p$mb.exe.bz2"
    echo "$mb MiB package: $("$bench" extract "$work/p$mb.exe" "$work/out$mb")"
    rm -rf "$work/out$mb" "$work/p$mb.exe"
done
