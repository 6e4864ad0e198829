#!/usr/bin/env bash
# Runs one Windows program under Wine on a virtual display of its own (Xvfb
# with openbox) and exits with its status; 77 when a tool is missing.
# Usage: wine-in-x.sh PREFIX PROGRAM [ARGS...]
set -u
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/scripts/lib/x-session.sh"
source "$root/tests/wobblet/wine-prefix.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
require_tools wine wineserver wineboot Xvfb openbox xprop
prefix=$1
shift
tmp=$(mktemp -d)
pids=()
trap 'end_wine_processes; end_x_session_processes; rm -rf "$tmp"' EXIT
use_wine_prefix "$prefix"
start_x_session "$tmp"
wine "$@"
