#!/bin/sh
# Checks that each given program can start on Windows XP SP3: it imports no
# function of the list (one name a line, # comments), and its PE header asks
# for no newer Windows than 5.1 as OS and as subsystem version.
# Usage: xp-imports.sh <objdump> <list> <program.exe>...
objdump="$1"
list="$2"
shift 2
failed=0
for program in "$@"; do
    header=$("$objdump" -p "$program") || { echo "FAIL $program: objdump cannot read it"; failed=1; continue; }
    # The import table lists one function a line after its DLL's name:
    # "<address> <hint> <name>", or in newer binutils "<address> <ordinal
    # or <none>> <hint in hex> <name>".
    imports=$(printf '%s\n' "$header" | awk '
        /DLL Name:/ { dll = $3; next }
        dll == "" || $1 !~ /^[0-9a-f]+$/ { next }
        NF == 3 && $2 ~ /^[0-9]+$/ { print dll ":" $3 }
        NF == 4 && $3 ~ /^[0-9a-f]+$/ && $2 ~ /^([0-9]+|<none>)$/ { print dll ":" $4 }')
    # A parse that finds nothing would pass every program: the C runtime
    # alone always imports from KERNEL32.
    if ! printf '%s\n' "$imports" | grep -qi '^KERNEL32.dll:'; then
        echo "FAIL $program: no KERNEL32 imports found in objdump's listing"
        failed=1
        continue
    fi
    newer=$(printf '%s\n' "$imports" |
        awk -F: 'NR == FNR { if ($0 !~ /^#/ && $0 != "") lacking[$0] = 1; next } $2 in lacking' "$list" -)
    if [ -n "$newer" ]; then
        echo "FAIL $program imports what Windows XP lacks:"
        printf '  %s\n' $newer
        failed=1
    fi
    for kind in OSystem Subsystem; do
        major=$(printf '%s\n' "$header" | awk -v k="Major${kind}Version" '$1 == k { print $2 }')
        minor=$(printf '%s\n' "$header" | awk -v k="Minor${kind}Version" '$1 == k { print $2 }')
        if [ -z "$major" ] || [ -z "$minor" ]; then
            echo "FAIL $program: no $kind version in the header"
            failed=1
        elif [ "$major" -gt 5 ] || { [ "$major" -eq 5 ] && [ "$minor" -gt 1 ]; }; then
            echo "FAIL $program: $kind version $major.$minor; Windows XP needs 5.1 or lower"
            failed=1
        fi
    done
    count=$(printf '%s\n' "$imports" | wc -l)
    echo "$program: $count imported functions"
done
exit $failed
