#!/usr/bin/env bash
# A Windows program run through wine-run.sh leaves nothing behind that holds
# the caller's standard error: Wine's desktop process, started by the first
# program that opens a window, must not keep a test's output pipe open.
#
#   wine-run-test.sh <session dir> <wine loader> <program.exe> [args...]
#
# The program should open a window. The test waits (up to 20 s) until the
# session's desktop process has ended, so that this program starts a new one;
# run it alone.
set -u
here=$(cd "$(dirname "$0")" && pwd)
prefix="$(cd "$1" && pwd)/prefix"
# Succeeds when process <pid> belongs to this session's prefix.
in_session() {
    tr '\0' '\n' 2>/dev/null <"/proc/$1/environ" | grep -qxF "WINEPREFIX=$prefix"
}
desktop_running() {
    local p
    for p in $(pgrep -f "explorer.exe /desktop"); do
        in_session "$p" && return 0
    done
    return 1
}
for _ in $(seq 1 200); do
    desktop_running || break
    sleep 0.1
done
if desktop_running; then
    echo "the desktop process is still up; programs of the session:"
    for p in /proc/[0-9]*; do
        in_session "${p#/proc/}" && echo "  ${p#/proc/}: $(tr '\0' ' ' <"$p/cmdline")"
    done
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkfifo "$work/err"
cat "$work/err" >/dev/null &
reader=$!
"$here/../wine-run.sh" "$@" 2>"$work/err" >/dev/null
rc=$?
if [ "$rc" -ne 0 ]; then
    echo "the program failed (exit $rc)" >&2
    exit 1
fi
# The reader ends when the last writer has closed the pipe.
for _ in $(seq 1 20); do
    kill -0 "$reader" 2>/dev/null || { echo "nothing holds the standard error"; exit 0; }
    sleep 0.1
done
holders=()
for fd in /proc/[0-9]*/fd/*; do
    [ "$(readlink "$fd" 2>/dev/null)" = "$work/err" ] || continue
    pid=${fd#/proc/}
    pid=${pid%%/*}
    [ "$pid" = "$reader" ] || holders+=("$pid: $(tr '\0' ' ' <"/proc/$pid/cmdline")")
done
kill "$reader" 2>/dev/null
echo "the standard error is still open; held by:" >&2
printf '  %s\n' "${holders[@]:-nobody found}" >&2
exit 1
