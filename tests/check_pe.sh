#!/usr/bin/env bash
# The product is a 32-bit GUI program that needs no DLL beyond Windows' own.
set -euo pipefail
exe="$1"
info=$(file -b "$exe")
echo "$info"
[[ "$info" == *"PE32 executable (GUI) Intel 80386"* ]] || { echo "not a PE32 i386 GUI executable"; exit 1; }
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|wininet|wintrust|crypt32|netapi32|msvcrt|version|shlwapi|uxtheme|ws2_32|riched20|msftedit|api-ms-win-.*)\.dll$'
bad=0
while read -r dll; do
  lower=$(tr 'A-Z' 'a-z' <<<"$dll")
  if [[ ! "$lower" =~ $allowed ]]; then echo "unexpected DLL import: $dll"; bad=1; fi
done < <(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
size=$(stat -c %s "$exe")
echo "size: $size bytes"
exit $bad
