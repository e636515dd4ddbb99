#!/usr/bin/env bash
# Extraction benchmarks (host build, optimised, no sanitizers):
#  1. time of extracting a ~50 MiB payload divided by the time of
#     `bzip2 -dc` on the same compressed stream (target: at most 1.10);
#  2. peak memory of extracting an 8 MiB and a 400 MiB package (must not
#     grow with the package size).
# Times are processor seconds (user + system), the best of five runs taken
# in turns, so that other work on a shared machine disturbs them little.
# Usage: bench/run-extract-bench.sh [WORK_DIR]   (default: a folder in $TMPDIR)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
work=${1:-$(mktemp -d "${TMPDIR:-/tmp}/extract-bench.XXXXXX")}
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

core=$(ls "$root"/core/*.cpp | grep -v 'Win32\.cpp$')
launcher=$(ls "$root"/launcher/*.cpp | grep -v '/CartonMain\.cpp$')
echo "building extract_bench (-O2)..." >&2
c++ -std=c++17 -O2 -DNDEBUG -I"$root/core" -I"$root/launcher" $core $launcher \
    "$here/extract_bench.cpp" -lbz2 -lpthread -o "$work/extract_bench"
bench=$work/extract_bench

minimum() { tr ' ' '\n' | grep . | sort -g | head -1; }

echo "== 1. extraction time vs bzip2 -dc (50 MiB payload)"
"$bench" make "$work/src50" 50 "$work/p50.exe"
rm -rf "$work/src50"
ours="" theirs=""
for _ in 1 2 3 4 5; do
    rm -rf "$work/out50"
    ours="$ours $("$bench" extract "$work/p50.exe" "$work/out50" | awk '{print $4}')"
    theirs="$theirs $( { /usr/bin/time -f '%U %S' bzip2 -dc "$work/p50.exe.bz2" > "$work/plain50"; } 2>&1 |
                      tail -1 | awk '{print $1 + $2}')"
done
rm -rf "$work/out50" "$work/plain50"
ours=$(echo "$ours" | minimum)
theirs=$(echo "$theirs" | minimum)
echo "extraction ${ours}s, bzip2 -dc ${theirs}s (processor time)," \
     "ratio $(awk "BEGIN{printf \"%.3f\", $ours / $theirs}") (target <= 1.10)"
rm -f "$work"/p50.exe*

echo "== 2. peak memory of extraction"
for mb in 8 400; do
    "$bench" make "$work/src$mb" "$mb" "$work/p$mb.exe" > /dev/null
    rm -rf "$work/src$mb" "$work/p$mb.exe.bz2"
    echo "$mb MiB package: $("$bench" extract "$work/p$mb.exe" "$work/out$mb")"
    rm -rf "$work/out$mb" "$work/p$mb.exe"
done
