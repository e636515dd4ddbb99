#!/usr/bin/env bash
# Fails when a Windows program imports a DLL that is not part of Windows
# itself (for example libwinpthread-1.dll or libstdc++-6.dll after a link that
# was not fully static: such a program just exits with code 53 on a user's PC).
#
#   check-imports.sh <objdump> <program.exe>
set -euo pipefail
objdump=$1 exe=$2
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|msvcrt|comdlg32|comctl32|shlwapi|version|winmm|imm32)\.dll$'
bad=0
while read -r dll; do
    if ! tr 'A-Z' 'a-z' <<<"$dll" | grep -Eq "$allowed"; then
        echo "$exe imports $dll, which is not a Windows system DLL" >&2
        bad=1
    fi
done < <("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
[ "$bad" = 0 ] && echo "$(basename "$exe"): system DLLs only"
exit $bad
