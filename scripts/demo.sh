#!/usr/bin/env bash
# The end-to-end demo of the whole system (./build.sh demo calls it after the
# setup step):
#
#   scripts/demo.sh <win32|win64>
#
# builds the sample product, packs it into build/demo/LumoSetup.exe, runs the
# installer under Wine in its own prefix and Xvfb display, walks through the
# wizard with real pointer clicks and keys (xdotool) once in Chinese and once
# in English, prints and checks what was installed, opens a sample picture
# through the new file association and checks that the viewer shows it.
# Then it uninstalls both installs through their start-menu shortcuts,
# answering the confirmation with a key, and compares the machine with the
# state recorded before the first install (registry and drive_c).
# Screenshots of every page and of the viewer go to build/demo/screens/.
# The last line is the verdict; the exit code is 0 only when every check
# passed.
#
# The preset names the Windows build that runs: win32 (the product) where
# this machine runs 32-bit code, win64 otherwise (see build.sh).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
preset=${1:-win32}
jobs=$(nproc)
out=$root/build/demo
screens=$out/screens
started=$(date +%s)

case "$preset" in
win32) loader=/usr/lib/wine/wine triple=i686-w64-mingw32 ;;
win64) loader=/usr/lib/wine/wine64 triple=x86_64-w64-mingw32 ;;
*) echo "usage: $0 win32|win64" >&2; exit 2 ;;
esac

step="start"
declare -i checks=0
session_started=0

say() { printf '%s\n' "$*"; }
ok() { checks+=1; say "    ok    $*"; }

stop_session() {
    if [ "$session_started" = 1 ]; then
        # Only this demo's prefix: wine-session.sh stops its wineserver with
        # "wineserver -k" under WINEPREFIX, and the Xvfb it started by pid.
        scripts/wine-session.sh stop "$out/wine" "$loader" >/dev/null 2>&1
        session_started=0
    fi
}

fail() {
    say "demo: step \"$step\" failed: $*" >&2
    if [ "$session_started" = 1 ] && [ -n "${DISPLAY:-}" ]; then
        import -window root "$screens/failure.png" 2>/dev/null \
            && say "demo: the screen at the failure: $screens/failure.png" >&2
    fi
    stop_session
    say "verdict: FAILED at step \"$step\" after $(( $(date +%s) - started )) s ($checks checks passed before)"
    exit 1
}
trap 'stop_session' EXIT
trap 'fail "interrupted"' INT TERM

begin() {
    step=$1
    say "=== demo: $step"
}

# ---------------------------------------------------------------- building

begin "build the sample package and the launcher ($preset)"
export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-$(command -v ccache || true)}
export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-$(command -v ccache || true)}
[ -f "build/$preset/CMakeCache.txt" ] || cmake --preset "$preset" >/dev/null || fail "cmake --preset $preset"
cmake --build --preset "$preset" -j "$jobs" --target sample_package Carton >"$root/build/demo-build.log" 2>&1 \
    || { tail -n 30 "$root/build/demo-build.log" >&2; fail "building sample_package and Carton"; }
package=$root/build/$preset/sample/package
stub=$root/build/$preset/launcher/Carton.exe
[ -f "$package/Setup.exe" ] && [ -f "$stub" ] || fail "the build made no $package/Setup.exe or $stub"

begin "build carton-pack"
# The host test build when ./build.sh test made one, otherwise the release one.
if [ -f build/host/CMakeCache.txt ]; then pack_preset=host; else pack_preset=release; fi
[ -f "build/$pack_preset/CMakeCache.txt" ] || cmake --preset "$pack_preset" >/dev/null || fail "cmake --preset $pack_preset"
cmake --build --preset "$pack_preset" -j "$jobs" --target carton-pack >>"$root/build/demo-build.log" 2>&1 \
    || { tail -n 30 "$root/build/demo-build.log" >&2; fail "building carton-pack ($pack_preset)"; }
