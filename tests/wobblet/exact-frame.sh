#!/usr/bin/env bash
# Says which captured frame a screenshot of wobblet's client area equals, pixel
# for pixel. A correct run at any moment shows one of the captured frames (the
# picture repeats every 360 frames), so an exact match is the test: no
# tolerance, no colour counting.
#
# Usage: exact-frame.sh SHOT FRAMES_DIR [FIRST LAST]
#   SHOT        the screenshot, any format ImageMagick reads (alpha is ignored)
#   FRAMES_DIR  wobblet-capture's output (frame_0001.png, ...)
#   FIRST LAST  the frames that count (default 16 375: from the first frame
#               whose strips are all filled, one full turn)
# Prints "frame N" and exits 0 on a match; says what it saw and exits 1 when
# none matches, 2 when it cannot look. The frames' signatures are kept in
# FRAMES_DIR/signatures_FIRST-LAST.txt, so later calls are fast.
set -u
shot=$1
frames=$2
first=${3:-16}
last=${4:-375}

for tool in convert identify; do
    command -v "$tool" >/dev/null 2>&1 || { echo "exact-frame: $tool is not installed" >&2; exit 2; }
done
[ -r "$shot" ] || { echo "exact-frame: cannot read $shot" >&2; exit 2; }

# ImageMagick's signature is a hash of the pixel values, whatever the file's
# encoding; grey and colour storage of the same pixels hash alike.
signatures="$frames/signatures_$first-$last.txt"
if [ ! -s "$signatures" ]; then
    files=()
    for ((n = first; n <= last; n++)); do
        file=$(printf '%s/frame_%04d.png' "$frames" "$n")
        [ -r "$file" ] || { echo "exact-frame: no captured frame $file" >&2; exit 2; }
        files+=("$file")
    done
    identify -format '%# %f\n' "${files[@]}" >"$signatures.tmp" && mv "$signatures.tmp" "$signatures" \
        || { echo "exact-frame: cannot read the captured frames" >&2; exit 2; }
fi

normal=$(mktemp --suffix=.png)
trap 'rm -f "$normal"' EXIT
convert "$shot" -alpha off -depth 8 -type TrueColor "PNG24:$normal" 2>/dev/null \
    || { echo "exact-frame: cannot convert $shot" >&2; exit 2; }
size=$(identify -format '%wx%h' "$normal")
signature=$(identify -format '%#' "$normal")
match=$(awk -v s="$signature" -v first="$first" -v last="$last" '
    $1 == s { n = $2; gsub(/[^0-9]/, "", n); n += 0; if (n >= first && n <= last) { print n; exit } }' \
    "$signatures")
if [ -n "$match" ]; then
    echo "frame $match"
    exit 0
fi
echo "exact-frame: the $size screenshot equals none of frames $first-$last" >&2
exit 1
