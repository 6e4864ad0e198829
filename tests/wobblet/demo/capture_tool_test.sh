#!/usr/bin/env bash
# wobblet-capture from the outside: its files, their numbering and sizes, and
# its answers to bad command lines.
set -u
capture="$1"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Width and height from a PNG's IHDR, as "W H".
png_size() {
    local bytes
    bytes=$(od -An -tu1 -j16 -N8 "$1" | tr -s ' ')
    set -- $bytes
    echo "$(( ($1 << 24) + ($2 << 16) + ($3 << 8) + $4 )) $(( ($5 << 24) + ($6 << 16) + ($7 << 8) + $8 ))"
}

"$capture" --frames 5 --every 2 --out "$tmp/new/dir" >"$tmp/out" 2>"$tmp/err" \
    || fail "capture failed: $(cat "$tmp/err")"
for f in frame_0002.png frame_0004.png background.png; do
    [ -f "$tmp/new/dir/$f" ] || fail "$f not written"
    [ "$(png_size "$tmp/new/dir/$f")" = "800 600" ] || fail "$f is not 800 x 600"
done
for f in frame_0001.png frame_0003.png frame_0005.png frame_0006.png; do
    [ ! -e "$tmp/new/dir/$f" ] || fail "$f written though not asked for"
done
grep -q "5 frames" "$tmp/out" || fail "no summary: $(cat "$tmp/out")"

# Bad lines: status 2, the reason and the usage on standard error, no files.
for args in "" "--frames 0 --out $tmp/a" "--frames 3" "--frames x --out $tmp/a" \
            "--frames 3 --out $tmp/a --bogus"; do
    # shellcheck disable=SC2086
    "$capture" $args >/dev/null 2>"$tmp/err"
    status=$?
    [ "$status" -eq 2 ] || fail "'$args' gave status $status"
    grep -q "usage: wobblet-capture" "$tmp/err" || fail "'$args' printed no usage"
    [ ! -e "$tmp/a" ] || fail "'$args' created its directory"
done

# An output path that is a file: status 1 and a message.
touch "$tmp/file"
"$capture" --frames 1 --out "$tmp/file" >/dev/null 2>"$tmp/err"
status=$?
[ "$status" -eq 1 ] || fail "a file as output directory gave status $status"
grep -q "cannot create the directory" "$tmp/err" || fail "no message: $(cat "$tmp/err")"
echo "capture tool: ok"