pack=$root/build/$pack_preset/tools/carton-pack
[ -x "$pack" ] || fail "no $pack"

begin "build the demo's probe (window states, shortcuts)"
mkdir -p "$out"
probe_exe=$out/demo-probe-$preset.exe
if [ ! -f "$probe_exe" ] || [ scripts/demo/DemoProbe.cpp -nt "$probe_exe" ]; then
    "$triple-g++-posix" -std=c++17 -O2 -Wall -Wextra -static -o "$probe_exe" \
        scripts/demo/DemoProbe.cpp -lole32 -luuid -lshell32 || fail "compiling scripts/demo/DemoProbe.cpp"
fi

begin "pack the sample into build/demo/LumoSetup.exe"
rm -f "$out/LumoSetup.exe"
"$pack" create --stub "$stub" --run Setup.exe -o "$out/LumoSetup.exe" "$package" \
    || fail "carton-pack create"
say "    $out/LumoSetup.exe ($(stat -c %s "$out/LumoSetup.exe") bytes)"

# ---------------------------------------------------------------- Wine

begin "start a fresh Wine prefix and display"
# A session left by an interrupted run: its wineserver and Xvfb end first.
[ -d "$out/wine" ] && WINEPREFIX=$out/wine/prefix scripts/wine-session.sh stop "$out/wine" "$loader" >/dev/null 2>&1
rm -rf "$out/wine" "$out/home" "$screens" "$out/run"
mkdir -p "$out/home" "$screens" "$out/run"
# The prefix's Desktop and menus would otherwise point into the user's home:
# a home of its own keeps every shortcut inside build/demo.
export HOME=$out/home
unset DISPLAY
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
# A Chinese system (code page 936: the payload holds GBK names); the wizard's
# language box then switches to English.
unset LC_ALL LC_CTYPE LANGUAGE
export LANG=zh_CN.UTF-8
session_started=1
timeout 120 scripts/wine-session.sh start "$out/wine" "$loader" >/dev/null || fail "wine-session.sh start (see $out/wine)"
export WINEPREFIX=$out/wine/prefix
export DISPLAY=$(cat "$out/wine/display")
wine() { timeout "${WINE_TIMEOUT:-60}" "$loader" "$@"; }
# Windows 10: there the wizard associates the types through the extensions'
# own keys, which Wine's shell reads (on 6.1 it writes the user's choice).
wine reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1 || fail "setting the Windows version"
cp "$probe_exe" "$WINEPREFIX/drive_c/demo-probe.exe"
probe='C:\demo-probe.exe'
[ "$(wine "$probe" longpath 'C:\' 2>/dev/null | tr -d '\r')" = 'C:\' ] \
    || fail "$probe_exe does not run in this prefix"
say "    prefix $WINEPREFIX, display $DISPLAY"

begin "record the machine's state before the first install"
# HKLM\Software, HKEY_CLASSES_ROOT, HKCU\Software and a listing of drive_c:
# the end of the demo compares the machine with it.
timeout 300 python3 scripts/demo/machine-state.py record --wine "$loader" --prefix "$WINEPREFIX" \
    --out "$out/run/state-before" || fail "recording the registry and drive_c"
say "    $(grep -c . "$out/run/state-before/files.txt") drive_c entries, registry exports in $out/run/state-before"

# ---------------------------------------------------------------- helpers

ox=0 oy=0
# click <x> <y>: a real pointer click at a point of the wizard's client area.
click() {
    xdotool mousemove --sync $((ox + $1)) $((oy + $2)) click 1 || fail "xdotool click at $1,$2"
}
# wait_control <what> <x> <y> <w> <h> <shown|hidden|enabled> <seconds>
wait_control() {
    local what=$1 secs=$7
    WINE_TIMEOUT=$((secs + 20)) wine "$probe" child setup.exe "$2" "$3" "$4" "$5" "$6" $((secs * 1000)) \
        || fail "$what: not $6 within $secs s"
}
# grab <file> <x> <y> <w> <h>: a screen area as PNG, taken when two
# captures 0.2 s apart agree (the page has finished drawing).
grab() {
    local file=$1 area="$4x$5+$2+$3" previous="" current i
    for i in $(seq 1 25); do
        current=$(import -window root -crop "$area" rgb:- 2>/dev/null | md5sum)
        [ "$current" = "$previous" ] && break
        previous=$current
        sleep 0.2
    done
    import -window root -crop "$area" +repage -strip "$file" || fail "import of $area"
}
shot() {
    grab "$screens/$1.png" "$ox" "$oy" "$cw" "$ch"
    say "    screenshot: $screens/$1.png"
    shots+=("$screens/$1.png")
}
# differing <a.png> <b.png>: the count of pixels that differ by more than a
# small tolerance.
differing() {
    local n
    n=$(compare -metric AE -fuzz 6% "$1" "$2" null: 2>&1 | awk '{ print $1; exit }')
    awk -v n="$n" 'BEGIN { if (n ~ /^[0-9.]+(e[+][0-9]+)?$/) printf "%d\n", n; else print 999999999 }'
}
# picture_matches <screenshot> <reference> <what>: where the two overlap
# from their top left corners, they agree in all but 0.5% of the pixels.
picture_matches() {
    local w h count limit
    read -r w h <<<"$(identify -format '%w %h\n' "$1" "$2" | sort -n | awk '
        NR == 1 || $1 < w { w = $1 } NR == 1 || $2 < h { h = $2 } END { print w, h }')"
    convert "$1" -crop "${w}x$h+0+0" +repage "$out/run/cut-a.png"
    convert "$2" -crop "${w}x$h+0+0" +repage "$out/run/cut-b.png"
    count=$(differing "$out/run/cut-a.png" "$out/run/cut-b.png")
    limit=$((w * h / 200))
    [ "${count:-999999}" -le "$limit" ] || fail "$3: $count pixels differ from $2 (at most $limit allowed)"
    ok "$3 (${count} of ${w}x$h pixels differ)"
}

# page5_drawn <frame>: one of page 5's boxes (select all, JPEG, JPEG 2000)
# already looks as on page 5 (out/run/page5.png) in a frame of the copy.
page5_drawn() {
    local area
    for area in 20x20+420+80 20x20+30+130 20x20+30+280; do
        convert "$1" -crop "$area" +repage "$out/run/area-a.png"
        convert "$out/run/page5.png" -crop "$area" +repage "$out/run/area-b.png"
        [ "$(differing "$out/run/area-a.png" "$out/run/area-b.png")" -le 20 ] && return 0
    done
    return 1
}

# Checkbox places of the file-type page (client coordinates of the box).
declare -A type_box=(
    [JPEG]="30 130" [PNG]="30 160" [BMP]="30 190" [GIF]="30 220" [WMF]="30 250" [JPEG2000]="30 280"
    [PCX]="200 130" [PGX]="200 160" [RAS]="200 190" [TIFF]="200 220" [TGA]="200 250"
    [JPEG2000C]="200 280" [PPM]="370 130" [PGM]="370 160" [PBM]="370 190" [ICO]="370 220")
declare -A type_exts=(
    [JPEG]=".JPEG .JPG" [PNG]=".PNG" [BMP]=".BMP" [GIF]=".GIF" [WMF]=".WMF" [JPEG2000]=".JP2"
    [PCX]=".PCX" [PGX]=".PGX" [RAS]=".RAS" [TIFF]=".TIFF .TIF" [TGA]=".TGA" [JPEG2000C]=".JPC"
    [PPM]=".PPM" [PGM]=".PGM" [PBM]=".PBM" [ICO]=".ICO .ICON")

# install <lang: cn|en> <folder suffix typed on page 3, may be empty>
#         <types to click> -- <types ticked in the end>
install() {
    local lang=$1 suffix=$2
    shift 2
    local clicks=() ticked=() seen=0 t
    for t in "$@"; do
        if [ "$t" = -- ]; then seen=1; elif [ "$seen" = 0 ]; then clicks+=("$t"); else ticked+=("$t"); fi
    done
    local exts=() e
    for t in "${ticked[@]}"; do for e in ${type_exts[$t]}; do exts+=("$e"); done; done
    local target="C:\\Program Files\\Brindle$suffix"

    begin "$lang: start LumoSetup.exe"
    python3 scripts/demo/check-install.py previous --wine "$loader" --prefix "$WINEPREFIX" "${exts[@]}" \
        >"$out/run/previous-$lang.txt" || fail "reading the handlers before the install"
    rm -f "$out/run/setup-$lang.rc"
    ( timeout 600 "$loader" "$out/LumoSetup.exe" </dev/null >"$out/run/setup-$lang.log" 2>&1
      echo $? >"$out/run/setup-$lang.rc" ) &
    local geometry
    geometry=$(WINE_TIMEOUT=80 wine "$probe" window setup.exe 60000 | tr -d "\r") || fail "no wizard window within 60 s"
    read -r ox oy cw ch _ <<<"$geometry"
    say "    wizard client area ${cw}x$ch at $ox,$oy"

    begin "$lang: page 1 (welcome)"
    wait_control "Next button" 278 325 100 30 enabled 20
    if [ "$lang" = en ]; then
        # The language box: a click into its field, Down opens the list on
        # the first item, Down moves to English, Enter takes it.
        click 50 341
        xdotool key --delay 150 Down Down Return || fail "xdotool keys on the language box"
    fi
    shot "$lang-1-welcome"
    picture_matches "$screens/$lang-1-welcome.png" "$package/welcome_$lang.png" \
        "page 1 shows welcome_$lang.png"

    begin "$lang: page 2 (licence)"
    click 328 340
    wait_control "licence page (agree button)" 10 265 488 25 shown 20
    click 60 277
    wait_control "Next after agreeing" 278 325 100 30 enabled 20
    shot "$lang-2-licence"

    begin "$lang: page 3 (folder)"
    click 328 340
    wait_control "folder page (folder field)" 10 90 400 25 shown 20
    if [ -n "$suffix" ]; then
        click 200 102
        xdotool key End && xdotool type --delay 60 "$suffix" || fail "typing the folder"
    fi
    shot "$lang-3-folder"

    begin "$lang: install, answer \"create the folder?\""
    click 328 340
    local box
    box=$(timeout 20 xdotool search --sync --onlyvisible --name '^提示$' 2>/dev/null | head -n1)
    [ -n "$box" ] || fail "no question to create the folder within 20 s"
    xdotool mousemove --window "$box" 5 5 && xdotool key Return || fail "answering the question"

    begin "$lang: page 4 (copying)"
    # The copy takes a second or two: frames are taken all along, and the
    # last one whose banner is neither page 3's nor page 5's and where no
    # control of page 5 has been drawn yet is page 4.
    local frames=$out/run/frames-$lang
    mkdir -p "$frames"
    ( for i in $(seq -w 1 400); do
          [ -e "$frames/stop" ] && break
          import -window root -crop "${cw}x$ch+$ox+$oy" +repage -strip "$frames/$i.png" 2>/dev/null
      done ) &
    local grabber=$!
    wait_control "file-type page (select-all box)" 420 80 200 20 shown 120
    touch "$frames/stop"
    wait "$grabber"
    grab "$out/run/page5.png" "$ox" "$oy" "$cw" "$ch"
    local banner3 banner5 frame found=""
    banner3=$out/run/banner3.png banner5=$out/run/banner5.png
    convert "$screens/$lang-3-folder.png" -crop 380x58+0+0 +repage "$banner3"
    convert "$out/run/page5.png" -crop 380x58+0+0 +repage "$banner5"
    for frame in $(ls -r "$frames"/*.png 2>/dev/null); do
        convert "$frame" -crop 380x58+0+0 +repage "$out/run/banner.png"
        if [ "$(differing "$out/run/banner.png" "$banner3")" -gt 200 ] \
           && [ "$(differing "$out/run/banner.png" "$banner5")" -gt 200 ] \
           && ! page5_drawn "$frame"; then
            found=$frame
            break
        fi
    done
    [ -n "$found" ] || fail "none of the $(ls "$frames" | wc -l) frames taken during the copy shows page 4"
    cp "$found" "$screens/$lang-4-installing.png"
    say "    screenshot: $screens/$lang-4-installing.png"
    shots+=("$screens/$lang-4-installing.png")
    ok "page 4 caught while copying ($(ls "$frames"/*.png | wc -l) frames)"

    begin "$lang: page 5 (file types)"
    local place
    for t in "${clicks[@]}"; do
        read -r -a place <<<"${type_box[$t]}"
        click $((place[0] + 8)) $((place[1] + 10))
    done
    shot "$lang-5-types"

    begin "$lang: page 6 (finish)"
    click 328 340
    wait_control "finish page (picture)" 0 0 498 312 shown 20
    shot "$lang-6-finish"
    picture_matches "$screens/$lang-6-finish.png" "$package/finish_$lang.png" "page 6 shows finish_$lang.png"
    click 328 340
    local i
    for i in $(seq 1 300); do
        [ -s "$out/run/setup-$lang.rc" ] && break
        sleep 0.1
    done
    [ -s "$out/run/setup-$lang.rc" ] || fail "LumoSetup.exe did not end within 30 s of Finish"
    say "    LumoSetup.exe ended with exit code $(cat "$out/run/setup-$lang.rc")"
    # Finish opens the product's page in the browser: noted, then closed so
    # that it stays out of the next screenshots.
    local browser=0
    WINE_TIMEOUT=40 wine "$probe" close iexplore.exe 20000 && browser=1

    begin "$lang: check what was installed in $target"
    local absent=()
    for t in TGA PCX PGX; do absent+=(${type_exts[$t]}); done
    python3 scripts/demo/check-install.py check --wine "$loader" --prefix "$WINEPREFIX" --probe "$probe" \
        --root "$target" --payload "$package/Brindle" --types "$(IFS=,; echo "${exts[*]}")" \
        --absent "$(IFS=,; echo "${absent[*]}")" --previous "$out/run/previous-$lang.txt" \
        --browser-opened "$browser" | tee "$out/run/check-$lang.txt"
    [ "${PIPESTATUS[0]}" = 0 ] || fail "the installed product differs from the package (see above)"
    checks+=$(sed -nE 's/^  ([0-9]+) checks, 0 failed$/\1/p' "$out/run/check-$lang.txt")
    # The uninstall shortcut (install.txt's second line) and whether the
    # installer wrote uninstall.reg, for the uninstall at the end.
    local product_unix="$WINEPREFIX/drive_c/Program Files/Brindle$suffix/Lumo"
    uninstall_link[$lang]=$(sed -n 2p "$product_unix/install.txt" | tr -d '\r' | iconv -f GBK -t UTF-8)
    product_dir[$lang]=$product_unix
    product_win[$lang]="$target\\Lumo"
    [ -f "$product_unix/uninstall.reg" ] || no_uninstall_reg=1
}
declare -A uninstall_link=() product_dir=() product_win=()
no_uninstall_reg=0

shots=()
# Chinese: the default folder; JPEG, PNG and GIF ticked beside the two
# JPEG 2000 types that the page ticks itself.
install cn "" JPEG PNG GIF -- JPEG PNG GIF JPEG2000 JPEG2000C
# English: a second folder; PNG, BMP and TIFF ticked, the JPEG 2000 complete
# type unticked. PNG and JPEG 2000 then replace the first install's handlers.
install en " EN" PNG BMP TIFF JPEG2000C -- PNG BMP TIFF JPEG2000

# ---------------------------------------------------------------- viewer

begin "open a sample picture through the association"
picture='C:\Program Files\Brindle EN\Lumo\samples\harbour.png'
reference=$package/Brindle/Lumo/samples/harbour.png
wine start "$picture" || fail "wine start $picture"
# The window appears first and takes the picture's size once it has read it.
picture_size=$(identify -format '%wx%h' "$reference")
for i in $(seq 1 40); do
    geometry=$(WINE_TIMEOUT=50 wine "$probe" window lumoview.exe 30000 | tr -d "\r") || fail "no viewer window within 30 s"
    read -r vx vy vw vh _ <<<"$geometry"
    [ "${vw}x$vh" = "$picture_size" ] && break
    sleep 0.25
done
say "    viewer client area ${vw}x$vh at $vx,$vy"
[ "${vw}x$vh" = "$picture_size" ] \
    || fail "the viewer's client area is ${vw}x$vh after 10 s, the picture $picture_size"
ok "the viewer's client area has the picture's size"
# The client area: without a window manager nobody draws the caption.
grab "$screens/viewer.png" "$vx" "$vy" "$vw" "$vh"
picture_matches "$screens/viewer.png" "$reference" "the viewer shows harbour.png"
say "    screenshot: $screens/viewer.png"
shots+=("$screens/viewer.png")
WINE_TIMEOUT=40 wine "$probe" close lumoview.exe 20000 || fail "the viewer did not close"

# ---------------------------------------------------------------- uninstall

# find_box <caption> <window to skip> <seconds>: the id of a visible window
# with that caption (a message box), other than the one given.
find_box() {
    local deadline=$(( $(date +%s) + $3 )) id
    while [ "$(date +%s)" -lt "$deadline" ]; do
        for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
            [ "$id" != "$2" ] && { echo "$id"; return 0; }
        done
        sleep 0.2
    done
    return 1
}
# answer <box id>: the box's default button (Yes, OK) through a real key.
answer() {
    xdotool mousemove --window "$1" 5 5 && xdotool key Return
}

# uninstall <lang: cn|en> <caption of its message boxes (a pattern)>
uninstall() {
    local lang=$1 caption=$2 link=${uninstall_link[$1]} product=${product_dir[$1]}
    begin "$lang: uninstall through the start-menu shortcut"
    [ -n "$link" ] || fail "install.txt names no uninstall shortcut"
    # Both installs put their shortcuts into the same start-menu folder, so
    # the second one's replaced the first one's, and the second one's
    # uninstall removed it: the first install's uninstaller is then opened
    # from its folder, as from Explorer.
    local link_unix=$WINEPREFIX/drive_c/${link#C:\\}
    link_unix=${link_unix//\\//}
    if [ ! -f "$link_unix" ]; then
        say "    $link is gone (the later install in the same start-menu folder replaced it and"
        say "    its uninstall removed it): uninstall.exe is opened from the product folder"
        link="${product_win[$lang]}\\uninstall.exe"
    fi
    local fields target arguments
    case "${link,,}" in
    *.lnk)
        fields=$(WINE_TIMEOUT=40 wine "$probe" link "$link" | tr -d '\r') || fail "resolving $link"
        target=$(sed -n 's/^target=//p' <<<"$fields")
        arguments=$(sed -n 's/^arguments=//p' <<<"$fields")
        say "    $link"
        say "        -> $target $arguments"
        [ "${target,,}" = "${product_win[$lang],,}\\uninstall.exe" ] \
            || fail "the shortcut leads to $target, not ${product_win[$lang]}\\uninstall.exe"
        ok "the start-menu shortcut leads to this install's uninstall.exe" ;;
    *) say "    $link" ;;
    esac
    rm -f "$out/run/uninstall-$lang.rc"
    # Opened as the start menu opens it (ShellExecute of the shortcut);
    # start /wait ends with the uninstaller's exit code.
    ( timeout 300 "$loader" start /wait "$link" </dev/null >"$out/run/uninstall-$lang.log" 2>&1
      echo $? >"$out/run/uninstall-$lang.rc" ) &

    begin "$lang: uninstall, answer the confirmation"
    local box done_box
    box=$(find_box "$caption" none 30) || fail "no confirmation box \"$caption\" within 30 s"
    sleep 0.3
    import -window "$box" "$screens/$lang-7-uninstall-confirm.png" 2>/dev/null \
        && { say "    screenshot: $screens/$lang-7-uninstall-confirm.png"; shots+=("$screens/$lang-7-uninstall-confirm.png"); }
    answer "$box" || fail "answering the confirmation"
    ok "the confirmation \"$caption\" answered Yes"

    begin "$lang: uninstall, wait for it to finish"
    done_box=$(find_box "$caption" "$box" 60) || fail "no closing message within 60 s of the confirmation"
    answer "$done_box" || fail "answering the closing message"
    local i
    for i in $(seq 1 300); do
        [ -s "$out/run/uninstall-$lang.rc" ] && break
        sleep 0.1
    done
    [ -s "$out/run/uninstall-$lang.rc" ] || fail "uninstall.exe did not end within 30 s of its closing message"
    say "    uninstall.exe ended with exit code $(cat "$out/run/uninstall-$lang.rc")"
    # It goes on from a copy in the temporary folder that removes
    # uninstall.exe and the product folder, then itself.
    local copies
    for i in $(seq 1 300); do
        copies=$(find "$WINEPREFIX/drive_c/users" -iname 'uninstall-*.exe' 2>/dev/null)
        [ ! -e "$product" ] && [ -z "$copies" ] && break
        sleep 0.1
    done
    [ ! -e "$product" ] || fail "the product folder is still there 30 s after the uninstaller ended: $(ls "$product" | head -5 | tr '\n' ' ')"
    [ -z "$copies" ] || fail "the uninstaller's temporary copy is still there after 30 s: $copies"
    ok "uninstall.exe and the product folder removed, its temporary copy gone"
}

# The English install first: it replaced the Chinese one's associations, so
# the Chinese one's come back, and then the ones from before both.
# The boxes speak the install's language when install.txt records it, the
# system's (Chinese here) otherwise.
uninstall en "(Uninstall|卸载)"
uninstall cn "(Uninstall|卸载)"

begin "compare the machine with the state before the first install"
script_args=(--script "$package/setup.reg")
[ "$no_uninstall_reg" = 1 ] && script_args+=(--script-tolerated)
timeout 300 python3 scripts/demo/machine-state.py compare --wine "$loader" --prefix "$WINEPREFIX" \
    --before "$out/run/state-before" --after "$out/run/state-after" "${script_args[@]}" \
    | tee "$out/run/clean.txt"
[ "${PIPESTATUS[0]}" = 0 ] || fail "the uninstalls left things behind (see above)"
unlogged=0
grep -q '^  left because install.txt does not name them' "$out/run/clean.txt" \
    && unlogged=$(grep -c '^      file added:  Program Files/Brindle' "$out/run/clean.txt")
clean="the machine is as it was before the first install"
[ "$no_uninstall_reg" = 1 ] && clean="$clean, but for the registry script's keys (the installer wrote no uninstall.reg)"
[ "$unlogged" -gt 0 ] && clean="$clean, but for $unlogged entries the installer copies without naming them in install.txt"
ok "$clean"

# ---------------------------------------------------------------- the end

stop_session
say
say "screenshots:"
for s in "${shots[@]}"; do say "    $s"; done
kept=""
[ "$unlogged" -gt 0 ] && kept=", $unlogged entries outside install.txt kept"
say "verdict: PASSED, $checks checks in $(( $(date +%s) - started )) s (both languages, viewer, uninstall, clean machine$kept)"
exit 0
