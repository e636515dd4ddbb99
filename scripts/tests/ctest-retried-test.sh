#!/usr/bin/env bash
# The retried-case report: a case that failed and then passed is named; one
# that passed at once, or failed on both runs, is not.
set -u
here=$(cd "$(dirname "$0")" && pwd)
log=$(mktemp)
trap 'rm -f "$log"' EXIT
cat >"$log" <<'LOG'
 1/5 Test   #1: wine_start ...........................   Passed    1.16 sec
 2/5 Test #203: Pack.Flaky .............................***Failed    0.31 sec
    Test #203: Pack.Flaky .............................   Passed    0.29 sec
 3/5 Test #204: Pack.Steady ............................   Passed    0.20 sec
 4/5 Test #205: Pack.Broken ............................***Failed    0.25 sec
    Test #205: Pack.Broken ............................***Failed    0.23 sec
 5/5 Test #206: Gui.SlowFirst ..........................***Timeout  120.01 sec
    Test #206: Gui.SlowFirst ..........................   Passed    1.20 sec
LOG
expected=$'Gui.SlowFirst\nPack.Flaky'
actual=$("$here/../ctest-retried.sh" "$log")
if [ "$actual" != "$expected" ]; then
    printf 'expected:\n%s\nactual:\n%s\n' "$expected" "$actual" >&2
    exit 1
fi
