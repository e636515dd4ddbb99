#!/usr/bin/env bash
# Names the tests of a ctest run that passed only when run again.
#
#   ctest-retried.sh <ctest output>
#
# With "repeat until-pass", ctest prints a result line for every run of a
# case: a case that failed first and then passed has a failing line before
# its passing one. Prints one name a line, sorted.
set -u
awk '
/Test +#[0-9]+: / {
    line = $0
    sub(/.*Test +#[0-9]+: /, "", line)
    split(line, parts, " ")
    name = parts[1]
    if (line ~ /\*\*\*|Not Run/) {
        failed[name] = 1
    } else if (line ~ / Passed/ && (name in failed)) {
        retried[name] = 1
    }
}
END {
    for (name in retried)
        print name
}' "$1" | sort
