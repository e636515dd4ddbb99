#!/bin/sh
# The two batch files of the sample payload are named in GBK bytes (启动.bat
# and 说明.bat): the host's packing tool stores names as the bytes it finds,
# and the launcher creates them under the Chinese code page.
#   check-gbk-names.sh <package folder>
set -eu
status=0
for name in '\306\364\266\257.bat' '\313\265\303\367.bat'; do
    path="$1/Brindle/Lumo/$(printf "$name")"
    if [ ! -f "$path" ] || [ "$(head -c 9 "$path")" != "@echo off" ]; then
        printf 'no batch file named %s (GBK octal) in %s\n' "$name" "$1/Brindle/Lumo" >&2
        status=1
    fi
done
exit $status
