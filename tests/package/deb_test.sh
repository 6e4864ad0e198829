#!/usr/bin/env bash
# The Debian package: what it holds and depends on, and lintian's verdict.
# Every lintian warning left is listed here with its reason; any other
# warning or error fails.
# Usage: deb_test.sh BUILD_DIR
set -u
build=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in cpack lintian dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# initial-upload-closes-no-bugs: the package is not uploaded to Debian, so
# there is no request-for-packaging bug for its first changelog entry.
accepted="initial-upload-closes-no-bugs"

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp" >"$tmp/cpack.log" 2>&1 \
    || fail "cpack failed: $(cat "$tmp/cpack.log")"
deb=$(ls "$tmp"/*.deb) || fail "cpack wrote no .deb"

programs=$(dpkg-deb -c "$deb" | awk '$6 ~ /^\.\/usr\/bin\/./ {print $6}' | sort | tr '\n' ' ')
[ "$programs" = "./usr/bin/velmora ./usr/bin/velmora-capture ./usr/bin/wobblet ./usr/bin/wobblet-capture " ] \
    || fail "usr/bin holds $programs"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libsdl2 libpng16 libegl1 libwebp; do
    [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

lintian --no-tag-display-limit "$deb" >"$tmp/lintian.log" 2>&1
unexpected=$(grep -E '^[EW]: ' "$tmp/lintian.log" | grep -vE ": ($accepted)( |$)")
[ -z "$unexpected" ] || fail "lintian: $unexpected"
echo "$(basename "$deb"): $(grep -cE '^[EW]: ' "$tmp/lintian.log") known lintian warnings, Depends: $depends"
