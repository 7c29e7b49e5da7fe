#!/usr/bin/env bash
# Builds the Windows benches (bench/win: the frame, the scroll bars, the menu bar) and runs
# them one after another under Wine inside Xvfb, with the prefix the program runs in (the
# virtual desktop, so Wine leaves the frame to us). Prints the figures; nothing is
# asserted. Takes about a minute after the build.
# Environment: KV_BUILD_DIR (default build/win64).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/install-deps.sh"
build="${KV_BUILD_DIR:-$root/build/win64}"
build=$(realpath -m "$build")
cmake --preset win64 -B "$build" >/dev/null
cmake --build "$build" --target frame_bench scroll_bench menu_bench

prefix="$build/bench-wineprefix"
"$root/scripts/wine-prefix.sh" "$prefix"
source "$root/scripts/wine-env.sh" "$prefix"
xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
  rc=0
  for bench in frame_bench scroll_bench menu_bench; do
    echo "== $bench"
    "$0" "$1/bench/win/$bench.exe" || rc=$?
  done
  "'"$WINESERVER_BIN"'" -k 2>/dev/null
  exit $rc' "$WINE_BIN" "$build"
