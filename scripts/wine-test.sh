#!/usr/bin/env bash
# Runs one Windows program under wine64 inside its own Xvfb, in PREFIX, and exits with
# the program's exit code. Ends only this prefix's wineserver.
# Usage: wine-test.sh [--dpi N] PREFIX PROGRAM.exe [ARGS...]
#   --dpi N  run at display scale N (the prefix is made with that LogPixels; give each
#            scale a prefix of its own)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dpi=96
if [ "${1:-}" = --dpi ]; then dpi="$2"; shift 2; fi
prefix=$(realpath -m "$1"); shift
"$here/wine-prefix.sh" "$prefix" "$dpi" || exit 1
source "$here/wine-env.sh" "$prefix"

# Xvfb picks its own display number (-displayfd): tests of other prefixes start theirs
# at the same moment, and choosing a free number from the lock files races with them.
tmp=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 "$((1024 * dpi / 96))x$((768 * dpi / 96))x24" -nolisten tcp \
  3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$tmp"' EXIT
until [ "$(wc -l <"$tmp/display")" -ge 1 ]; do
  if ! kill -0 $xvfb 2>/dev/null; then
    echo "wine-test: Xvfb did not start:" >&2; cat "$tmp/xvfb.log" >&2; exit 1
  fi
  sleep 0.05
done
export DISPLAY=":$(head -n1 "$tmp/display")"

# A server of this prefix left over or still ending (the previous test's) would take the
# new program down with it: end it first (-k returns once it is gone).
"$WINESERVER_BIN" -k 2>/dev/null
start=$SECONDS
"$WINE_BIN" "$@"; rc=$?
"$WINESERVER_BIN" -k 2>/dev/null
if [ $rc -ne 0 ]; then
  echo "wine-test: $(basename "$1") ended with $rc after $((SECONDS - start)) s" >&2
fi
exit $rc
