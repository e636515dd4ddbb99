#!/usr/bin/env bash
# A short libFuzzer run from a seed corpus. New inputs go to a scratch folder,
# so the committed corpus is only read; a crash file is kept in the build
# folder for replay.
#
#   fuzz-smoke.sh <fuzzer> <seed corpus folder> <seconds>
set -euo pipefail
fuzzer=$1 seeds=$2 seconds=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$(dirname "$fuzzer")/crashes"
args=("$scratch")
[ -d "$seeds" ] && args+=("$seeds")
exec "$fuzzer" "${args[@]}" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -artifact_prefix="$(dirname "$fuzzer")/crashes/" -print_final_stats=1
