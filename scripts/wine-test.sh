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
xvfb-run -a -s "-screen 0 $((1024 * dpi / 96))x$((768 * dpi / 96))x24" bash -c '
  "$0" "$@"; rc=$?
  "'"$WINESERVER_BIN"'" -k 2>/dev/null
  exit $rc' "$WINE_BIN" "$@"
