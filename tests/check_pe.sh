#!/usr/bin/env bash
# The product is a 32-bit GUI program whose import table names only libraries
# that Windows never looks for in the program's folder: its known DLLs (the
# list every Windows since 7 keeps in Session Manager\KnownDLLs) and comctl32,
# which the manifest takes from the side-by-side store. Every other system
# library is loaded at run time from the system folder.
set -euo pipefail
exe="$1"
info=$(file -b "$exe")
echo "$info"
[[ "$info" == *"PE32 executable (GUI) Intel 80386"* ]] || { echo "not a PE32 i386 GUI executable"; exit 1; }
allowed='^(kernel32|user32|gdi32|advapi32|shell32|shlwapi|ole32|oleaut32|comdlg32|imm32|msvcrt|rpcrt4|ws2_32|comctl32)\.dll$'
bad=0
while read -r dll; do
  lower=$(tr 'A-Z' 'a-z' <<<"$dll")
  if [[ ! "$lower" =~ $allowed ]]; then echo "unexpected DLL import: $dll"; bad=1; fi
done < <(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
size=$(stat -c %s "$exe")
echo "size: $size bytes"
exit $bad
