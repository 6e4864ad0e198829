#!/usr/bin/env bash
# The Windows zip: unpacked into a fresh folder it holds the four programs,
# README.txt and LICENSE.txt; wobblet-capture.exe runs from there under Wine
# and writes the Linux build's frames; each program carries a version
# resource with the project's version.
# Usage: windows_zip_test.sh BUILD_DIR WINE_RUN LINUX_WOBBLET_CAPTURE VERSION
set -u
build=$1
wine_run=$2
capture_linux=$3
version=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in cpack unzip wrestool iconv; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
if [ ! -x "$capture_linux" ]; then
    echo "SKIP: no Linux wobblet-capture at $capture_linux (build the default preset first)"
    exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$tmp/cpack" >"$tmp/cpack.log" 2>&1 \
    || fail "cpack failed: $(cat "$tmp/cpack.log")"
zip=$(ls "$tmp"/cpack/*.zip) || fail "cpack wrote no zip"
unzip -q "$zip" -d "$tmp/unpacked" || fail "cannot unzip $zip"
folder=$(ls -d "$tmp"/unpacked/*/) || fail "the zip has no top folder"
names=$(cd "$folder" && ls | tr '\n' ' ')
[ "$names" = "LICENSE.txt README.txt velmora-capture.exe velmora.exe wobblet-capture.exe wobblet.exe " ] \
    || fail "the zip holds $names"

"$capture_linux" --frames 40 --every 20 --out "$tmp/linux" >/dev/null || fail "the Linux capture failed"
(cd "$folder" && "$wine_run" ./wobblet-capture.exe --frames 40 --every 20 --out "Z:$tmp/windows") \
    >/dev/null 2>"$tmp/err" || fail "the unpacked wobblet-capture.exe failed: $(cat "$tmp/err")"
differing=$(diff -rq "$tmp/linux" "$tmp/windows") || fail "pictures differ: $differing"
[ "$(ls "$tmp/windows" | wc -l)" -eq 3 ] || fail "wobblet-capture.exe wrote $(ls "$tmp/windows")"

# The version resource's strings, one a line: each name, then its value.
strings_of() {
    wrestool -x --raw --type=16 "$1" | iconv -f utf-16le -t utf-8 -c | tr -c '[:print:]' '\n' |
        grep -E '..'
}
value() { awk -v key="$1" 'found { print; exit } $0 == key { found = 1 }'; }
for exe in velmora wobblet velmora-capture wobblet-capture; do
    strings_of "$folder/$exe.exe" >"$tmp/$exe.txt" || fail "$exe.exe has no version resource"
    for key in FileVersion ProductVersion; do
        got=$(value "$key" <"$tmp/$exe.txt")
        [ "$got" = "$version" ] || fail "$exe.exe: $key is \"$got\", not $version"
    done
    [ "$(value ProductName <"$tmp/$exe.txt")" = "velmora and wobblet" ] || fail "$exe.exe: ProductName"
    [[ "$(value FileDescription <"$tmp/$exe.txt")" == "$exe, "* ]] || fail "$exe.exe: FileDescription"
    [[ "$(value LegalCopyright <"$tmp/$exe.txt")" == *"The velmora and wobblet authors"* ]] \
        || fail "$exe.exe: LegalCopyright"
done
echo "$(basename "$zip"): unpacked, the Linux frames under Wine, version $version in each program"
