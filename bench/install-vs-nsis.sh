#!/usr/bin/env bash
# Silent install time of one payload: a Carton installer (carton-pack behind
# Carton.exe, started as `Carton.exe /S`, which hands /S on to Setup.exe)
# against an NSIS installer of the same files (makensis, `SetCompressor
# /SOLID bzip2`, started with /S). Both run under the same Wine session,
# RUNS times each (default 5) in turns after one untimed run of each; the
# figure is the ratio of the best wall-clock times (goal: at most 1.0), with
# the slowest runs beside it.
#
# Needs: wine (64-bit), makensis from Debian's `nsis` package (not installed
# by scripts/install-packages.sh: build.sh does not run this benchmark), a
# host carton-pack and the Windows Carton.exe and Setup.exe whose silent mode
# (/S) installs without a window.
#
# Usage: bench/install-vs-nsis.sh [PAYLOAD_DIR]
#   Without PAYLOAD_DIR a ~50 MiB tree is generated (as run-extract-bench.sh
#   does). Environment, with defaults:
#   CARTON_PACK  build/release/tools/carton-pack (else build/host/...)
#   CARTON_EXE   build/win64/launcher/Carton.exe
#   SETUP_EXE    build/win64/setup/Setup.exe
#   CARTON_ARGS  /S /D=C:\carton-bench (the folder beside NSIS's C:\nsis-bench)
#   CARTON_INSTALLED  folder under drive_c that the silent Setup installs to,
#                removed between runs (default: carton-bench)
#   NSIS_TARGET  amd64-unicode (makensis Target)
#   RUN_TIMEOUT  seconds before a run counts as hung (default 600)
#   WORK         work folder (default: a new folder in $TMPDIR, removed)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
runs=${RUNS:-5}
work=${WORK:-$(mktemp -d "${TMPDIR:-/tmp}/install-bench.XXXXXX")}
mkdir -p "$work"
carton_pack=${CARTON_PACK:-$root/build/release/tools/carton-pack}
[ -x "$carton_pack" ] || carton_pack=$root/build/host/tools/carton-pack
carton_exe=${CARTON_EXE:-$root/build/win64/launcher/Carton.exe}
setup_exe=${SETUP_EXE:-$root/build/win64/setup/Setup.exe}
carton_args=${CARTON_ARGS-/S /D=C:\\carton-bench}
installed=${CARTON_INSTALLED:-carton-bench}
timeout_s=${RUN_TIMEOUT:-600}

for tool in wine wineserver makensis; do
    command -v "$tool" > /dev/null || { echo "install-vs-nsis: $tool not found" >&2; exit 1; }
done
for file in "$carton_pack" "$carton_exe" "$setup_exe"; do
    [ -e "$file" ] || { echo "install-vs-nsis: $file not found (build it first)" >&2; exit 1; }
done

# A private Wine prefix and one wineserver for all runs.
export WINEPREFIX=$work/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
    wineserver -k 2> /dev/null || true
    [ -n "${WORK:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$WINEPREFIX"
wineserver -p60 < /dev/null > /dev/null 2>&1 || true
wineboot --init < /dev/null > /dev/null 2>&1
drive_c=$WINEPREFIX/drive_c

# The payload.
payload=${1:-}
if [ -z "$payload" ]; then
    core=$(ls "$root"/core/*.cpp | grep -v 'Win32\.cpp$')
    launcher=$(ls "$root"/launcher/*.cpp | grep -v '/CartonMain\.cpp$')
    c++ -std=c++17 -O2 -DNDEBUG -I"$root/core" -I"$root/launcher" $core $launcher \
        "$here/extract_bench.cpp" -lbz2 -lpthread -o "$work/extract_bench"
    "$work/extract_bench" make "$work/payload" 50 "$work/unused.exe" > /dev/null
    rm -f "$work"/unused.exe*
    payload=$work/payload
fi
echo "payload: $(find "$payload" | wc -l) entries, $(du -sm "$payload" | cut -f1) MiB"

# The Carton installer: the template (its program, icons, shortcuts, registry
# script and install log come along), Setup.exe, and the payload in the
# product's own folder.
package=$work/package
mkdir -p "$package"
cp -r "$root"/tools/template/. "$package"/
cp "$setup_exe" "$package"/Setup.exe
product=$(sed -n 's/^productfold=//p' "$package"/setup_cn.properties | tr -d '\r' | head -1)
subdir=$(sed -n 's/^sub_dir=//p' "$package"/setup_cn.properties | tr -d '\r' | head -1)
cp -r "$payload"/. "$package/$product/$subdir"/
"$carton_pack" create --stub "$carton_exe" --run Setup.exe -o "$work/carton-setup.exe" --no-check \
    "$package" > /dev/null

# The NSIS installer of the same payload.
cat > "$work/bench.nsi" << NSI
Unicode true
Target ${NSIS_TARGET:-amd64-unicode}
SetCompressor /SOLID bzip2
Name "Bench"
OutFile "$work/nsis-setup.exe"
InstallDir "C:\\nsis-bench"
RequestExecutionLevel user
SilentInstall silent
Section
  SetOutPath "\$INSTDIR"
  File /r "$payload/*"
SectionEnd
NSI
makensis -V1 "$work/bench.nsi"
echo "installers: Carton $(stat -c %s "$work/carton-setup.exe") bytes," \
     "NSIS $(stat -c %s "$work/nsis-setup.exe") bytes"

# Wall-clock seconds of one run; "hung" when it had to be stopped. An exit
# code other than 0 is reported on standard error.
timed() {
    local start end code=0
    start=$(date +%s.%N)
    timeout "$timeout_s" "$@" < /dev/null > /dev/null 2>&1 || code=$?
    end=$(date +%s.%N)
    if [ "$code" = 124 ]; then
        echo hung
        return
    fi
    [ "$code" = 0 ] || echo "install-vs-nsis: $(basename "$2") ended with exit code $code" >&2
    awk "BEGIN{printf \"%.3f\", $end - $start}"
}

# One untimed run of each first: the first programs of a fresh prefix wait
# for Wine's own start-up services (about ten seconds here), whichever
# installer comes first.
rm -rf "${drive_c:?}/$installed" "$drive_c/nsis-bench"
timed wine "$work/carton-setup.exe" $carton_args > /dev/null
timed wine "$work/nsis-setup.exe" /S > /dev/null

carton="" nsis=""
for _ in $(seq "$runs"); do
    rm -rf "${drive_c:?}/$installed" "$drive_c/nsis-bench"
    carton="$carton $(timed wine "$work/carton-setup.exe" $carton_args)"
    nsis="$nsis $(timed wine "$work/nsis-setup.exe" /S)"
done
echo "Carton:$carton"
echo "NSIS:  $nsis"
case "$carton $nsis" in *hung*) echo "a run hung: is Setup.exe's silent mode there?" >&2; exit 1;; esac
best() { tr ' ' '\n' | grep . | sort -g | head -1; }
worst() { tr ' ' '\n' | grep . | sort -g | tail -1; }
echo "ratio Carton / NSIS: $(awk "BEGIN{printf \"%.3f\", $(echo "$carton" | best) / $(echo "$nsis" | best)}")" \
     "(slowest runs: $(awk "BEGIN{printf \"%.3f\", $(echo "$carton" | worst) / $(echo "$nsis" | worst)}"))," \
     "goal <= 1.0"
