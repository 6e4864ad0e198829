#!/bin/sh
# wine-run takes a test program's status from Wine, except where Wine itself
# died of SIGSEGV after the program's report said every test passed. Checked
# with a stand-in for Wine, which writes the report it is told to and ends
# the way it is told to.
# Usage: wine-run-test.sh <wine-run.in>
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/prefix"
touch "$work/prefix/.made"
# No server is running, and none is started: wine-run then starts no services.
printf '#!/bin/sh\nexit 1\n' >"$work/bin/wineserver"
cat >"$work/bin/fake-wine" <<'FAKE'
#!/bin/sh
report=${GTEST_OUTPUT#xml:Z:}
[ "$1" = none ] || echo "<testsuites tests=\"2\" failures=\"$1\" disabled=\"0\" errors=\"0\">" >"$report"
[ "$2" = segv ] && kill -SEGV $$
exit "$2"
FAKE
chmod +x "$work/bin/wineserver" "$work/bin/fake-wine"
sed "s|@CUBES_WINE@|$work/bin/fake-wine|g; s|@CUBES_WINE_PREFIX@|$work/prefix|g" "$1" >"$work/wine-run"
failed=0
expect() {
    PATH="$work/bin:$PATH" sh "$work/wine-run" "$2" "$3" 2>/dev/null
    status=$?
    [ "$status" -eq "$1" ] || { echo "FAIL: failures=$2, end $3: status $status, expected $1"; failed=1; }
}
expect 0 0 segv    # every test passed, then Wine crashed at exit
expect 139 1 segv  # a test failed
expect 139 none segv  # no report: not a test program, or it died before writing one
expect 5 0 5       # a Windows exception's status is kept
expect 1 1 1
expect 0 0 0
exit $failed
