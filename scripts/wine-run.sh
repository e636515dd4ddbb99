#!/usr/bin/env bash
# Runs a Windows program in a build's own Wine session (see wine-session.sh),
# starting the session first when it is not running.
#
#   wine-run.sh <session dir> <wine loader> <program.exe> [args...]
#
# CARTON_WINE_LANG, when set, becomes the process locale: zh_CN.UTF-8 gives
# the program the Chinese code page (GetACP() == 936).
set -u
dir=$1 loader=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

export WINEPREFIX="$dir/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
needs_session() {
    [ ! -d "$WINEPREFIX/drive_c" ] || { [ -z "${DISPLAY:-}" ] && [ ! -s "$dir/display" ]; }
}
# Starting a session stops the prefix's server and with it every program of
# the prefix: two programs started at once must not both start one.
if needs_session; then
    exec 9>"$dir/start.lock"
    flock 9
    if needs_session; then
        "$here/wine-session.sh" start "$dir" "$loader" >/dev/null || exit 1
    fi
    exec 9>&-
fi
if [ -z "${DISPLAY:-}" ] && [ -s "$dir/display" ]; then
    export DISPLAY=$(cat "$dir/display")
fi
if [ -n "${CARTON_WINE_LANG:-}" ]; then
    unset LC_ALL LC_CTYPE LANGUAGE
    export LANG=$CARTON_WINE_LANG
fi
# The first program that needs the desktop window starts Wine's desktop
# process and hands it its own standard error. Under ctest that is the
# test's output pipe, and the desktop process lives as long as any program
# uses the desktop: ctest would wait for the pipe long after the test ended.
# So the program writes its errors to a file, and a watcher copies them to
# our standard error once the program (this very process, after exec) is
# gone; only the watcher holds the pipe, and only until then.
err=$(mktemp "$dir/stderr.XXXXXX") || exit 1
pid=$$
(
    while kill -0 "$pid" 2>/dev/null; do
        sleep 0.1
    done
    cat "$err" >&2
    rm -f "$err"
) </dev/null &
exec "$loader" "$@" 2>"$err"
