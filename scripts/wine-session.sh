#!/usr/bin/env bash
# Starts or stops a build's own Wine session: its prefix, a persistent
# wineserver and, when no display is set, a private Xvfb display.
#
#   wine-session.sh start|stop <session dir> <wine loader>
#
# The session folder holds "prefix/" and, when this script started an Xvfb,
# "display" (":N") and "xvfb.pid". Every output is detached from the caller:
# Wine's helper processes would otherwise keep ctest's pipe open.
set -u
action=$1 dir=$2 loader=$3
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

export WINEPREFIX="$dir/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
case "$loader" in
    */wine64) export WINEARCH=win64 ;;
    *)        export WINEARCH=win32 ;;
esac

# The wineserver itself, not Debian's /usr/bin/wineserver wrapper: the
# wrapper puts "-p0" in front of the arguments, and a server that exits as
# soon as no program runs makes every test pay for a new one and can reset a
# client that connects just as it exits.
server_binary() {
    local s
    for s in /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver32; do
        [ -x "$s" ] && { echo "$s"; return; }
    done
    echo wineserver
}

# Succeeds when a persistent server ("-p") of this prefix runs.
persistent_server_running() {
    local p cmd
    for p in /proc/[0-9]*; do
        cmd=$(tr '\0' ' ' 2>/dev/null <"$p/cmdline") || continue
        case "$cmd" in
            *wineserver*" -p "*) ;;
            *) continue ;;
        esac
        tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" && return 0
    done
    return 1
}

# Stops this prefix's server and waits until it is gone. A server started
# while the old one still holds the prefix gives up at once; the next Wine
# program then starts one of the default kind, which exits a few seconds
# after its last client, and a test program that connects just as it exits
# dies before printing anything.
stop_server() {
    wineserver -k </dev/null >/dev/null 2>&1
    wineserver -w </dev/null >/dev/null 2>&1
}

start_display() {
    if [ -n "${DISPLAY:-}" ]; then
        return 0
    fi
    if [ -f "$dir/xvfb.pid" ] && kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null && [ -s "$dir/display" ]; then
        export DISPLAY=$(cat "$dir/display")
        return 0
    fi
    rm -f "$dir/display.fd"
    setsid Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 \
        3>"$dir/display.fd" </dev/null >"$dir/xvfb.log" 2>&1 &
    echo $! >"$dir/xvfb.pid"
    for _ in $(seq 1 100); do
        [ -s "$dir/display.fd" ] && break
        sleep 0.1
    done
    if [ ! -s "$dir/display.fd" ]; then
        echo "Xvfb did not start (see $dir/xvfb.log)" >&2
        return 1
    fi
    echo ":$(tr -d '\n' <"$dir/display.fd")" >"$dir/display"
    export DISPLAY=$(cat "$dir/display")
}

case "$action" in
start)
    start_display || exit 1
    # A wineserver that started without a display keeps failing windows:
    # stop any old one of this prefix before starting ours.
    stop_server
    # The server needs the prefix folder to exist; wineboot fills it.
    mkdir -p "$WINEPREFIX"
    "$(server_binary)" -p </dev/null >/dev/null 2>&1
    "$loader" wineboot --init </dev/null >"$dir/wineboot.log" 2>&1
    rc=$?
    [ -d "$WINEPREFIX/drive_c" ] || { echo "wineboot failed (rc $rc, see $dir/wineboot.log)" >&2; exit 1; }
    # Whatever happened on the way, the tests must find a persistent server.
    if ! persistent_server_running; then
        stop_server
        "$(server_binary)" -p </dev/null >/dev/null 2>&1
        persistent_server_running || { echo "no persistent wineserver for $WINEPREFIX" >&2; exit 1; }
    fi
    echo "wine session ready: prefix $WINEPREFIX, display ${DISPLAY}"
    ;;
stop)
    stop_server
    if [ -f "$dir/xvfb.pid" ]; then
        kill "$(cat "$dir/xvfb.pid")" 2>/dev/null
        rm -f "$dir/xvfb.pid" "$dir/display" "$dir/display.fd"
    fi
    echo "wine session stopped"
    ;;
*)
    echo "usage: $0 start|stop <dir> <loader>" >&2
    exit 2
    ;;
esac
exit 0
